#pragma once
// A page as the tests play it: a WebSocket to the remote server that keeps
// every message it receives.
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>
#include <QtTest/QTest>
#include <vector>

namespace testing_support {

class PageClient {
public:
    explicit PageClient(const QString& url) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            received.push_back(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        socket.open(QUrl(url));
    }
    bool waitOpen() {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000);
    }
    void send(const QByteArray& json) { socket.sendTextMessage(QString::fromUtf8(json)); }
    // The first message of `type` from `from` on, waited for.
    std::optional<QJsonObject> next(const QString& type, std::size_t& from) {
        std::optional<QJsonObject> found;
        (void)QTest::qWaitFor(
            [&] {
                for (; from < received.size(); ++from)
                    if (received[from].value("type").toString() == type) {
                        found = received[from++];
                        return true;
                    }
                return false;
            },
            5000);
        return found;
    }
    // The last state received.
    QJsonObject state() const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->value("type").toString() == "state") return *it;
        return {};
    }

    QWebSocket socket;
    std::vector<QJsonObject> received;
};

}  // namespace testing_support
