#include "app/connect_port_choice.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace app {
namespace {

// A network port cannot be seen from here without connecting: it is listed.
bool PortExists(const std::string& name) {
    return devlink::IsNetworkPortName(name) || QFileInfo::exists(QString::fromStdString(name));
}

}  // namespace

QString PortWhere(int port, const devlink::PortTable& ports) {
    return QStringLiteral("port %1 (%2)").arg(port).arg(QString::fromStdString(ports.name(port).value_or("")));
}

std::optional<int> AskConnectPort(const devlink::PortTable& ports, ui::UserDialogs& dialogs, QWidget* parent) {
    QStringList choices{kSearchEveryPort};
    std::vector<int> numbers{0};
    for (int port = devlink::kFirstPort; port <= devlink::kLastPort; ++port) {
        const std::optional<std::string> name = ports.name(port);
        if (!name || !PortExists(*name)) continue;
        QString where = PortWhere(port, ports);
        where[0] = where[0].toUpper();
        choices << where;
        numbers.push_back(port);
    }
    const std::optional<QString> picked =
        dialogs.askText({"Connect", "Where is the device?", QString(kSearchEveryPort), choices}, parent);
    if (!picked) return std::nullopt;
    return numbers.at(static_cast<std::size_t>(std::max(0, static_cast<int>(choices.indexOf(*picked)))));
}

}  // namespace app
