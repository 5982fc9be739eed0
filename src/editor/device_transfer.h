#pragma once
// One transfer that nothing may interleave: holds the device for its life
// (every window locks what would talk to the device, and refuses what still
// arrives) and shows the busy pointer.
#include <QString>
#include <memory>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace editor {

class DeviceTransfer {
public:
    // Null when another transfer holds the device: the request is refused
    // (the main window says so) and nothing was sent. `what` goes on a
    // sentence: "storing a preset".
    static std::unique_ptr<DeviceTransfer> Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what);

    DeviceTransfer(devlink::DeviceWork::Hold hold, ui::UserDialogs& dialogs) : hold_(std::move(hold)), busy_(dialogs) {}

private:
    // Released after the pointer: input held back during the transfer is
    // delivered (and refused) while the device still counts as busy.
    devlink::DeviceWork::Hold hold_;
    ui::BusyPointer busy_;
};

// "The device is busy storing a preset. Try again when it has finished."
QString DeviceBusyText(const devlink::DeviceWork& work);

// True, and the request refused, while a transfer holds the device. The
// windows lock such requests; this catches the paths a lock cannot (an
// accessibility action setting a value, a file from the command line).
bool RefusedWhileBusy(const devlink::DeviceLink& link);

}  // namespace editor
