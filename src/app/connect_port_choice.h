#pragma once
// Device > Connect... asks where the device is: a search of every port, or
// one of the ports that exist on this machine.
#include <optional>

#include "devlink/port_table.h"
#include "ui/user_dialogs.h"

namespace app {

inline constexpr char kSearchEveryPort[] = "Search every port";

// 0 for a search of every port, else the port number; nothing when the
// user cancelled.
std::optional<int> AskConnectPort(const devlink::PortTable& ports, ui::UserDialogs& dialogs, QWidget* parent);

// "port 5 (/dev/ttyUSB0)", as the connection status names a port.
QString PortWhere(int port, const devlink::PortTable& ports);

}  // namespace app
