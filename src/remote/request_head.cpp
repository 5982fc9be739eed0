#include "remote/request_head.h"

namespace remote {
namespace {

constexpr qsizetype kMaxMethodLength = 16;

bool IsTokenChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken(QByteArrayView text) {
    if (text.isEmpty()) return false;
    for (const char c : text)
        if (!IsTokenChar(c)) return false;
    return true;
}

// Visible characters only: no space, no control character, nothing past
// ASCII, and no fragment (a browser never sends one).
bool IsTarget(QByteArrayView text) {
    if (!text.startsWith('/')) return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '#') return false;
    }
    return true;
}

bool IsFieldValue(QByteArrayView text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7F) return false;
    }
    return true;
}

}  // namespace

std::optional<RequestLine> ParseRequestLine(QByteArrayView line) {
    const qsizetype firstSpace = line.indexOf(' ');
    const qsizetype lastSpace = line.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace == firstSpace) return std::nullopt;
    const QByteArrayView method = line.first(firstSpace);
    const QByteArrayView target = line.sliced(firstSpace + 1, lastSpace - firstSpace - 1);
    const QByteArrayView version = line.sliced(lastSpace + 1);
    if (method.size() > kMaxMethodLength || !IsToken(method) || !IsTarget(target)) return std::nullopt;
    if (version != QByteArrayView("HTTP/1.1") && version != QByteArrayView("HTTP/1.0")) return std::nullopt;
    RequestLine out;
    out.method = method.toByteArray();
    const qsizetype question = target.indexOf('?');
    out.path = (question < 0 ? target : target.first(question)).toByteArray();
    if (question >= 0) out.query = target.sliced(question + 1).toByteArray();
    return out;
}

std::optional<HeaderFields> HeaderFields::Parse(QByteArrayView lines) {
    HeaderFields out;
    while (!lines.isEmpty()) {
        const qsizetype end = lines.indexOf("\r\n");
        if (end < 0) return std::nullopt;
        const QByteArrayView line = lines.first(end);
        lines = lines.sliced(end + 2);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(line.first(colon))) return std::nullopt;
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        if (!IsFieldValue(value)) return std::nullopt;
        out.fields_.emplace_back(line.first(colon).toByteArray().toLower(), value.toByteArray());
    }
    return out;
}

std::vector<QByteArray> HeaderFields::values(QByteArrayView name) const {
    std::vector<QByteArray> out;
    for (const auto& [fieldName, value] : fields_)
        if (fieldName.compare(name, Qt::CaseInsensitive) == 0) out.push_back(value);
    return out;
}

}  // namespace remote
