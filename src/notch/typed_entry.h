#pragma once
// The editor's typed boxes, short of the window: which typed characters a
// box takes as they come, and what Enter turns its text into. Each box
// snaps its number onto the device's grid after clamping it to its range.
#include <optional>
#include <string>
#include <string_view>

namespace notch {

enum class TypedBox { Gain, Frequency, Sensitivity };

// What a key that produces a character does to a box.
enum class KeyVerdict {
    Pass,    // ordinary editing: digits, Backspace, "-" in the gain box
    Enter,   // commit the box's text
    Reject,  // warn, then put "?" in its place
};

inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kEnter = 13;

KeyVerdict JudgeKey(TypedBox box, char32_t ch);

struct SnappedGain {
    int code = 0;      // 0..45
    std::string text;  // code - 45: "-45" .. "0"
};
struct SnappedFreq {
    int code = 0;      // 0..729
    std::string text;  // the table entry: "20", "1003", "20000"
};
struct SnappedSensitivity {
    int position = 0;  // slider position 0..15
    std::string text;  // "1" .. "16"
};

// Nothing when the text is not a number (empty, "-", "7?", ...).
std::optional<SnappedGain> SnapTypedGain(std::string_view text);
std::optional<SnappedFreq> SnapTypedFreq(std::string_view text);
std::optional<SnappedSensitivity> SnapTypedSensitivity(std::string_view text);

}  // namespace notch
