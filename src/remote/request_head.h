#pragma once
// The head of an HTTP request, read strictly: what a browser never sends (a
// bare line feed, a folded header line, a name with a space in it, a target
// that is not a path) is malformed, so that nothing reaches Qt's parser
// behind the guard that the two could read in different ways.
#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <utility>
#include <vector>

namespace remote {

struct RequestLine {
    QByteArray method;
    QByteArray path;   // as sent, up to the '?'
    QByteArray query;  // after the '?', as sent
};

// "GET /remote.js?token=... HTTP/1.1", without its line end.
std::optional<RequestLine> ParseRequestLine(QByteArrayView line);

class HeaderFields {
public:
    // The lines between the request line and the empty line, each ending
    // in CRLF.
    static std::optional<HeaderFields> Parse(QByteArrayView lines);
    // Every value the field was given, the name compared without case.
    std::vector<QByteArray> values(QByteArrayView name) const;

private:
    std::vector<std::pair<QByteArray, QByteArray>> fields_;  // name in lower case, value trimmed
};

}  // namespace remote
