#pragma once
// What every command works with: the link, the console, the environment, and
// the way to reach the device, which a command calls only once its own
// arguments and files are known to be good.
#include <functional>
#include <string>

#include "cli/cli_environment.h"
#include "cli/console.h"
#include "devlink/device_link.h"
#include "devlink/task.h"

namespace cli {

// The device went away: keeps the link's words for the exit message.
class CliLinkEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string& message) override { message_ = message; }
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

struct CommandContext {
    devlink::DeviceLink& link;
    Console& console;
    CliEnvironment& env;
    CliLinkEnd& end;
    // Opens the port and finds the device there; Done, or the status to end with.
    std::function<devlink::Task<ExitStatus>()> connect;

    // The exit of a command whose device stopped answering.
    ExitStatus lost() const {
        return console.fail(ExitStatus::NoDevice,
                            QString::fromStdString(end.message().empty() ? devlink::kTimeOutMessage : end.message()));
    }
};

}  // namespace cli
