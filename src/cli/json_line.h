#pragma once
// One JSON object on one line, fields in the order they are added.
#include <QString>
#include <string>
#include <string_view>

namespace cli {

class JsonLine {
public:
    JsonLine& add(std::string_view key, const QString& text);
    JsonLine& add(std::string_view key, const char* text) { return add(key, QString::fromUtf8(text)); }
    JsonLine& add(std::string_view key, int number);
    JsonLine& add(std::string_view key, bool value);
    // A number already written as JSON allows ("20.05", "-6").
    JsonLine& addNumberText(std::string_view key, const std::string& number);

    // The other object's fields after these.
    JsonLine& merge(const JsonLine& other);

    // The object, without a line end.
    std::string text() const { return "{" + body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_;
};

// The text as a JSON string with its quotes; control characters escaped.
std::string JsonString(const QString& text);

}  // namespace cli
