#pragma once
// What differs between the editor's settings and a device's, one line for
// each notch or automatic setting, as the questions that offer to keep one
// of them list it: "Left notch 3: -9 dB here, 0 dB on the device".
#include <cstddef>
#include <string>
#include <vector>

#include "model/preset_image.h"

namespace notch {

// Every difference, notches first (Left 1..12, Right 1..12), then each
// channel's automatic settings in the window's order. Codes outside their
// range are shown at the nearest end, never read from a table beyond it.
// `hereWord` and `deviceWord` name the two sides.
std::vector<std::string> SettingsDifferences(const model::PresetImage& here, const model::PresetImage& device,
                                             const std::string& hereWord = "here",
                                             const std::string& deviceWord = "on the device");

// The first `shown` of them, then "and N more" for the rest.
std::vector<std::string> ListedDifferences(const std::vector<std::string>& all, std::size_t shown = 8);

}  // namespace notch
