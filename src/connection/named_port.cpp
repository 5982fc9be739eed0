#include "connection/named_port.h"

#include <QFileInfo>

#include "devlink/port_table.h"

namespace connection {

std::string NamedPortPath(const QString& given) {
    const QFileInfo file(given);
    const bool local = !devlink::IsNetworkPortName(given.toStdString()) && file.exists();
    return (local ? file.absoluteFilePath() : given).toStdString();
}

}  // namespace connection
