#pragma once
// The device is gone for good: say why, then end the program at once. No
// further frame is sent and nothing waits on a device that will not answer.
#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace app {

class ExitingLinkEnd final : public devlink::LinkEnd {
public:
    explicit ExitingLinkEnd(ui::UserDialogs& dialogs) : dialogs_(dialogs) {}
    void linkLost(const std::string& message) override;

private:
    ui::UserDialogs& dialogs_;
};

}  // namespace app
