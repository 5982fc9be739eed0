// What a user types: numbers into the gain, frequency and sensitivity boxes
// and preset names of any code points. A number snaps into its box's range,
// and the text it leaves snaps to the same code again; a name codes to
// eight bytes only when every character fits in one, and those bytes decode
// to the padded name.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/number_text.h"
#include "model/preset_name.h"
#include "model/value_tables.h"
#include "notch/typed_entry.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckNumber(std::string_view text) {
    const auto value = model::ParseNumber(text);
    if (value) Require(std::isfinite(*value));
    const auto gain = notch::SnapTypedGain(text);
    const auto freq = notch::SnapTypedFreq(text);
    const auto sensitivity = notch::SnapTypedSensitivity(text);
    Require(gain.has_value() == value.has_value() && freq.has_value() == value.has_value() &&
            sensitivity.has_value() == value.has_value());
    if (!value) return;
    Require(gain->code >= 0 && gain->code <= model::kMaxGainCode);
    Require(gain->text == std::to_string(gain->code - model::kMaxGainCode));
    Require(notch::SnapTypedGain(gain->text)->code == gain->code);
    Require(freq->code >= 0 && freq->code <= model::kMaxFreqCode);
    Require(freq->text == model::FormatNumber(model::FreqTable[freq->code]));
    Require(notch::SnapTypedFreq(freq->text)->code == freq->code);
    Require(sensitivity->position >= 0 && sensitivity->position <= model::kMaxSensitivity);
    Require(sensitivity->text == std::to_string(sensitivity->position + 1));
    Require(notch::SnapTypedSensitivity(sensitivity->text)->position == sensitivity->position);
}

// Bytes below 0xF8 are code points 0..0xF7 themselves; a byte from 0xF8
// starts a code point of any size, its low three bits and three more bytes.
std::u32string CodePoints(const std::uint8_t* data, std::size_t size) {
    std::u32string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF8 || i + 3 >= size) {
            text.push_back(data[i]);
            continue;
        }
        text.push_back(
            static_cast<char32_t>((data[i] & 7u) << 24 | data[i + 1] << 16 | data[i + 2] << 8 | data[i + 3]));
        i += 3;
    }
    return text;
}

void CheckName(const std::u32string& text) {
    for (const char32_t ch : text) {
        const auto verdict = notch::JudgeKey(notch::TypedBox::Gain, ch);
        Require((verdict == notch::KeyVerdict::Pass) ==
                (ch == notch::kBackspace || ch == U'-' || (ch >= U'0' && ch <= U'9')));
    }
    std::u32string padded = text.substr(0, model::kNameLength);
    if (padded.size() < model::kNameLength) {
        const std::size_t spaces = model::kNameLength - padded.size();
        padded = std::u32string((spaces + 1) / 2, U' ') + padded + std::u32string(spaces / 2, U' ');
    }
    bool fits = true;
    for (const char32_t ch : padded) fits = fits && ch <= 0xFF;

    const auto bytes = model::PadPresetName(text);
    Require(bytes.has_value() == fits);
    if (bytes) Require(model::DecodePresetName(*bytes) == padded);
    const std::u32string shown = model::PrintablePresetName(padded);
    Require(shown.size() == padded.size());
    for (const char32_t ch : shown) Require(ch >= 0x20 && !(ch >= 0x7F && ch < 0xA0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckNumber(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckName(CodePoints(data, size));
    return 0;
}
