#pragma once
// Preset names travel as eight single-byte characters (Latin-1), centred
// with spaces; the fixed names shown for empty and factory positions.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace model {

inline constexpr int kNameLength = 8;
using PresetNameBytes = std::array<std::uint8_t, kNameLength>;

inline constexpr std::u32string_view kEmptyPresetName = U" Empty  ";

// Centres the text in eight characters (an odd space goes in front) and codes
// it; a text of eight or more characters is cut to its first eight. Returns
// nothing when one of the coded characters lies outside Latin-1, so a name is
// never stored wrongly.
std::optional<PresetNameBytes> PadPresetName(std::u32string_view text);

// One character per byte, in address order; always eight characters.
std::u32string DecodePresetName(std::span<const std::uint8_t> bytes);

// The name as a list can show it: control characters become a visible
// placeholder so they cannot break a line; the stored name is untouched.
std::u32string PrintablePresetName(std::u32string_view name);

}  // namespace model
