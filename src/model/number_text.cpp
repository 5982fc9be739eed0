#include "model/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace model {

std::string FormatNumber(double value) {
    if (value == 0) value = 0;  // no "-0"
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::optional<double> ParseNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = text.find_last_not_of(" \t");
    std::string body(text.substr(first, last - first + 1));
    if (body.front() == '+') body.erase(0, 1);
    if (body.empty()) return std::nullopt;
    if (body.find('.') == std::string::npos) {
        const auto comma = body.find(',');
        if (comma != std::string::npos) body[comma] = '.';
    }
    for (char ch : body)
        if (!(ch == '-' || ch == '.' || (ch >= '0' && ch <= '9'))) return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec != std::errc() || result.ptr != body.data() + body.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace model
