#pragma once
// Reaching the device: the port named by --port, or the editor's way (its
// remembered port first, then ports 1 to 35), each asked with the probe.
#include <optional>
#include <string>

#include "cli/command_context.h"
#include "cli/invocation.h"

namespace cli {

// The table the link uses and the port to open: --port N picks a number of
// the table, a path or tcp:// address becomes port 1. Nothing: search.
struct PortChoice {
    devlink::PortTable table;
    std::optional<int> portNumber;
};
PortChoice ChoosePort(const GlobalOptions& options, devlink::PortTable table);

// Done with the device answering on an open port, else NoDevice with the
// reason said.
devlink::Task<ExitStatus> ConnectDevice(CommandContext& context, std::optional<int> portNumber);

// Why a port would not open, in words; `portSays` is the port's own reason
// (a network port's "connection refused"), which names it best there.
QString OpenFailureText(int portNumber, const std::string& portName, devlink::PortFault fault,
                        const std::string& portSays = {});

}  // namespace cli
