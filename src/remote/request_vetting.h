#pragma once
// The guard's rules for what may reach Qt's HTTP server, decided on the
// bytes of a request received so far: wait for more, let it through (a
// file of the page, or the page's WebSocket), or refuse it with a status.
// Without the token a request is refused as soon as its first line is
// in, before anything else of it is read.
#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QString>
#include <functional>

namespace remote {

inline constexpr int kMaxHeadBytes = 16 * 1024;

struct VettingRules {
    QString token;
    quint16 port = 0;
    // Whether the server listens on this address: a Host naming any other
    // is a name that was made to point here (DNS rebinding).
    std::function<bool(const QHostAddress&)> listensOn;
    int maxHeadBytes = kMaxHeadBytes;  // the request line and headers together
};

enum class Admission { Wait, File, Socket, Refuse };

struct Verdict {
    Admission admission = Admission::Wait;
    int status = 0;      // a refusal's
    QByteArray reason;   // a refusal's, for the log
    bool head = false;   // a HEAD request: its refusal has no body
};

Verdict VetRequest(QByteArrayView received, const VettingRules& rules);

// The whole answer of a refusal: status line, headers, a line of text
// (none for HEAD). The connection closes after it.
QByteArray RefusalResponse(int status, bool head);

}  // namespace remote
