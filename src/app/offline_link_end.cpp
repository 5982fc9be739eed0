#include "app/offline_link_end.h"

namespace app {

void OfflineLinkEnd::linkLost(const std::string& message) {
    // The banner first: it stays once the box is closed, and shows behind it.
    if (onLost_) onLost_();
    const bool timeOut = message == devlink::kTimeOutMessage;
    // "Time out" stands as the device says it; the title carries the rest.
    dialogs_.inform(QString::fromStdString(message), timeOut ? QStringLiteral("Time out") : QStringLiteral("QRN4480"),
                    ui::Icon::Exclamation);
}

}  // namespace app
