#include "remote/connection_guard.h"

#include <QTimer>
#include <algorithm>
#include <limits>

#include "remote/guarded_socket.h"
#include "remote/socket_ends.h"

namespace remote {
namespace {

// After its refusal a client has this long, and this much it may still
// send (read and thrown away), before its connection is cut.
constexpr int kLingerMs = 1000;
constexpr qint64 kMaxDrainedBytes = qint64{64} * 1024;

QString Described(const QTcpSocket& socket, int status, const QByteArray& reason) {
    return QStringLiteral("%1 from %2 (%3)")
        .arg(status)
        .arg(socket.peerAddress().toString(), QString::fromLatin1(reason));
}

}  // namespace

ConnectionGuard::ConnectionGuard(VettingRules rules, const ConnectionLimits& limits, QObject* parent)
    : QTcpServer(parent), rules_(std::move(rules)), limits_(limits) {
    rules_.maxHeadBytes = limits_.maxHeadBytes;
}

ConnectionGuard::~ConnectionGuard() { closeAll(); }

void ConnectionGuard::incomingConnection(qintptr descriptor) {
    auto* socket = new GuardedSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        CloseUnadopted(descriptor);
        return;
    }
    if (!makeRoom()) {
        // Every place is a page's: the newcomer waits for none of them.
        emit refused(503, Described(*socket, 503, "every connection is a page's"));
        socket->write(RefusalResponse(503, false));
        socket->flush();
        socket->abort();
        socket->deleteLater();
        return;
    }
    Connection connection;
    connection.socket = socket;
    connection.lastHeard = ++tick_;
    connection.deadline = new QTimer(socket);
    connection.deadline->setSingleShot(true);
    connect(connection.deadline, &QTimer::timeout, this, [this, socket] { onDeadline(socket); });
    connection.deadline->start(limits_.requestMs);
    connections_.push_back(connection);
    // The head is all that is read before the request is let through.
    socket->setReadBufferSize(limits_.maxHeadBytes + 1);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
}

ConnectionGuard::Connection* ConnectionGuard::find(const GuardedSocket* socket) {
    const auto found = std::find_if(connections_.begin(), connections_.end(),
                                    [socket](const Connection& c) { return c.socket == socket; });
    return found == connections_.end() ? nullptr : &*found;
}

void ConnectionGuard::prune() {
    std::vector<GuardedSocket*> closed;
    for (const Connection& c : connections_)
        if (c.socket && c.socket->state() == QAbstractSocket::UnconnectedState) closed.push_back(c.socket);
    for (GuardedSocket* socket : closed) forget(socket);
    connections_.erase(std::remove_if(connections_.begin(), connections_.end(), [](const Connection& c) { return !c.socket; }),
                       connections_.end());
}

int ConnectionGuard::openConnections() {
    prune();
    return static_cast<int>(connections_.size());
}

bool ConnectionGuard::makeRoom() {
    if (openConnections() < limits_.maxConnections) return true;
    const Connection* oldest = nullptr;
    for (const Connection& c : connections_)
        if (c.stage != Stage::Page && (!oldest || c.lastHeard < oldest->lastHeard)) oldest = &c;
    if (!oldest) return false;
    GuardedSocket* socket = oldest->socket;
    if (oldest->stage != Stage::Refused)
        emit refused(0, QStringLiteral("an idle connection from %1 closed for a newer one")
                            .arg(socket->peerAddress().toString()));
    socket->abort();
    forget(socket);
    return true;
}

void ConnectionGuard::onReadable(GuardedSocket* socket) {
    Connection* connection = find(socket);
    if (!connection) return;
    if (connection->stage == Stage::Refused) {
        connection->drained += socket->skip(socket->bytesAvailable());
        if (connection->drained > kMaxDrainedBytes) {
            socket->abort();
            forget(socket);
        }
        return;
    }
    if (connection->stage != Stage::Request) return;
    connection->lastHeard = ++tick_;
    const Verdict verdict = VetRequest(socket->peek(limits_.maxHeadBytes + 1), rules_);
    if (verdict.admission == Admission::Refuse)
        refuse(*connection, verdict);
    else if (verdict.admission != Admission::Wait)
        handOn(*connection);
}

void ConnectionGuard::onDeadline(GuardedSocket* socket) {
    Connection* connection = find(socket);
    if (!connection || connection->stage == Stage::Page) return;
    if (connection->stage == Stage::Request) {
        // A browser opens connections ahead of its requests and leaves
        // some unused: one that sent nothing is closed without a word.
        if (socket->bytesAvailable() == 0) {
            socket->abort();
            forget(socket);
            return;
        }
        refuse(*connection, {Admission::Refuse, 408, "request not sent in time", false});
        return;
    }
    // Handed on past its time, or done lingering after its refusal.
    socket->abort();
    forget(socket);
}

void ConnectionGuard::refuse(Connection& connection, const Verdict& verdict) {
    GuardedSocket* socket = connection.socket;
    connection.stage = Stage::Refused;
    connection.deadline->start(kLingerMs);
    emit refused(verdict.status, Described(*socket, verdict.status, verdict.reason));
    socket->write(RefusalResponse(verdict.status, verdict.head));
    socket->flush();
    if (socket->bytesToWrite() == 0) {
        EndSending(*socket);
    } else {
        connect(socket, &QTcpSocket::bytesWritten, this, [socket] {
            if (socket->bytesToWrite() == 0) EndSending(*socket);
        });
    }
    connection.drained += socket->skip(socket->bytesAvailable());
}

void ConnectionGuard::handOn(Connection& connection) {
    connection.stage = Stage::HandedOn;
    GuardedSocket* socket = connection.socket;
    addPendingConnection(socket);
    // Qt's server reads on readyRead, and the request is waiting already.
    emit socket->readyRead();
}

GuardedSocket* ConnectionGuard::takePage(const QHostAddress& local, const QHostAddress& peer, quint16 peerPort) {
    for (Connection& c : connections_) {
        GuardedSocket* socket = c.socket;
        if (!socket || c.stage != Stage::HandedOn || socket->peerPort() != peerPort || socket->peerAddress() != peer ||
            socket->localAddress() != local)
            continue;
        c.stage = Stage::Page;
        c.deadline->stop();
        // Qt's WebSocket reads every frame as it comes and refuses one
        // past its limit: the head's limit is not for it.
        socket->setReadBufferSize(0);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
        return socket;
    }
    return nullptr;
}

void ConnectionGuard::closeAll() {
    std::vector<GuardedSocket*> open;
    for (const Connection& c : connections_)
        if (c.socket) open.push_back(c.socket);
    for (GuardedSocket* socket : open) {
        if (!find(socket)) continue;  // gone with another's end
        socket->abort();
        forget(socket);
    }
}

void ConnectionGuard::forget(GuardedSocket* socket) {
    const auto found = std::find_if(connections_.begin(), connections_.end(),
                                    [socket](const Connection& c) { return c.socket == socket; });
    if (found == connections_.end()) return;
    connections_.erase(found);
    socket->deleteLater();
}

}  // namespace remote
