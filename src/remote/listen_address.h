#pragma once
// "[ADDRESS:]PORT" as --remote and --listen take it: where the remote
// server listens. No address: every address of the machine.
#include <QHostAddress>
#include <QString>
#include <optional>

namespace remote {

struct ListenAddress {
    QHostAddress address = QHostAddress(QHostAddress::AnyIPv4);
    quint16 port = 0;  // 0: the usual port, or the next free one
};

// Nothing, with why, for a word that is not an IPv4 address and a port 1..65535.
std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* why);

}  // namespace remote
