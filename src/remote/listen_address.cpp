#include "remote/listen_address.h"

namespace remote {

std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* why) {
    ListenAddress out;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    const QString portText = colon < 0 ? text : text.mid(colon + 1);
    if (colon >= 0) {
        const QString host = text.left(colon);
        QHostAddress address;
        if (!address.setAddress(host) || address.protocol() != QAbstractSocket::IPv4Protocol) {
            if (why) *why = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
            return std::nullopt;
        }
        out.address = address;
    }
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        if (why) *why = QStringLiteral("\"%1\" is not a port 1..65535").arg(portText);
        return std::nullopt;
    }
    out.port = static_cast<quint16>(port);
    return out;
}

}  // namespace remote
