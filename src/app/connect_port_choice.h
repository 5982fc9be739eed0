#pragma once
// Device > Connect... asks where the device is: a search of every port,
// one of the ports that exist on this machine, or a port the user types (a
// device path, or tcp://host:port for a serial device server).
#include <optional>
#include <string>

#include "devlink/port_table.h"
#include "ui/user_dialogs.h"

namespace app {

inline constexpr char kSearchEveryPort[] = "Search every port";

struct ConnectChoice {
    int port = 0;       // 0 for a search of every port, else a port of the table
    std::string typed;  // else the port the user typed, which the table does not name
    bool operator==(const ConnectChoice&) const = default;
};

// Nothing when the user cancelled or typed nothing.
std::optional<ConnectChoice> AskConnectPort(const devlink::PortTable& ports, ui::UserDialogs& dialogs,
                                            QWidget* parent);

// "port 5 (/dev/ttyUSB0)", as the connection status names a port.
QString PortWhere(int port, const devlink::PortTable& ports);

// A network port cannot be seen from here without connecting: it counts as
// existing.
bool PortExistsHere(const std::string& name);

}  // namespace app
