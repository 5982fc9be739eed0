#include "remote/remote_server.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QUrlQuery>
#include <QWebSocket>

#include "remote/access_token.h"
#include "remote/remote_state.h"

namespace remote {
namespace {

constexpr int kPortsTried = 20;

struct PageFile {
    const char* path;
    const char* resource;
    const char* type;
};
constexpr PageFile kPageFiles[] = {
    {"/", ":/remote/index.html", "text/html; charset=utf-8"},
    {"/remote.css", ":/remote/remote.css", "text/css; charset=utf-8"},
    {"/remote.js", ":/remote/remote.js", "text/javascript; charset=utf-8"},
    {"/controls.js", ":/remote/controls.js", "text/javascript; charset=utf-8"},
    {"/graph.js", ":/remote/graph.js", "text/javascript; charset=utf-8"},
    {"/manifest.webmanifest", ":/remote/manifest.webmanifest", "application/manifest+json"},
    {"/icon.svg", ":/remote/icon.svg", "image/svg+xml"},
    {"/icon-192.png", ":/remote/icon-192.png", "image/png"},
    {"/icon-512.png", ":/remote/icon-512.png", "image/png"},
};

bool IsUpgrade(const QHttpServerRequest& request) {
    return request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

QByteArray CompactJson(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

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
        QHttpServerResponder responder = makeResponder(request, socket);
        server_.serveHttp(request, responder);
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
    : QObject(parent), target_(target), tables_(QString::fromUtf8(CompactJson(TablesMessage()))) {
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
    for (int i = 0; i < tries; ++i) {
        auto* listener = new QTcpServer(front.get());
        if (listener->listen(address, static_cast<quint16>(first + i))) {
            front->bind(listener);
            port_ = listener->serverPort();
            address_ = address;
            token_ = NewAccessToken();
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
    std::map<int, Client> leaving;
    leaving.swap(clients_);
    for (auto& [id, client] : leaving) {
        client.socket->disconnect(this);
        client.socket->abort();
        target_.forgetClient(id);
    }
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

void RemoteServer::refuse() {
    ++refused_;
    emit countsChanged();
}

bool RemoteServer::admitsWebSocket(const QHttpServerRequest& request) {
    if (TokenMatches(request.query().queryItemValue(QStringLiteral("token")), token_)) return true;
    refuse();
    return false;
}

void RemoteServer::serveHttp(const QHttpServerRequest& request, QHttpServerResponder& responder) {
    const QString given = request.query().queryItemValue(QStringLiteral("token"));
    if (!TokenMatches(given, token_)) {
        refuse();
        responder.write(QByteArrayLiteral("A page address with its token is needed.\n"), "text/plain",
                        QHttpServerResponder::StatusCode::Unauthorized);
        return;
    }
    const QString path = request.url().path();
    for (const PageFile& file : kPageFiles) {
        if (path != QLatin1String(file.path) && !(path == QLatin1String("/index.html") && file.path[1] == '\0'))
            continue;
        QFile resource(QString::fromLatin1(file.resource));
        if (!resource.open(QIODevice::ReadOnly)) break;
        QByteArray body = resource.readAll();
        // The page asks for its style, script and socket with the token it
        // came with; it is hexadecimal, so nothing in it needs escaping.
        body.replace("@TOKEN@", token_.toLatin1());
        responder.writeStatusLine(QHttpServerResponder::StatusCode::Ok);
        responder.writeHeader("Content-Type", file.type);
        responder.writeHeader("Content-Length", QByteArray::number(body.size()));
        responder.writeHeader("Cache-Control", "no-store");
        responder.writeHeader("X-Content-Type-Options", "nosniff");
        responder.writeHeader("Referrer-Policy", "no-referrer");
        responder.writeHeader("Content-Security-Policy",
                              "default-src 'self'; img-src 'self' data:; connect-src 'self'; frame-ancestors 'none'");
        responder.writeBody(body.constData(), body.size());
        return;
    }
    responder.write(QHttpServerResponder::StatusCode::NotFound);
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
        const int id = nextClient_++;
        socket->setMaxAllowedIncomingMessageSize(static_cast<quint64>(4) * kMaxMessageBytes);
        QWebSocket* raw = socket.get();
        connect(raw, &QWebSocket::textMessageReceived, this, [this, id](const QString& text) { onMessage(id, text); });
        connect(raw, &QWebSocket::binaryMessageReceived, this,
                [this, id](const QByteArray&) { send(id, ErrorMessage(QStringLiteral("Not a JSON object"))); });
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

void RemoteServer::onMessage(int id, const QString& text) {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    Client& client = found->second;
    // The allowance grows with time up to the burst; each message spends one.
    client.allowance = std::min(limits_.burst, client.allowance + static_cast<double>(client.since.restart()) *
                                                                      limits_.messagesPerSecond / 1000.0);
    if (client.allowance < 1) {
        send(id, ErrorMessage(QStringLiteral("Too many requests: wait a moment")));
        return;
    }
    client.allowance -= 1;
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
