#pragma once
// One transfer that nothing may interleave, run as one job that holds the
// device: every window locks what would talk to the device, and refuses what
// still arrives, and the busy pointer shows, until its work has ended. The
// work runs at once, or after an edit still waiting for its reply; either
// way the caller goes on at once and must not count on it having ended.
#include <QString>
#include <functional>
#include <memory>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace editor {

// False, and the request refused, when another transfer holds the device:
// nothing was sent. `what` goes on a sentence: "storing a preset". `then`
// runs once the device is free again (where to say what it came to).
bool RunTransfer(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what, std::function<void()> work,
                 std::function<void()> then = {});

// The hold of RunTransfer for code that already runs inside a job (a
// start-up, a connect), or in a window such a job opened (a store from the
// store window): held for its life, with the busy pointer, and the window's
// work is the job's own meanwhile.
class DeviceTransfer {
public:
    // Null, and the request refused, when another transfer holds the device.
    static std::unique_ptr<DeviceTransfer> Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what);

private:
    friend bool RunTransfer(devlink::DeviceLink&, ui::UserDialogs&, const char*, std::function<void()>,
                            std::function<void()>);
    static std::unique_ptr<DeviceTransfer> Hold(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what,
                                                bool stepBackIn);
    DeviceTransfer(devlink::JobRunner::Scope backIn, devlink::DeviceWork::Hold hold, ui::UserDialogs& dialogs)
        : backIn_(std::move(backIn)), hold_(std::move(hold)), busy_(dialogs) {}

    devlink::JobRunner::Scope backIn_;  // ends last, once the hold is let go
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
