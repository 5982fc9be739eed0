// The guard's rules on the bytes of a request, its refusals' exact texts,
// the pongs it sees going out and the log of refusals.
#include <gtest/gtest.h>
#include <QStringList>
#include <vector>

#include "remote/outgoing_frames.h"
#include "remote/refusal_log.h"
#include "remote/request_vetting.h"

namespace {

using remote::Admission;

const QByteArray kToken(32, 'a');

remote::VettingRules Rules() {
    remote::VettingRules rules;
    rules.token = QString::fromLatin1(kToken);
    rules.port = 8480;
    rules.listensOn = [](const QHostAddress& a) {
        return a == QHostAddress(QStringLiteral("192.168.1.20")) || a == QHostAddress(QHostAddress::LocalHost);
    };
    return rules;
}

// A head of exactly `size` bytes, padded in one header.
QByteArray HeadOfSize(int size) {
    const QByteArray start = "GET /?token=" + kToken + " HTTP/1.1\r\nHost: 192.168.1.20:8480\r\nX-Pad: ";
    return start + QByteArray(size - static_cast<int>(start.size()) - 4, 'p') + "\r\n\r\n";
}

TEST(RequestVetting, EachRequestIsLetThroughWaitedForOrRefusedWithItsStatus) {
    const QByteArray get = "GET /?token=" + kToken + " HTTP/1.1\r\n";
    const QByteArray host = "Host: 192.168.1.20:8480\r\n";
    const QByteArray socket = "GET /socket?token=" + kToken + " HTTP/1.1\r\n" + host +
                              "Upgrade: websocket\r\nConnection: keep-alive, Upgrade\r\n";
    struct Case {
        const char* what;
        QByteArray bytes;
        Admission admission;
        int status = 0;
    };
    const Case cases[] = {
        {"the page", get + host + "\r\n", Admission::File},
        {"the page as index.html", "GET /index.html?token=" + kToken + " HTTP/1.1\r\n" + host + "\r\n",
         Admission::File},
        {"the script, HTTP/1.0", "GET /remote.js?token=" + kToken + " HTTP/1.0\r\n" + host + "\r\n", Admission::File},
        {"HEAD", "HEAD /?token=" + kToken + " HTTP/1.1\r\n" + host + "\r\n", Admission::File},
        {"an empty body said", get + host + "Content-Length: 0\r\n\r\n", Admission::File},
        {"localhost", get + "Host: LocalHost:8480\r\n\r\n", Admission::File},
        {"a Host without its port", get + "Host: 192.168.1.20\r\n\r\n", Admission::File},
        {"the socket from its page", socket + "Origin: http://192.168.1.20:8480\r\n\r\n", Admission::Socket},
        {"the socket from a native client", socket + "\r\n", Admission::Socket},
        {"nothing yet", "", Admission::Wait},
        {"the request line unfinished", "GET /?token=" + kToken + " HTTP/1.1\r", Admission::Wait},
        {"the headers unfinished", get + host, Admission::Wait},
        {"no token: refused on its first line", "GET / HTTP/1.1\r\n", Admission::Refuse, 401},
        {"a wrong token", "GET /?token=" + QByteArray(32, 'b') + " HTTP/1.1\r\n", Admission::Refuse, 401},
        {"the token cut short", "GET /?token=" + kToken.left(31) + " HTTP/1.1\r\n", Admission::Refuse, 401},
        {"POST without the token", "POST / HTTP/1.1\r\nContent-Length: 9999999\r\n", Admission::Refuse, 401},
        {"POST with it", "POST /?token=" + kToken + " HTTP/1.1\r\n", Admission::Refuse, 405},
        {"OPTIONS", "OPTIONS /?token=" + kToken + " HTTP/1.1\r\n", Admission::Refuse, 405},
        {"a bare line feed", "GET /?token=" + kToken + " HTTP/1.1\n", Admission::Refuse, 400},
        {"a full URL as target", "GET http://x/?token=" + kToken + " HTTP/1.1\r\n", Admission::Refuse, 400},
        {"HTTP/2.0", "GET /?token=" + kToken + " HTTP/2.0\r\n", Admission::Refuse, 400},
        {"two spaces", "GET  /?token=" + kToken + " HTTP/1.1\r\n", Admission::Refuse, 400},
        {"a folded header", get + host + "X-A: 1\r\n 2\r\n\r\n", Admission::Refuse, 400},
        {"a header name with a space", get + host + "X A: 1\r\n\r\n", Admission::Refuse, 400},
        {"a control character in a value", get + host + "X-A: 1\x01\r\n\r\n", Admission::Refuse, 400},
        {"no Host", get + "\r\n", Admission::Refuse, 400},
        {"two Hosts", get + host + host + "\r\n", Admission::Refuse, 400},
        {"a name made to point here", get + "Host: evil.example:8480\r\n\r\n", Admission::Refuse, 421},
        {"another address", get + "Host: 10.0.0.9:8480\r\n\r\n", Admission::Refuse, 421},
        {"another port", get + "Host: 192.168.1.20:8481\r\n\r\n", Admission::Refuse, 421},
        {"an IPv6 address not listened on", get + "Host: [::1]:8480\r\n\r\n", Admission::Refuse, 421},
        {"a body", get + host + "Content-Length: 5\r\n\r\n", Admission::Refuse, 413},
        {"a chunked body", get + host + "Transfer-Encoding: chunked\r\n\r\n", Admission::Refuse, 413},
        {"bytes after the head", get + host + "\r\nGET", Admission::Refuse, 400},
        {"the socket from another site", socket + "Origin: http://evil.example\r\n\r\n", Admission::Refuse, 403},
        {"the socket from a file", socket + "Origin: null\r\n\r\n", Admission::Refuse, 403},
        {"the socket from https", socket + "Origin: https://192.168.1.20:8480\r\n\r\n", Admission::Refuse, 403},
        {"the socket on the page's path", get + host + "Upgrade: websocket\r\nConnection: Upgrade\r\n\r\n",
         Admission::Refuse, 404},
        {"the socket without Connection: Upgrade",
         "GET /socket?token=" + kToken + " HTTP/1.1\r\n" + host + "Upgrade: websocket\r\n\r\n", Admission::Refuse,
         400},
        {"the socket's path without the upgrade", "GET /socket?token=" + kToken + " HTTP/1.1\r\n" + host + "\r\n",
         Admission::Refuse, 404},
        {"no such file", "GET /etc/passwd?token=" + kToken + " HTTP/1.1\r\n" + host + "\r\n", Admission::Refuse,
         404},
        {"a file's name encoded", "GET /remote%2Ejs?token=" + kToken + " HTTP/1.1\r\n" + host + "\r\n",
         Admission::Refuse, 404},
        {"a head of 16 KB", HeadOfSize(16 * 1024), Admission::File},
        {"a head of 16 KB and 1", HeadOfSize(16 * 1024 + 1), Admission::Refuse, 431},
        {"16 KB of an unfinished request line", "GET /?" + QByteArray(16 * 1024 - 6, 'u'), Admission::Wait},
        {"and 1 more", "GET /?" + QByteArray(16 * 1024 - 5, 'u'), Admission::Refuse, 431},
    };
    for (const Case& c : cases) {
        const remote::Verdict verdict = remote::VetRequest(c.bytes, Rules());
        EXPECT_EQ(verdict.admission, c.admission) << c.what;
        EXPECT_EQ(verdict.status, c.status) << c.what;
    }
}

TEST(RequestVetting, ARefusalIsOneShortAnswerThatClosesAndHeadGetsNoBody) {
    struct Case {
        int status;
        bool head;
        QByteArray response;
    };
    const QByteArray closing = "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
    const Case cases[] = {
        {401, false,
         "HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 41\r\n" + closing +
             "A page address with its token is needed.\n"},
        {401, true,
         "HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 41\r\n" + closing},
        {405, true,
         "HTTP/1.1 405 Method Not Allowed\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 29\r\n"
         "Allow: GET, HEAD\r\n" +
             closing},
        {431, false,
         "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Type: text/plain; charset=utf-8\r\n"
         "Content-Length: 25\r\n" +
             closing + "The request is too long.\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(remote::RefusalResponse(c.status, c.head).toStdString(), c.response.toStdString()) << c.status;
}

// Frames as a server sends them: FIN and opcode, the length in 7, 16 or
// 64 bits, no mask (a mask as a client's).
QByteArray Frame(int opcode, int length, bool masked = false) {
    QByteArray out(1, static_cast<char>(0x80 | opcode));
    const char mask = masked ? static_cast<char>(0x80) : '\0';
    if (length < 126) {
        out += static_cast<char>(mask | length);
    } else if (length < 65536) {
        out += static_cast<char>(mask | 126);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(length & 0xFF);
    } else {
        out += static_cast<char>(mask | 127);
        for (int shift = 56; shift >= 0; shift -= 8) out += static_cast<char>((static_cast<qint64>(length) >> shift) & 0xFF);
    }
    if (masked) out += "mask";
    return out + QByteArray(length, 'x');
}

TEST(OutgoingFrames, EveryFramesOpcodeIsToldHoweverTheWritesCutIt) {
    const QByteArray stream = Frame(0xA, 0) + Frame(0x1, 125) + Frame(0xA, 125) + Frame(0x1, 126) +
                              Frame(0x2, 65535) + Frame(0x1, 65536) + Frame(0xA, 3, true) + Frame(0x9, 1);
    const std::vector<int> expected = {0xA, 0x1, 0xA, 0x1, 0x2, 0x1, 0xA, 0x9};
    for (const int piece : {1, 2, 3, 7, 10, 14, 1000, static_cast<int>(stream.size())}) {
        remote::OutgoingFrames frames;
        std::vector<int> seen;
        for (qsizetype at = 0; at < stream.size(); at += piece)
            frames.follow(QByteArrayView(stream).sliced(at, std::min<qsizetype>(piece, stream.size() - at)),
                          [&](int opcode) { seen.push_back(opcode); });
        EXPECT_EQ(seen, expected) << "written " << piece << " bytes at a time";
    }
}

TEST(RefusalLog, OneLineASecondAtMostSayingHowManyAndTheLast) {
    qint64 now = 0;
    QStringList lines;
    remote::RefusalLog log([&] { return now; }, [&](const QString& line) { lines << line; });
    struct Step {
        qint64 at;
        const char* refused;  // null: the held line's timer fires
        qint64 heldFor;       // after the step
        int lines;
    };
    const Step steps[] = {
        {0, "401 from a (no token)", -1, 1},  {10, "401 from b (no token)", 990, 1},
        {20, "405 from c (method PUT)", 980, 1}, {999, nullptr, 1, 1},
        {1000, nullptr, -1, 2},               {5000, "431 from d (head too long)", -1, 3},
        {5001, "401 from e (no token)", 999, 3},
    };
    for (const Step& s : steps) {
        now = s.at;
        if (s.refused)
            log.note(QString::fromLatin1(s.refused));
        else
            log.writeHeld();
        EXPECT_EQ(log.heldFor(), s.heldFor) << "at " << s.at;
        EXPECT_EQ(lines.size(), s.lines) << "at " << s.at;
    }
    EXPECT_EQ(lines[0], "The remote refused a request: 401 from a (no token)");
    EXPECT_EQ(lines[1], "The remote refused 2 requests, the last: 405 from c (method PUT)");
    EXPECT_EQ(lines[2], "The remote refused a request: 431 from d (head too long)");
    log.writeHeld(true);
    EXPECT_EQ(lines.value(3), "The remote refused a request: 401 from e (no token)") << "the end writes what is held";
}

}  // namespace
