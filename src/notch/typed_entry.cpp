#include "notch/typed_entry.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/value_tables.h"
#include "notch/snapping.h"

namespace notch {

KeyVerdict JudgeKey(TypedBox box, char32_t ch) {
    if (ch == kEnter) return KeyVerdict::Enter;
    if (ch == kBackspace || (ch >= U'0' && ch <= U'9')) return KeyVerdict::Pass;
    if (box == TypedBox::Gain && ch == U'-') return KeyVerdict::Pass;
    return KeyVerdict::Reject;
}

std::optional<SnappedGain> SnapTypedGain(std::string_view text) {
    const auto value = model::ParseNumber(text);
    if (!value) return std::nullopt;
    const int code = NearestGainCode(std::clamp(*value, -45.0, 0.0));
    return SnappedGain{code, std::to_string(code - model::kMaxGainCode)};
}

std::optional<SnappedFreq> SnapTypedFreq(std::string_view text) {
    const auto value = model::ParseNumber(text);
    if (!value) return std::nullopt;
    const int code = NearestFreqCode(std::clamp(*value, 20.0, 20000.0));
    return SnappedFreq{code, model::FormatNumber(model::FreqTable[code])};
}

std::optional<SnappedSensitivity> SnapTypedSensitivity(std::string_view text) {
    const auto value = model::ParseNumber(text);
    if (!value) return std::nullopt;
    const int shown = NearestSensitivity(std::clamp(*value, 1.0, 16.0));
    return SnappedSensitivity{shown - 1, std::to_string(shown)};
}

}  // namespace notch
