#pragma once
// The guard in front of Qt's HTTP server. It takes every connection first,
// reads the request's head itself (peeking: Qt reads the same bytes again)
// and hands the connection on only for a request the server answers, one
// request a connection; everything else it answers with a refusal and
// closes. Qt 6.4's server keeps whatever a client sends for as long as
// the client likes, so the limits are all here: the head's size, the time
// to send it, the number of connections.
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <vector>

#include "remote/request_vetting.h"

class QTimer;

namespace remote {

class GuardedSocket;

struct ConnectionLimits {
    int maxHeadBytes = kMaxHeadBytes;  // request line and headers
    int requestMs = 10'000;            // from connecting to the whole request in
    int maxConnections = 32;           // beyond it the oldest idle one is closed
};

class ConnectionGuard final : public QTcpServer {
    Q_OBJECT
public:
    ConnectionGuard(VettingRules rules, const ConnectionLimits& limits, QObject* parent);
    ~ConnectionGuard() override;
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // The connection a page's new WebSocket runs on, found by its ends:
    // from now on it has no time limit and is never closed to make room.
    // Null when there is none.
    GuardedSocket* takePage(const QHostAddress& local, const QHostAddress& peer, quint16 peerPort);
    // Ends every connection, while the HTTP server behind still hears of it.
    void closeAll();
    int openConnections();

signals:
    // For the count and the log: 401, "401 from 192.168.1.7 (no token)".
    // Status 0: an idle connection closed to make room.
    void refused(int status, const QString& what);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    enum class Stage { Request, HandedOn, Page, Refused };
    // Qt's server disconnects every signal of a socket it hands to its
    // WebSocket, and deletes sockets of its own accord: a connection is
    // known by a guarded pointer, not by signals.
    struct Connection {
        QPointer<GuardedSocket> socket;
        Stage stage = Stage::Request;
        quint64 lastHeard = 0;  // a tick, not a time: the smallest is the oldest idle
        qint64 drained = 0;     // thrown away after its refusal
        QTimer* deadline = nullptr;
    };

    Connection* find(const GuardedSocket* socket);
    void prune();
    void onReadable(GuardedSocket* socket);
    void onDeadline(GuardedSocket* socket);
    void refuse(Connection& connection, const Verdict& verdict);
    void handOn(Connection& connection);
    bool makeRoom();
    void forget(GuardedSocket* socket);

    VettingRules rules_;
    ConnectionLimits limits_;
    std::vector<Connection> connections_;
    quint64 tick_ = 0;
};

}  // namespace remote
