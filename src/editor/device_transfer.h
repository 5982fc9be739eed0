#pragma once
// One transfer that nothing may interleave, run as one job that holds the
// device: every window locks what would talk to the device, and refuses what
// still arrives, and the busy pointer shows, until its work has ended. The
// work (a task, made when the job starts) runs at once, or after an edit
// still waiting for its reply; either way the caller goes on at its first
// wait and must not count on it having ended.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace editor {

// False, and the request refused, when another transfer holds the device:
// nothing was sent. `what` goes on a sentence: "storing a preset". `then`
// runs from the event loop once the job is over, or was dropped unstarted
// (a cancel): the place to say what it came to, and to open a window or ask
// a question, which never happens inside the job.
bool RunTransfer(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what, devlink::JobRunner::Job work,
                 std::function<void()> then = {});

// A window's transfer (a store from the store window): RunTransfer, where
// `then` learns whether the work ran (false: dropped before it began), and
// neither runs once `window` (when one is given) is gone. A window whose
// transfer runs stays open until `then`: the job writes into it.
bool RunWindowTransfer(QObject* window, devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what,
                       devlink::JobRunner::Job work, std::function<void(bool ran)> then);

// The hold of RunTransfer for code that already runs inside a job (a
// start-up, a connect): held for its life, with the busy pointer.
class DeviceTransfer {
public:
    // Null, and the request refused, when another transfer holds the device.
    static std::unique_ptr<DeviceTransfer> Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what);

private:
    DeviceTransfer(devlink::DeviceWork::Hold hold, ui::UserDialogs& dialogs) : hold_(std::move(hold)), busy_(dialogs) {}

    devlink::DeviceWork::Hold hold_;
    ui::BusyPointer busy_;
};

// A question or message that device work awaits as it awaits the device:
// the box opens from the event loop, the job goes on with the answer, and
// the window keeps working meanwhile.
devlink::Task<ui::Answer> Asked(devlink::DeviceLink& link, ui::UserDialogs& dialogs, ui::Message message,
                                QWidget* parent = nullptr);

// "The device is busy storing a preset. Try again when it has finished."
QString DeviceBusyText(const devlink::DeviceWork& work);

// True, and the request refused, while a transfer holds the device. The
// windows lock such requests; this catches the paths a lock cannot (an
// accessibility action setting a value, a file from the command line).
bool RefusedWhileBusy(const devlink::DeviceLink& link);

}  // namespace editor
