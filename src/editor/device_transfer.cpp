#include "editor/device_transfer.h"

#include <memory>

namespace editor {

bool RunTransfer(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what, std::function<void()> work,
                 std::function<void()> then) {
    // Held from the request on, so nothing else starts while the job waits
    // its turn; a job dropped unstarted (the editor ending) lets go too.
    std::shared_ptr<DeviceTransfer> transfer = DeviceTransfer::Hold(link, dialogs, what, false);
    if (!transfer) return false;
    link.jobs().run([transfer = std::move(transfer), work = std::move(work), then = std::move(then)]() mutable {
        work();
        transfer.reset();
        if (then) then();
    });
    return true;
}

std::unique_ptr<DeviceTransfer> DeviceTransfer::Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                                                      const char* what) {
    return Hold(link, dialogs, what, true);
}

std::unique_ptr<DeviceTransfer> DeviceTransfer::Hold(devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                                                     const char* what, bool stepBackIn) {
    auto hold = link.work().tryHold(what);
    if (!hold) {
        link.work().refuse();
        return nullptr;
    }
    return std::unique_ptr<DeviceTransfer>(new DeviceTransfer(
        stepBackIn ? link.jobs().stepBackIn() : devlink::JobRunner::Scope(), std::move(*hold), dialogs));
}

QString DeviceBusyText(const devlink::DeviceWork& work) { return QString::fromStdString(work.busyText()); }

bool RefusedWhileBusy(const devlink::DeviceLink& link) {
    if (!link.work().busy()) return false;
    link.work().refuse();
    return true;
}

}  // namespace editor
