#include "cli/json_line.h"

#include <cstdio>

namespace cli {

std::string JsonString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void JsonLine::key(std::string_view name) {
    if (!body_.empty()) body_ += ',';
    body_ += JsonString(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    body_ += ':';
}

JsonLine& JsonLine::add(std::string_view name, const QString& text) {
    key(name);
    body_ += JsonString(text);
    return *this;
}

JsonLine& JsonLine::add(std::string_view name, int number) {
    key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::add(std::string_view name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::addNumberText(std::string_view name, const std::string& number) {
    key(name);
    body_ += number;
    return *this;
}

JsonLine& JsonLine::merge(const JsonLine& other) {
    if (!body_.empty() && !other.body_.empty()) body_ += ',';
    body_ += other.body_;
    return *this;
}

}  // namespace cli
