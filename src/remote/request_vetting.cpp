#include "remote/request_vetting.h"

#include <QUrlQuery>

#include "remote/access_token.h"
#include "remote/page_files.h"
#include "remote/request_head.h"

namespace remote {
namespace {

struct RefusalText {
    int status;
    const char* phrase;
    const char* text;
};
constexpr RefusalText kRefusals[] = {
    {400, "Bad Request", "The request is not one a browser sends.\n"},
    {401, "Unauthorized", "A page address with its token is needed.\n"},
    {403, "Forbidden", "The page's socket is for its own page only.\n"},
    {404, "Not Found", "There is no such file.\n"},
    {405, "Method Not Allowed", "Only GET and HEAD are taken.\n"},
    {408, "Request Timeout", "The request took too long to come.\n"},
    {413, "Content Too Large", "A request with a body is not taken.\n"},
    {421, "Misdirected Request", "The address is not one this server listens on.\n"},
    {431, "Request Header Fields Too Large", "The request is too long.\n"},
    {503, "Service Unavailable", "Too many connections: try again later.\n"},
};

Verdict Refused(int status, QByteArray reason, bool head = false) {
    return {Admission::Refuse, status, std::move(reason), head};
}

// "192.168.1.20:8480", "[::1]:8480", "localhost:8480", the port left out
// by some native clients. Only an address the server listens on, or
// localhost when it listens on the loopback, names it: a name of the
// attacker's own that was made to point here does not.
bool NamesThisServer(QByteArrayView host, const VettingRules& rules) {
    QByteArrayView name = host;
    QByteArrayView port;
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        if (close < 0) return false;
        name = host.sliced(1, close - 1);
        const QByteArrayView rest = host.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(':')) return false;
        if (!rest.isEmpty()) port = rest.sliced(1);
    } else if (const qsizetype colon = host.lastIndexOf(':'); colon >= 0) {
        name = host.first(colon);
        port = host.sliced(colon + 1);
        if (name.contains(':')) return false;
    }
    if (!port.isEmpty() && port != QByteArray::number(rules.port)) return false;
    if (name.compare("localhost", Qt::CaseInsensitive) == 0)
        return rules.listensOn && rules.listensOn(QHostAddress(QHostAddress::LocalHost));
    QHostAddress address;
    return address.setAddress(QString::fromLatin1(name)) && rules.listensOn && rules.listensOn(address);
}

std::optional<QByteArray> Single(const HeaderFields& fields, QByteArrayView name, bool* repeated) {
    const std::vector<QByteArray> values = fields.values(name);
    if (values.size() > 1) *repeated = true;
    if (values.size() != 1) return std::nullopt;
    return values.front();
}

bool ListsToken(const QByteArray& value, QByteArrayView token) {
    for (const QByteArray& item : value.split(','))
        if (item.trimmed().compare(token, Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

Verdict VetRequest(QByteArrayView received, const VettingRules& rules) {
    const qsizetype lineEnd = received.indexOf('\n');
    if (lineEnd < 0 || lineEnd + 1 > rules.maxHeadBytes)
        return received.size() > rules.maxHeadBytes || lineEnd >= 0 ? Refused(431, "request line too long")
                                                                    : Verdict{};
    if (lineEnd == 0 || received[lineEnd - 1] != '\r') return Refused(400, "bare line feed");
    const std::optional<RequestLine> line = ParseRequestLine(received.first(lineEnd - 1));
    if (!line) return Refused(400, "malformed request line");
    const bool head = line->method == "HEAD";
    const QUrlQuery query(QString::fromLatin1(line->query));
    if (!TokenMatches(query.queryItemValue(QStringLiteral("token")), rules.token))
        return Refused(401, "no token", head);
    if (line->method != "GET" && !head) return Refused(405, "method " + line->method.left(16), head);

    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    if (headEnd < 0 || headEnd + 4 > rules.maxHeadBytes)
        return received.size() > rules.maxHeadBytes || headEnd >= 0 ? Refused(431, "head too long", head) : Verdict{};
    const std::optional<HeaderFields> fields = HeaderFields::Parse(received.sliced(lineEnd + 1, headEnd + 1 - lineEnd));
    if (!fields) return Refused(400, "malformed header", head);
    bool repeated = false;
    const std::optional<QByteArray> length = Single(*fields, "content-length", &repeated);
    if ((length && *length != "0") || !fields->values("transfer-encoding").empty())
        return Refused(413, "a body", head);
    if (received.size() > headEnd + 4) return Refused(400, "bytes after the head", head);
    const std::optional<QByteArray> host = Single(*fields, "host", &repeated);
    const std::optional<QByteArray> upgrade = Single(*fields, "upgrade", &repeated);
    const std::optional<QByteArray> origin = Single(*fields, "origin", &repeated);
    if (repeated || !host) return Refused(400, "missing or repeated header", head);
    if (!NamesThisServer(*host, rules)) return Refused(421, "Host " + host->left(64), head);
    if (!fields->values("upgrade").empty() || !fields->values("sec-websocket-key").empty()) {
        if (line->path != kSocketPath) return Refused(404, "socket on " + line->path.left(64), head);
        const std::optional<QByteArray> connection = Single(*fields, "connection", &repeated);
        if (!upgrade || upgrade->compare("websocket", Qt::CaseInsensitive) != 0 || !connection ||
            !ListsToken(*connection, "upgrade"))
            return Refused(400, "malformed upgrade", head);
        // A browser always says where the page that opens the socket came
        // from; a native client says nothing.
        if (origin && origin->compare("http://" + *host, Qt::CaseInsensitive) != 0)
            return Refused(403, "Origin " + origin->left(64), head);
        return {Admission::Socket, 0, {}, head};
    }
    if (!FindPageFile(line->path)) return Refused(404, "no file " + line->path.left(64), head);
    return {Admission::File, 0, {}, head};
}

QByteArray RefusalResponse(int status, bool head) {
    const RefusalText* found = &kRefusals[0];
    for (const RefusalText& r : kRefusals)
        if (r.status == status) found = &r;
    const QByteArray text(found->text);
    QByteArray out = "HTTP/1.1 " + QByteArray::number(found->status) + ' ' + found->phrase + "\r\n";
    out += "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " + QByteArray::number(text.size()) + "\r\n";
    if (found->status == 405) out += "Allow: GET, HEAD\r\n";
    out += "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
    if (!head) out += text;
    return out;
}

}  // namespace remote
