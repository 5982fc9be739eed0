#pragma once
// The connection's state in the words the editor's status bar and every
// remote page show: "Demo mode", "Connected: port 1 (/dev/ttyUSB0)",
// "Offline: port 1 (/dev/ttyUSB0) not answering, reconnecting".
#include <QString>

#include "devlink/device_link.h"

namespace connection {

// How often a device that stopped answering is tried again, by the editor
// and by `qrn4480 serve`.
inline constexpr int kReconnectEveryMs = 2000;

inline QString ConnectionStatusText(const devlink::DeviceLink& link) {
    const QString where = QString::fromStdString(link.portDescription());
    if (link.flags().demoMode) return QStringLiteral("Demo mode");
    if (link.lost()) return "Offline: " + where + " not answering, reconnecting";
    return "Connected: " + where;
}

}  // namespace connection
