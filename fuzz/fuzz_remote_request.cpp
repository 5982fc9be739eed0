// What a stranger on the network sends the remote: any bytes as the start
// of a request, arriving in pieces. The guard waits, lets the request
// through or refuses it; once it has decided on some of the bytes, more
// bytes never make it wait again, and never let through what it refused.
// What it lets through is a file the server has, or the socket, asked for
// with GET or HEAD and the token. Its refusal says its own length; the
// frames the server writes are followed whatever cuts them.
#include <QByteArray>
#include <QHostAddress>
#include <QUrlQuery>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "remote/outgoing_frames.h"
#include "remote/page_files.h"
#include "remote/request_head.h"
#include "remote/request_vetting.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

const remote::VettingRules& Rules() {
    static const remote::VettingRules rules = [] {
        remote::VettingRules r;
        r.token = QStringLiteral("0123456789abcdef0123456789abcdef");
        r.port = 8480;
        r.listensOn = [](const QHostAddress& a) { return a == QHostAddress(QHostAddress::LocalHost); };
        r.maxHeadBytes = 1024;  // small, so the fuzzer reaches past it
        return r;
    }();
    return rules;
}

void CheckLetThrough(const QByteArray& bytes, const remote::Verdict& verdict) {
    const qsizetype lineEnd = bytes.indexOf("\r\n");
    Require(lineEnd > 0);
    const auto line = remote::ParseRequestLine(QByteArrayView(bytes).first(lineEnd));
    Require(line.has_value());
    Require(line->method == "GET" || line->method == "HEAD");
    Require(verdict.head == (line->method == "HEAD"));
    Require(QUrlQuery(QString::fromLatin1(line->query)).queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded) ==
            Rules().token);
    Require(bytes.endsWith("\r\n\r\n") && bytes.size() <= Rules().maxHeadBytes);
    if (verdict.admission == remote::Admission::File)
        Require(remote::FindPageFile(line->path) != nullptr);
    else
        Require(line->path == remote::kSocketPath);
}

void CheckRefusal(const remote::Verdict& verdict) {
    const QByteArray response = remote::RefusalResponse(verdict.status, verdict.head);
    Require(response.startsWith("HTTP/1.1 " + QByteArray::number(verdict.status) + ' '));
    const qsizetype end = response.indexOf("\r\n\r\n");
    const qsizetype at = response.indexOf("Content-Length: ");
    Require(end > 0 && at > 0 && at < end);
    const qsizetype said = response.mid(at + 16, response.indexOf("\r\n", at) - at - 16).toLongLong();
    Require(response.size() - end - 4 == (verdict.head ? 0 : said));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte cuts the rest into the pieces it arrives in.
    const auto piece = static_cast<qsizetype>(data[0] % 64 + 1);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    remote::Verdict decided;
    for (qsizetype end = std::min(piece, bytes.size());; end = std::min(end + piece, bytes.size())) {
        const remote::Verdict verdict = remote::VetRequest(QByteArrayView(bytes).first(end), Rules());
        Require((verdict.admission == remote::Admission::Refuse) == (verdict.status != 0));
        if (decided.admission != remote::Admission::Wait) {
            Require(verdict.admission != remote::Admission::Wait);
            if (decided.admission == remote::Admission::Refuse) Require(verdict.admission == remote::Admission::Refuse);
        } else {
            decided = verdict;
        }
        if (verdict.admission == remote::Admission::Refuse) CheckRefusal(verdict);
        if (verdict.admission == remote::Admission::File || verdict.admission == remote::Admission::Socket)
            CheckLetThrough(bytes.first(end), verdict);
        if (end == bytes.size()) break;
    }

    // The same bytes as frames going out, in the same pieces: every frame
    // is told once its header is whole, and the count never depends on the
    // cuts.
    remote::OutgoingFrames whole;
    remote::OutgoingFrames cut;
    int wholeFrames = 0;
    int cutFrames = 0;
    whole.follow(bytes, [&](int opcode) {
        Require(opcode >= 0 && opcode <= 0xF);
        ++wholeFrames;
    });
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        cut.follow(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)), [&](int) { ++cutFrames; });
    Require(wholeFrames == cutFrames);
    return 0;
}
