#include "remote/remote_server.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QNetworkInterface>
#include <QUrlQuery>
#include <QWebSocket>
#include <algorithm>

#include "remote/access_token.h"
#include "remote/guarded_socket.h"
#include "remote/page_files.h"
#include "remote/remote_state.h"

namespace remote {
namespace {

constexpr int kPortsTried = 20;
constexpr quint64 kMaxFrameBytes = quint64{4} * kMaxMessageBytes;

bool IsUpgrade(const QHttpServerRequest& request) {
    return request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

QByteArray CompactJson(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

// Listening on every address, the server is on each of the machine's
// (the list is read again each time: a laptop's address changes).
bool ListensOn(const QHostAddress& listening, const QHostAddress& address) {
    const QHostAddress::ConversionMode mode = QHostAddress::ConvertV4MappedToIPv4;
    if (listening != QHostAddress::AnyIPv4 && listening != QHostAddress::Any) return listening.isEqual(address, mode);
    if (listening == QHostAddress::AnyIPv4 && address.protocol() != QAbstractSocket::IPv4Protocol) return false;
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    return std::any_of(own.begin(), own.end(), [&](const QHostAddress& a) { return a.isEqual(address, mode); });
}

}  // namespace

class RemoteServer::Front final : public QAbstractHttpServer {
public:
    explicit Front(RemoteServer& server) : server_(server) {
        connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] { server_.takeWebSocket(); });
    }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        // True hands the socket over as a WebSocket; false answers 401
        // (missingHandler) and closes it.
        if (IsUpgrade(request)) {
            if (!server_.admitsWebSocket(request)) return false;
            // Small messages both ways: each goes out at once, not held
            // back to be joined with the next.
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            return true;
        }
        {
            QHttpServerResponder responder = makeResponder(request, socket);
            server_.serveHttp(request, responder);
        }
        // One request a connection: the guard sees every request first.
        socket->disconnectFromHost();
        return true;
    }
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override {
        makeResponder(request, socket)
            .write(IsUpgrade(request) ? QHttpServerResponder::StatusCode::Unauthorized
                                      : QHttpServerResponder::StatusCode::NotFound);
    }

private:
    RemoteServer& server_;
};

RemoteServer::RemoteServer(RemoteTarget& target, QObject* parent)
    : QObject(parent),
      target_(target),
      log_([this] { return running_.elapsed(); }, [](const QString& line) { qInfo("%s", qUtf8Printable(line)); }),
      tables_(QString::fromUtf8(CompactJson(TablesMessage()))) {
    running_.start();
    logTimer_.setSingleShot(true);
    connect(&logTimer_, &QTimer::timeout, this, [this] { log_.writeHeld(); });
    broadcastTimer_.setSingleShot(true);
    connect(&broadcastTimer_, &QTimer::timeout, this, &RemoteServer::broadcast);
    connect(&target_, &RemoteTarget::changed, this, [this] {
        if (!clients_.empty() && !broadcastTimer_.isActive()) broadcastTimer_.start(limits_.broadcastDelayMs);
    });
    connect(&target_, &RemoteTarget::question, this,
            [this](int client, int id, const QString& title, const QString& text) {
                send(client, AskMessage(id, title, text));
            });
    connect(&target_, &RemoteTarget::notice, this,
            [this](int client, const QString& text) { send(client, ErrorMessage(text)); });
}

RemoteServer::~RemoteServer() { stop(); }

bool RemoteServer::start(const QHostAddress& address, quint16 port, QString* error) {
    stop();
    auto front = std::make_unique<Front>(*this);
    const int tries = port == 0 ? kPortsTried : 1;
    const quint16 first = port == 0 ? kDefaultPort : port;
    const QString token = NewAccessToken();
    for (int i = 0; i < tries; ++i) {
        VettingRules rules;
        rules.token = token;
        rules.port = static_cast<quint16>(first + i);
        rules.listensOn = [address](const QHostAddress& a) { return ListensOn(address, a); };
        auto* listener = new ConnectionGuard(std::move(rules), connectionLimits_, front.get());
        if (listener->listen(address, static_cast<quint16>(first + i))) {
            connect(listener, &ConnectionGuard::refused, this, &RemoteServer::refuse);
            front->bind(listener);
            guard_ = listener;
            port_ = listener->serverPort();
            address_ = address;
            token_ = token;
            front_ = std::move(front);
            lastState_.clear();
            emit countsChanged();
            return true;
        }
        if (error) *error = listener->errorString();
        delete listener;
    }
    return false;
}

void RemoteServer::stop() {
    broadcastTimer_.stop();
    logTimer_.stop();
    log_.writeHeld(true);
    std::map<int, Client> leaving;
    leaving.swap(clients_);
    for (auto& [id, client] : leaving) {
        client.socket->disconnect(this);
        client.socket->abort();
        target_.forgetClient(id);
    }
    if (guard_) guard_->closeAll();
    guard_ = nullptr;
    front_.reset();
    token_.clear();
    port_ = 0;
    refused_ = 0;
    emit countsChanged();
}

QStringList RemoteServer::pageAddresses() const {
    if (!running()) return {};
    QList<QHostAddress> hosts;
    if (address_ == QHostAddress::Any || address_ == QHostAddress::AnyIPv4) {
        for (const QHostAddress& a : QNetworkInterface::allAddresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) hosts << a;
        if (hosts.isEmpty()) hosts << QHostAddress(QHostAddress::LocalHost);
    } else {
        hosts << address_;
    }
    QStringList out;
    for (const QHostAddress& h : hosts)
        out << QStringLiteral("http://%1:%2/?token=%3").arg(h.toString()).arg(port_).arg(token_);
    return out;
}

void RemoteServer::refuse(int status, const QString& what) {
    // "No such file" is an answer to a page, not a refusal.
    if (status != 404) {
        ++refused_;
        emit countsChanged();
    }
    log_.note(what);
    if (log_.heldFor() > 0 && !logTimer_.isActive()) logTimer_.start(static_cast<int>(log_.heldFor()));
}

bool RemoteServer::admitsWebSocket(const QHttpServerRequest& request) {
    if (TokenMatches(request.query().queryItemValue(QStringLiteral("token")), token_)) return true;
    refuse(401, QStringLiteral("401 from %1 (socket without the token)").arg(request.remoteAddress().toString()));
    return false;
}

void RemoteServer::serveHttp(const QHttpServerRequest& request, QHttpServerResponder& responder) {
    const QString given = request.query().queryItemValue(QStringLiteral("token"));
    if (!TokenMatches(given, token_)) {
        refuse(401, QStringLiteral("401 from %1 (no token)").arg(request.remoteAddress().toString()));
        responder.write(QByteArrayLiteral("A page address with its token is needed.\n"), "text/plain",
                        QHttpServerResponder::StatusCode::Unauthorized);
        return;
    }
    const PageFile* file = FindPageFile(request.url().path(QUrl::FullyEncoded).toLatin1());
    QFile resource(file ? QString::fromLatin1(file->resource) : QString());
    if (!file || !resource.open(QIODevice::ReadOnly)) {
        responder.write(QHttpServerResponder::StatusCode::NotFound);
        return;
    }
    QByteArray body = resource.readAll();
    // The page asks for its style, script and socket with the token it
    // came with; it is hexadecimal, so nothing in it needs escaping.
    body.replace("@TOKEN@", token_.toLatin1());
    responder.writeStatusLine(QHttpServerResponder::StatusCode::Ok);
    responder.writeHeader("Content-Type", file->type);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    responder.writeHeader("Content-Security-Policy",
                          "default-src 'self'; img-src 'self' data:; connect-src 'self'; frame-ancestors 'none'");
    responder.writeHeader("Connection", "close");
    // HEAD: what GET would say of the file, without the file.
    if (request.method() == QHttpServerRequest::Method::Head) body.clear();
    responder.writeBody(body.constData(), body.size());
}

void RemoteServer::takeWebSocket() {
    while (front_ && front_->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = front_->nextPendingWebSocketConnection();
        if (!socket) continue;
        const QUrlQuery query(socket->requestUrl());
        if (!TokenMatches(query.queryItemValue(QStringLiteral("token")), token_)) {
            socket->abort();
            socket.release()->deleteLater();
            continue;
        }
        GuardedSocket* line =
            guard_ ? guard_->takePage(socket->localAddress(), socket->peerAddress(), socket->peerPort()) : nullptr;
        if (!line) {
            socket->abort();
            socket.release()->deleteLater();
            continue;
        }
        const int id = nextClient_++;
        line->carryPage(limits_.maxQueuedBytes);
        socket->setMaxAllowedIncomingFrameSize(kMaxFrameBytes);
        socket->setMaxAllowedIncomingMessageSize(kMaxFrameBytes);
        QWebSocket* raw = socket.get();
        connect(raw, &QWebSocket::textFrameReceived, this, [this, id] { onFrame(id, true); });
        connect(raw, &QWebSocket::binaryFrameReceived, this, [this, id] { onFrame(id, true); });
        connect(raw, &QWebSocket::textMessageReceived, this,
                [this, id](const QString& text) { onMessage(id, text, false); });
        connect(raw, &QWebSocket::binaryMessageReceived, this, [this, id] { onMessage(id, {}, true); });
        // Both come from inside the socket's own reading and writing: the
        // page may only be dropped once that is over.
        connect(raw, &QWebSocket::pong, this, [this, id] { onFrame(id, false); }, Qt::QueuedConnection);
        connect(line, &GuardedSocket::pongSent, this, [this, id] { onFrame(id, false); }, Qt::QueuedConnection);
        connect(line, &GuardedSocket::queueFull, this, [this, id] { drop(id); }, Qt::QueuedConnection);
        connect(raw, &QWebSocket::disconnected, this, [this, id] { drop(id); });
        Client client;
        client.socket = std::move(socket);
        client.allowance = limits_.burst;
        client.since.start();
        clients_.emplace(id, std::move(client));
        sendText(id, tables_);
        sendText(id, QString::fromUtf8(CompactJson(target_.state())));
        emit countsChanged();
    }
}

bool RemoteServer::takeAllowance(Client& client) const {
    // The allowance grows with time up to the burst; each frame spends one.
    client.allowance = std::min(limits_.burst, client.allowance + static_cast<double>(client.since.restart()) *
                                                                      limits_.messagesPerSecond / 1000.0);
    if (client.allowance < 1) return false;
    client.allowance -= 1;
    return true;
}

void RemoteServer::onFrame(int id, bool ofMessage) {
    const auto found = clients_.find(id);
    if (found == clients_.end() || takeAllowance(found->second)) return;
    if (ofMessage) {
        found->second.overRate = true;  // told when the message is whole
        return;
    }
    // A ping or a pong carries nothing to refuse and tell: the page goes.
    drop(id);
}

void RemoteServer::onMessage(int id, const QString& text, bool binary) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    if (found->second.overRate) {
        found->second.overRate = false;
        send(id, ErrorMessage(QStringLiteral("Too many requests: wait a moment")));
        return;
    }
    if (binary) {
        send(id, ErrorMessage(QStringLiteral("Not a JSON object")));
        return;
    }
    const Parsed parsed = ParseRequest(text.toUtf8());
    if (!parsed.request) {
        send(id, ErrorMessage(parsed.error));
        return;
    }
    const QString refusal = target_.apply(*parsed.request, id);
    if (!refusal.isEmpty()) send(id, ErrorMessage(refusal));
}

void RemoteServer::send(int id, const QJsonObject& message) { sendText(id, QString::fromUtf8(CompactJson(message))); }

void RemoteServer::sendText(int id, const QString& text) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    QWebSocket* socket = found->second.socket.get();
    // A page that stopped reading is not waited for: its queue would grow
    // without end and hold every page's state in memory.
    if (socket->bytesToWrite() > limits_.maxQueuedBytes) {
        drop(id);
        return;
    }
    socket->sendTextMessage(text);
}

void RemoteServer::drop(int id) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    std::unique_ptr<QWebSocket> socket = std::move(found->second.socket);
    clients_.erase(found);
    // The last state sent is what every page shows; with none left, the
    // next page is sent the state of its own joining, whatever this was.
    if (clients_.empty()) lastState_.clear();
    socket->disconnect(this);
    socket->abort();
    socket.release()->deleteLater();
    target_.forgetClient(id);
    emit countsChanged();
}

void RemoteServer::broadcast() {
    const QString state = QString::fromUtf8(CompactJson(target_.state()));
    if (state == lastState_) return;
    lastState_ = state;
    std::vector<int> ids;
    ids.reserve(clients_.size());
    for (const auto& entry : clients_) ids.push_back(entry.first);
    for (const int id : ids) sendText(id, state);
}

}  // namespace remote
