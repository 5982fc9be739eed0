#include "model/preset_name.h"

namespace model {

std::optional<PresetNameBytes> PadPresetName(std::u32string_view text) {
    std::u32string padded(text);
    const auto length = static_cast<int>(text.size());
    if (length < kNameLength) {
        const int spaces = kNameLength - length;
        const int front = (spaces + 1) / 2;
        padded = std::u32string(front, U' ') + padded + std::u32string(spaces - front, U' ');
    }
    PresetNameBytes bytes{};
    for (int i = 0; i < kNameLength; ++i) {
        const char32_t ch = padded[i];
        if (ch > 0xFF) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(ch);
    }
    return bytes;
}

std::u32string DecodePresetName(std::span<const std::uint8_t> bytes) {
    std::u32string name;
    for (std::uint8_t b : bytes) name.push_back(static_cast<char32_t>(b));
    return name;
}

std::u32string PrintablePresetName(std::u32string_view name) {
    std::u32string shown(name);
    for (char32_t& ch : shown)
        if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) ch = U'\u00B7';
    return shown;
}

}  // namespace model
