// The remote server with a target that records what reaches it: the token,
// the checks of every message, the limits per page and the broadcast.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QtTest/QSignalSpy>
#include <algorithm>

#include "app/remote_page_client.h"
#include "model/value_tables.h"
#include "remote/remote_server.h"
#include "remote/remote_state.h"

namespace {

using testing_support::PageClient;

// Keeps the requests; a gain request changes its image as the editor would.
class RecordingTarget final : public remote::RemoteTarget {
public:
    RecordingTarget() { std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin()); }
    QJsonObject state() const override { return remote::StateMessage(image, {}); }
    QString apply(const remote::Request& request, int) override {
        requests.push_back(request);
        if (const auto* r = std::get_if<remote::NotchRequest>(&request)) {
            model::NotchCodes codes = model::ReadNotchRecord(image, model::NotchIndex(r->channel, r->row));
            codes.gain = r->value + model::kMaxGainCode;
            model::WriteNotchRecord(image, model::NotchIndex(r->channel, r->row), codes);
            emit changed();
        }
        return {};
    }
    void touch() { emit changed(); }

    model::PresetImage image{};
    std::vector<remote::Request> requests;
};

class RemoteServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString why;
        ASSERT_TRUE(server.start(QHostAddress(QHostAddress::LocalHost), 0, &why)) << why.toStdString();
    }
    QString base() const { return QString("http://127.0.0.1:%1/").arg(server.port()); }
    QString socketUrl(const QString& token) const {
        return QString("ws://127.0.0.1:%1/socket?token=%2").arg(server.port()).arg(token);
    }
    int httpStatus(const QString& url) {
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(url)));
        QSignalSpy done(reply, &QNetworkReply::finished);
        EXPECT_TRUE(done.wait(5000));
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply->deleteLater();
        return status;
    }

    RecordingTarget target;
    remote::RemoteServer server{target};
    QNetworkAccessManager network;
};

TEST_F(RemoteServerTest, WithoutTheTokenNothingIsServedAndNothingReachesTheTarget) {
    struct Case {
        const char* what;
        QString url;
        int status;
    };
    const QString wrong = QString(32, QLatin1Char('0'));
    const Case cases[] = {
        {"the page, no token", base(), 401},
        {"the page, wrong token", base() + "?token=" + wrong, 401},
        {"the page, token cut short", base() + "?token=" + server.token().left(31), 401},
        {"the script, no token", base() + "remote.js", 401},
        {"the page with its token", base() + "?token=" + server.token(), 200},
        {"the script with its token", base() + "remote.js?token=" + server.token(), 200},
        {"no such file, with the token", base() + "secrets?token=" + server.token(), 404},
    };
    int refused = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(httpStatus(c.url), c.status) << c.what;
        if (c.status == 401) ++refused;
        EXPECT_EQ(server.refusedCount(), refused) << c.what;
    }

    for (const QString& token : {QString(), wrong}) {
        PageClient page(socketUrl(token));
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.refusedCount() == refused + 1; }, 5000));
        ++refused;
        EXPECT_TRUE(QTest::qWaitFor([&] { return page.socket.state() == QAbstractSocket::UnconnectedState; }, 5000));
        page.send(R"({"type":"link","on":true})");
        EXPECT_EQ(server.clientCount(), 0);
    }
    EXPECT_TRUE(target.requests.empty());
    EXPECT_EQ(server.token().size(), 32);
}

TEST_F(RemoteServerTest, AMessageThatIsNotAWholeRequestIsRefusedToItsPageAlone) {
    struct Case {
        QByteArray message;
        const char* error;
    };
    const Case cases[] = {
        {"not json", "Not a JSON object"},
        {"[1,2]", "Not a JSON object"},
        {R"({"on":true})", "\"type\" is missing"},
        {R"({"type":"format-disk"})", "Unknown type \"format-disk\""},
        {R"({"type":"link","on":"yes"})", "\"on\" must be true or false"},
        {R"({"type":"link","on":true,"also":1})", "Unknown field \"also\""},
        {R"({"type":"notch","channel":0,"row":12,"field":"gain","value":-3})", "\"row\" must be 0..11"},
        {R"({"type":"notch","channel":2,"row":0,"field":"gain","value":-3})", "\"channel\" must be 0..1"},
        {R"({"type":"notch","channel":0,"row":0,"field":"gain","value":1})", "\"value\" must be -45..0"},
        {R"({"type":"notch","channel":0,"row":0,"field":"gain","value":-46})", "\"value\" must be -45..0"},
        {R"({"type":"notch","channel":0,"row":0,"field":"gain","value":-2.5})", "\"value\" must be a whole number"},
        {R"({"type":"notch","channel":0,"row":0,"field":"frequency","value":730})", "\"value\" must be 0..729"},
        {R"({"type":"notch","channel":0,"row":0,"field":"width","value":4})", "\"value\" must be 0..3"},
        {R"({"type":"notch","channel":0,"row":0,"field":"colour","value":1})",
         "\"field\" must be one of frequency, gain, width"},
        {R"({"type":"setting","channel":0,"setting":"count","value":0})", "\"value\" must be 1..12"},
        {R"({"type":"setting","channel":0,"setting":"sensitivity","value":16})", "\"value\" must be 0..15"},
        {R"({"type":"search","selector":3,"on":true})", "\"selector\" must be 0..2"},
        {R"({"type":"search","on":true})", "\"selector\" is missing"},
        {R"({"type":"reset","channel":0,"rows":"all"})", "\"rows\" must be one of automatic, manual"},
        {R"({"type":"answer","id":0,"yes":true})", "\"id\" must be 1..1000000000"},
        {"{\"type\":\"link\",\"on\":true,\"pad\":\"" + QByteArray(remote::kMaxMessageBytes, 'x') + "\"}",
         "Message too long"},
    };
    PageClient page(socketUrl(server.token()));
    PageClient other(socketUrl(server.token()));
    ASSERT_TRUE(page.waitOpen() && other.waitOpen());
    std::size_t at = 0;
    for (const Case& c : cases) {
        page.send(c.message);
        const auto error = page.next("error", at);
        ASSERT_TRUE(error) << c.message.left(80).toStdString();
        EXPECT_EQ(error->value("text").toString().toStdString(), c.error) << c.message.left(80).toStdString();
    }
    EXPECT_TRUE(target.requests.empty());
    for (const QJsonObject& m : other.received) EXPECT_NE(m.value("type").toString(), "error");
    EXPECT_EQ(server.clientCount(), 2);
}

TEST_F(RemoteServerTest, APageThatSendsTooFastIsToldAndTheRestIsNotCarriedOut) {
    remote::ClientLimits limits;
    limits.burst = 5;
    limits.messagesPerSecond = 0.001;
    server.setLimits(limits);
    PageClient page(socketUrl(server.token()));
    ASSERT_TRUE(page.waitOpen());
    for (int i = 0; i < 8; ++i) page.send(R"({"type":"search","selector":1,"on":true})");
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const auto error = page.next("error", at);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->value("text").toString(), "Too many requests: wait a moment");
    }
    EXPECT_EQ(target.requests.size(), 5u);
}

TEST_F(RemoteServerTest, EveryPageSeesAnotherPagesEdit) {
    PageClient a(socketUrl(server.token()));
    PageClient b(socketUrl(server.token()));
    ASSERT_TRUE(a.waitOpen() && b.waitOpen());
    std::size_t atA = 0, atB = 0;
    ASSERT_TRUE(a.next("tables", atA) && a.next("state", atA) && b.next("tables", atB) && b.next("state", atB));

    a.send(R"({"type":"notch","channel":1,"row":11,"field":"gain","value":-20})");
    for (PageClient* page : {&a, &b}) {
        std::size_t& at = page == &a ? atA : atB;
        const auto state = page->next("state", at);
        ASSERT_TRUE(state);
        const QJsonObject row = state->value("channels")[1].toObject().value("rows")[11].toObject();
        EXPECT_EQ(row.value("gain").toInt(), -20);
        EXPECT_FALSE(row.value("automatic").toBool());
    }
    ASSERT_EQ(target.requests.size(), 1u);
}

TEST_F(RemoteServerTest, APageThatStopsReadingDoesNotHoldUpTheOthers) {
    remote::ClientLimits limits;
    limits.broadcastDelayMs = 0;
    limits.maxQueuedBytes = 16 * 1024;
    server.setLimits(limits);
    QSignalSpy counts(&server, &remote::RemoteServer::countsChanged);
    // A WebSocket handshake, then never a byte read: its queue only grows.
    QTcpSocket stalled;
    stalled.setReadBufferSize(1);
    stalled.connectToHost(QHostAddress::LocalHost, server.port());
    ASSERT_TRUE(stalled.waitForConnected(5000));
    stalled.write(QString("GET /socket?token=%1 HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                          "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                          "Sec-WebSocket-Version: 13\r\n\r\n")
                      .arg(server.token())
                      .toLatin1());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.clientCount() == 1; }, 5000));
    PageClient page(socketUrl(server.token()));
    ASSERT_TRUE(page.waitOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.clientCount() == 2; }, 5000));

    // Each change is a new state for every page; the reader keeps up.
    std::size_t at = 0;
    ASSERT_TRUE(page.next("state", at));
    bool keptUp = true;
    for (int gain = 0; gain < 100; ++gain) {
        target.image[model::NotchRecordOffset[23]] = static_cast<std::uint8_t>(gain % 46);
        target.image[model::NotchRecordOffset[22]] = static_cast<std::uint8_t>(gain / 46);
        target.touch();
        const auto state = page.next("state", at);
        keptUp =
            keptUp && state &&
            state->value("channels")[1].toObject().value("rows")[11].toObject().value("gain").toInt() == gain % 46 - 45;
    }
    EXPECT_TRUE(keptUp);
    // Changes as fast as they come: once the line's buffers are full, the
    // page that reads nothing is dropped when its queue passes the limit.
    counts.clear();
    for (int n = 0; n < 20000 && server.clientCount() == 2; ++n) {
        target.image[model::NotchRecordOffset[23]] = static_cast<std::uint8_t>(n % 46);
        target.touch();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(server.clientCount(), 1) << "the stalled page was dropped";
    EXPECT_FALSE(counts.isEmpty()) << "and the window's count told";
    page.send(R"({"type":"link","on":true})");
    EXPECT_TRUE(QTest::qWaitFor([&] { return target.requests.size() == 1; }, 5000));
}

TEST_F(RemoteServerTest, APageThatJoinsAfterTheOthersLeftSeesEveryChangeFromThen) {
    auto setGain = [this](int code) {
        target.image[model::NotchRecordOffset[23]] = static_cast<std::uint8_t>(code);
        target.touch();
    };
    auto gainOf = [](const QJsonObject& state) {
        return state.value("channels")[1].toObject().value("rows")[11].toObject().value("gain").toInt();
    };
    {
        PageClient first(socketUrl(server.token()));
        ASSERT_TRUE(first.waitOpen());
        std::size_t at = 0;
        ASSERT_TRUE(first.next("state", at));
        setGain(10);
        ASSERT_TRUE(first.next("state", at));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.clientCount() == 0; }, 5000));
    setGain(45);  // while no page is there
    PageClient later(socketUrl(server.token()));
    ASSERT_TRUE(later.waitOpen());
    std::size_t at = 0;
    const auto joined = later.next("state", at);
    ASSERT_TRUE(joined);
    EXPECT_EQ(gainOf(*joined), 0);
    setGain(10);  // back to what the first page was last sent
    const auto changed = later.next("state", at);
    ASSERT_TRUE(changed) << "the change reaches the page that joined";
    EXPECT_EQ(gainOf(*changed), -35);
}

}  // namespace
