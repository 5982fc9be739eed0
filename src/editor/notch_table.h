#pragma once
// A channel's table of twelve notch rows under "Freq", "Gain" and "Q".
#include <array>

#include "editor/editor_controls.h"

namespace editor {

// Creates notchRowsFrame of the channel with its rows, which it puts into `rows`
// (elements 12 * channel .. 12 * channel + 11).
QWidget* BuildNotchTable(int channel, std::array<NotchRowControls, model::kNotches>& rows);

}  // namespace editor
