#include "editor/device_transfer.h"

namespace editor {

std::unique_ptr<DeviceTransfer> DeviceTransfer::Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                                                      const char* what) {
    auto hold = link.work().tryHold(what);
    if (!hold) {
        link.work().refuse();
        return nullptr;
    }
    return std::make_unique<DeviceTransfer>(std::move(*hold), dialogs);
}

QString DeviceBusyText(const devlink::DeviceWork& work) {
    return QStringLiteral("The device is busy %1. Try again when it has finished.")
        .arg(QString::fromStdString(work.what()));
}

bool RefusedWhileBusy(const devlink::DeviceLink& link) {
    if (!link.work().busy()) return false;
    link.work().refuse();
    return true;
}

}  // namespace editor
