#pragma once
// Texts the preset dialogs compute: position numbers, the read question and
// the editor's title of a preset.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace presets {

// "05", "20": positions as the lists and Combo1 show them.
QString PositionText(int position);
// The number column beside a list: one two-digit position per line.
QString NumberColumnText(int firstPosition, int lastPosition);
// "Overwrite current editing with the preset 7, are you sure ? "
QString ReadQuestionText(int position);
// "7: NAME": the position without leading zero, a colon, a blank, the name.
std::u32string PresetTitleText(int position, std::u32string_view name);
// The slot (position - 5, 0..15) Combo1's text names, when it is exactly one
// of its items "05".."20"; nothing for a text typed over them.
std::optional<int> SlotFromPositionText(const QString& text);

}  // namespace presets
