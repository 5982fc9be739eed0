#pragma once
// The values an option or argument may take, checked the way the editor's
// controls check them and snapped onto the device's grid as its boxes snap
// them (1000 Hz becomes 1003). Each returns nothing and says why when the
// value is outside what the editor's control could ever hold.
#include <QString>
#include <optional>
#include <vector>

namespace cli {

std::optional<int> ParseChannelWord(const QString& text);   // "left" 0, "right" 1
std::optional<int> ParseSearchTarget(const QString& text);  // "both" 0, "left" 1, "right" 2

std::optional<int> ParseRow(const QString& text, QString* why);          // 1..12 as 0..11
std::optional<int> ParseFreqCode(const QString& text, QString* why);     // 20..20000 Hz
std::optional<int> ParseGainCode(const QString& text, QString* why);     // -45..0 dB
std::optional<int> ParseWidthCode(const QString& text, QString* why);    // "1/70" .. "1/5"
std::optional<int> ParseAutoCount(const QString& text, QString* why);    // 1..12
std::optional<int> ParseSensitivity(const QString& text, QString* why);  // 1..16 as 0..15
// One of the editor's two words for a two-state setting, in any case.
std::optional<int> ParseDepth(const QString& text, QString* why);    // fixed, variable
std::optional<int> ParseRelease(const QString& text, QString* why);  // slow, fast
std::optional<int> ParseMode(const QString& text, QString* why);     // sharp, fast

std::optional<int> ParsePosition(const QString& text, int first, QString* why);  // first..20
// "5,7-9": positions 5..20, each once, ascending.
std::optional<std::vector<int>> ParsePositionList(const QString& text, QString* why);
std::optional<double> ParseSeconds(const QString& text, QString* why);  // more than 0
// A port number must name one of the 35 ports; any other text is a path.
bool LooksLikePortNumber(const QString& text);
std::optional<int> ParsePortNumber(const QString& text, QString* why);

}  // namespace cli
