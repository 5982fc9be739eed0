#pragma once
// The web remote: one HTTP server, behind its guard, that hands out the
// page (only to an address with the token) and takes the page's WebSocket,
// checks every message, passes it to the target and sends every page the
// state whenever it changes. Every page is a client with its own limits:
// frames per second (pings and pongs too), and bytes waiting to go out;
// one that falls behind is dropped, never waited for.
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <map>
#include <memory>

#include "remote/connection_guard.h"
#include "remote/refusal_log.h"
#include "remote/remote_target.h"

class QWebSocket;
class QTcpSocket;
class QHttpServerRequest;
class QHttpServerResponder;

namespace remote {

inline constexpr quint16 kDefaultPort = 8480;

struct ClientLimits {
    double messagesPerSecond = 20;       // frames, each of a message's and every ping and pong
    double burst = 40;                   // frames taken at once before the rate applies
    qint64 maxQueuedBytes = 512 * 1024;  // waiting to go out; beyond it the page is dropped
    int broadcastDelayMs = 5;            // changes closer than this go out as one state
};

class RemoteServer final : public QObject {
    Q_OBJECT
public:
    explicit RemoteServer(RemoteTarget& target, QObject* parent = nullptr);
    ~RemoteServer() override;
    RemoteServer(const RemoteServer&) = delete;
    RemoteServer& operator=(const RemoteServer&) = delete;

    // Listens with a new token. Port 0: kDefaultPort, or the first free one
    // of the nineteen above it. False, with why, when nothing could be had.
    bool start(const QHostAddress& address, quint16 port, QString* error);
    // Closes every page and the port.
    void stop();
    bool running() const { return front_ != nullptr; }
    quint16 port() const { return port_; }
    const QString& token() const { return token_; }
    // The addresses a phone can open, token included: one per IPv4 address
    // of the machine that is not loopback (the loopback one when there is
    // no other, or when listening on it alone).
    QStringList pageAddresses() const;
    int clientCount() const { return static_cast<int>(clients_.size()); }
    int refusedCount() const { return refused_; }
    void setLimits(const ClientLimits& limits) { limits_ = limits; }
    // From the next start().
    void setConnectionLimits(const ConnectionLimits& limits) { connectionLimits_ = limits; }

    // Used by the HTTP side.
    void serveHttp(const QHttpServerRequest& request, QHttpServerResponder& responder);
    void takeWebSocket();
    // Whether an upgrade to a WebSocket carries the token; counted when not.
    bool admitsWebSocket(const QHttpServerRequest& request);

signals:
    // A page came or went, or a request was refused.
    void countsChanged();

private:
    struct Client {
        std::unique_ptr<QWebSocket> socket;
        double allowance = 0;
        QElapsedTimer since;
        bool overRate = false;  // a frame of the message coming came past the rate
    };
    class Front;

    void onFrame(int id, bool ofMessage);
    bool takeAllowance(Client& client) const;
    void onMessage(int id, const QString& text, bool binary);
    void send(int id, const QJsonObject& message);
    void sendText(int id, const QString& text);
    void drop(int id);
    void broadcast();
    void refuse(int status, const QString& what);

    RemoteTarget& target_;
    ClientLimits limits_;
    ConnectionLimits connectionLimits_;
    std::unique_ptr<Front> front_;
    ConnectionGuard* guard_ = nullptr;  // the front's
    QHostAddress address_;
    quint16 port_ = 0;
    QString token_;
    std::map<int, Client> clients_;
    int nextClient_ = 1;
    int refused_ = 0;
    QElapsedTimer running_;
    RefusalLog log_;
    QTimer logTimer_;
    QTimer broadcastTimer_;
    QString lastState_;
    // The same for every page and every run: made once.
    const QString tables_;
};

}  // namespace remote
