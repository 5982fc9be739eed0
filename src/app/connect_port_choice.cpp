#include "app/connect_port_choice.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "connection/named_port.h"

namespace app {

bool PortExistsHere(const std::string& name) {
    return devlink::IsNetworkPortName(name) || QFileInfo::exists(QString::fromStdString(name));
}

QString PortWhere(int port, const devlink::PortTable& ports) {
    return QStringLiteral("port %1 (%2)").arg(port).arg(QString::fromStdString(ports.name(port).value_or("")));
}

std::optional<ConnectChoice> AskConnectPort(const devlink::PortTable& ports, ui::UserDialogs& dialogs,
                                            QWidget* parent) {
    QStringList choices{kSearchEveryPort};
    std::vector<int> numbers{0};
    for (int port = devlink::kFirstPort; port <= devlink::kLastPort; ++port) {
        const std::optional<std::string> name = ports.name(port);
        if (!name || !PortExistsHere(*name)) continue;
        QString where = PortWhere(port, ports);
        where[0] = where[0].toUpper();
        choices << where;
        numbers.push_back(port);
    }
    ui::TextPrompt prompt{"Connect",
                          "Where is the device?\nPick a port, or type a device path or tcp://host:port.",
                          QString(kSearchEveryPort), choices};
    prompt.typable = true;
    const std::optional<QString> picked = dialogs.askText(prompt, parent);
    if (!picked) return std::nullopt;
    const qsizetype listed = choices.indexOf(*picked);
    if (listed >= 0) return ConnectChoice{numbers.at(static_cast<std::size_t>(listed)), {}};
    const QString typed = picked->trimmed();
    if (typed.isEmpty()) return std::nullopt;
    const std::string path = connection::NamedPortPath(typed);
    for (int port = devlink::kFirstPort; port <= devlink::kLastPort; ++port)
        if (ports.name(port) == path) return ConnectChoice{port, {}};
    return ConnectChoice{0, path};
}

}  // namespace app
