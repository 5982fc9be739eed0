// Strangers on the venue's network against the real server on the loopback:
// each sends what it likes as fast as the line takes it (or as slowly as it
// likes) and must be refused with its status, its connection ended, and the
// server's memory kept within a bound whatever it sends.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTcpSocket>
#include <QtTest/QTest>
#include <memory>
#include <vector>

#include "model/value_tables.h"
#include "remote/remote_server.h"
#include "remote/remote_state.h"

namespace {

class StillTarget final : public remote::RemoteTarget {
public:
    StillTarget() { std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image_.begin()); }
    QJsonObject state() const override { return remote::StateMessage(image_, {}); }
    QString apply(const remote::Request&, int) override { return {}; }

private:
    model::PresetImage image_{};
};

// Kilobytes of this process's memory: "VmRSS" now, "VmHWM" its peak since
// ResetPeak().
qint64 MemoryKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(line.indexOf(':') + 1).trimmed().split(' ').front().toLongLong();
    return -1;
}

void ResetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// What a stranger does: its head at once, then `unit` over and over, up to
// `volume` bytes, as fast as the line takes them or one byte each
// `trickleMs`. The client's own queue stays under a megabyte, so what
// grows is the server.
struct Attack {
    QByteArray head;
    QByteArray unit;
    qint64 volume = 0;
    int trickleMs = 0;
    bool floodAfterHandshake = false;  // reads the 101, then never reads again
};

constexpr qint64 kFlood = 256LL * 1024 * 1024;

Attack Once(const QByteArray& head) { return {head, {}, 0, 0, false}; }
Attack Flood(const QByteArray& head, const QByteArray& unit) { return {head, unit, kFlood, 0, false}; }
Attack Trickle(const QByteArray& head, int everyMs) { return {head, "s", kFlood, everyMs, false}; }
Attack FloodAfterHandshake(const QByteArray& head, const QByteArray& unit) { return {head, unit, kFlood, 0, true}; }

struct Outcome {
    QByteArray reply;
    qint64 sent = 0;
    bool closedByServer = false;
};

Outcome Launch(quint16 port, const Attack& attack) {
    QTcpSocket socket;
    Outcome out;
    bool reading = true;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        if (reading) out.reply += socket.readAll();
    });
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000)) return out;
    socket.write(attack.head);
    QByteArray chunk;
    while (!attack.unit.isEmpty() && chunk.size() < qsizetype{64} * 1024) chunk += attack.unit;
    bool flooding = !attack.floodAfterHandshake;
    QElapsedTimer clock;
    clock.start();
    qint64 nextByteAt = 0;
    qint64 allSentAt = -1;
    // Ends when the server closes, or two seconds after everything went
    // out and was not answered by a close; a minute at most.
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 60'000) {
        if (!flooding && out.reply.contains("\r\n\r\n")) {
            flooding = true;
            reading = false;
            socket.setReadBufferSize(1);
        }
        if (flooding && out.sent < attack.volume) {
            if (attack.trickleMs > 0 && clock.elapsed() >= nextByteAt) {
                socket.write(attack.unit.left(1));
                ++out.sent;
                nextByteAt += attack.trickleMs;
            } else if (attack.trickleMs == 0 && socket.bytesToWrite() < qint64{1024} * 1024) {
                socket.write(chunk);
                out.sent += chunk.size();
            }
        } else if (flooding && socket.bytesToWrite() == 0) {
            if (allSentAt < 0) allSentAt = clock.elapsed();
            if (clock.elapsed() - allSentAt > 2000) break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    out.closedByServer = socket.state() != QAbstractSocket::ConnectedState;
    return out;
}

QByteArray MaskedPing() {
    QByteArray frame("\x89\xFD\x01\x02\x03\x04", 6);  // FIN + ping, masked, 125 bytes
    return frame + QByteArray(125, 'p');
}

QStringList* gLogLines = nullptr;

void KeepLogLine(QtMsgType, const QMessageLogContext&, const QString& line) {
    if (gLogLines && line.startsWith(QLatin1String("The remote refused"))) gLogLines->append(line);
}

TEST(RemoteHostileClients, EachIsRefusedAndTheServersMemoryStaysBounded) {
    QStringList logLines;
    gLogLines = &logLines;
    const QtMessageHandler previous = qInstallMessageHandler(KeepLogLine);
    QElapsedTimer running;
    running.start();
    StillTarget target;
    auto server = std::make_unique<remote::RemoteServer>(target);
    remote::ConnectionLimits limits;
    limits.requestMs = 300;  // the slow client's limit, small so the test does not wait ten seconds
    server->setConnectionLimits(limits);
    QString why;
    ASSERT_TRUE(server->start(QHostAddress(QHostAddress::LocalHost), 0, &why)) << why.toStdString();
    const QByteArray token = server->token().toLatin1();
    const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(server->port()) + "\r\n";
    const QByteArray upgrade = "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                               "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    constexpr qint64 kBoundKb = qint64{64} * 1024;  // a bound on growth, far below what any flood sends

    struct Case {
        const char* what;
        Attack attack;
        QByteArray status;  // the reply's first line
        int crowd = 0;      // idle connections opened first
    };
    const Case cases[] = {
        {"huge body, no token", Flood("POST / HTTP/1.1\r\n" + host + "Content-Length: 268435456\r\n\r\n", "b"),
         "HTTP/1.1 401 Unauthorized"},
        {"huge body with the token",
         Flood("GET /?token=" + token + " HTTP/1.1\r\n" + host + "Content-Length: 268435456\r\n\r\n", "b"),
         "HTTP/1.1 413 Content Too Large"},
        {"huge header", Flood("GET /?token=" + token + " HTTP/1.1\r\n" + host + "X-Pad: ", "h"),
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"huge request line", Flood("GET /?pad=", "u"), "HTTP/1.1 431 Request Header Fields Too Large"},
        {"slow request", Trickle("GET /?token=" + token + " HTTP/1.1\r\n" + host + "X-Slow: ", 20),
         "HTTP/1.1 408 Request Timeout"},
        {"a connection that sends nothing", Once(""), ""},
        {"many connections, then the page", Once("GET /?token=" + token + " HTTP/1.1\r\n" + host + "\r\n"),
         "HTTP/1.1 200 OK", 100},
        {"ping flood without reading",
         FloodAfterHandshake("GET /socket?token=" + token + " HTTP/1.1\r\n" + host + upgrade + "\r\n", MaskedPing()),
         "HTTP/1.1 101 Switching Protocols"},
        {"foreign Origin",
         Once("GET /socket?token=" + token + " HTTP/1.1\r\n" + host + upgrade + "Origin: http://evil.example\r\n\r\n"),
         "HTTP/1.1 403 Forbidden"},
        {"socket on another path", Once("GET /remote.js?token=" + token + " HTTP/1.1\r\n" + host + upgrade + "\r\n"),
         "HTTP/1.1 404 Not Found"},
        {"HEAD", Once("HEAD /?token=" + token + " HTTP/1.1\r\n" + host + "\r\n"), "HTTP/1.1 200 OK"},
        {"POST with the token",
         Once("POST /?token=" + token + " HTTP/1.1\r\n" + host + "Content-Length: 5\r\n\r\nhello"),
         "HTTP/1.1 405 Method Not Allowed"},
    };
    int refusals = 0;
    for (const Case& c : cases) {
        // A missing file is an answer, not a refusal; of the crowd, all
        // but the 31 newest are closed.
        if (c.status.startsWith("HTTP/1.1 4") && !c.status.startsWith("HTTP/1.1 404")) ++refusals;
        refusals += std::max(0, c.crowd - 31);
        std::vector<std::unique_ptr<QTcpSocket>> crowd;
        for (int i = 0; i < c.crowd; ++i) {
            crowd.push_back(std::make_unique<QTcpSocket>());
            crowd.back()->connectToHost(QHostAddress::LocalHost, server->port());
            ASSERT_TRUE(crowd.back()->waitForConnected(5000)) << c.what;
            QCoreApplication::processEvents();
        }
        const qint64 before = MemoryKb("VmRSS");
        ResetPeak();
        const Outcome out = Launch(server->port(), c.attack);
        const qint64 grown = MemoryKb("VmHWM") - before;
        std::printf("%-34s sent %6lld KB, server grew %6lld KB\n", c.what, out.sent / 1024, grown);
        EXPECT_EQ(out.reply.left(out.reply.indexOf('\r')).toStdString(), c.status.toStdString()) << c.what;
        EXPECT_TRUE(out.closedByServer) << c.what;
        EXPECT_LT(grown, kBoundKb) << c.what;
        if (c.attack.head.startsWith("HEAD")) {
            EXPECT_TRUE(out.reply.endsWith("\r\n\r\n")) << "a HEAD is answered without the body";
        }
        if (c.crowd > 0) {
            // The page's connection took the place of the oldest idle one:
            // the newest 31 of the crowd are still open, the rest closed.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    for (int i = 0; i < c.crowd; ++i)
                        if ((crowd[i]->state() == QAbstractSocket::ConnectedState) != (i >= c.crowd - 31))
                            return false;
                    return true;
                },
                5000))
                << c.what;
        }
    }
    EXPECT_EQ(server->clientCount(), 0) << "the flooding page was dropped";
    EXPECT_EQ(server->refusedCount(), refusals) << "every refusal and every crowded-out connection counted";
    server.reset();
    // One line a second at most, and one at the end for what was held.
    EXPECT_GE(logLines.size(), 2);
    EXPECT_LE(logLines.size(), running.elapsed() / 1000 + 2);
    qInstallMessageHandler(previous);
    gLogLines = nullptr;
}

}  // namespace
