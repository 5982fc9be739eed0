#include "app/offline_link_end.h"

#include <QTimer>

namespace app {

void OfflineLinkEnd::linkLost(const std::string& message) {
    // The banner first: it stays once the box is closed, and shows behind it.
    if (onLost_) onLost_();
    // The box opens from the event loop, not here: here is inside the
    // exchange that found the loss, and a modal box would hold the transfer
    // around it (and take the keys typed meanwhile) until it is closed.
    QTimer::singleShot(0, &context_, [this, message] {
        const bool timeOut = message == devlink::kTimeOutMessage;
        // "Time out" stands as the device says it; the title carries the rest.
        dialogs_.inform(QString::fromStdString(message),
                        timeOut ? QStringLiteral("Time out") : QStringLiteral("QRN4480"), ui::Icon::Exclamation);
    });
}

}  // namespace app
