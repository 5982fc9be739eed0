#include "app/offline_link_end.h"

namespace app {

void OfflineLinkEnd::linkLost(const std::string& message) {
    const bool timeOut = message == devlink::kTimeOutMessage;
    // "Time out" stands as the device says it; the title carries the rest.
    dialogs_.inform(QString::fromStdString(message), timeOut ? QStringLiteral("Time out") : QStringLiteral("QRN4480"),
                    ui::Icon::Exclamation);
    if (onLost_) onLost_();
}

}  // namespace app
