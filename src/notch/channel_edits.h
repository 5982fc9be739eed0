#pragma once
// The two edits that change many rows at once, worked out on the image
// without a window: the copy that links the channels and the reset buttons.
// Each changes the image as the editor's controls change it and returns the
// frames the editor sends for it, in its order. The questions the editor
// asks first are here too, so every place that asks them says the same.
#include <vector>

#include "devlink/frame.h"
#include "model/preset_image.h"
#include "notch/auto_settings.h"

namespace notch {

inline constexpr char kLinkTitle[] = "Link Left & Right";
inline constexpr char kLinkQuestion[] =
    "      You requested to Link channel Left & Right  \r\n"
    "        This will copy channel Left to Right     \r\n"
    "                     confirm?                    ";
inline constexpr char kResetTitle[] = "Reset Filter";
inline constexpr char kResetAutomaticQuestion[] = "Reset all Notch filter automatic, Are you sure ?";
inline constexpr char kResetManualQuestion[] = "Reset all Notch filter manual, Are you sure ?";

// Rows 0..count-1 of a channel belong to the automatic search.
int AutomaticRowCount(const model::PresetImage& image, int channel);

// One automatic setting of a channel, in the image, and its frame; the
// automatic width also goes to the channel's automatic rows.
devlink::Payload SetAutoSetting(model::PresetImage& image, AutoSetting setting, int channel, int state);

// Left's twelve notches and six automatic settings onto Right: Right's
// notches in row order, then Right's settings (count, width, attenuation,
// sensitivity, release speed, search mode).
std::vector<devlink::Payload> CopyLeftToRight(model::PresetImage& image);

// 0 dB on the channel's automatic rows, or on its manual rows: one frame
// per row, in row order, whatever the row held.
std::vector<devlink::Payload> ResetRows(model::PresetImage& image, int channel, bool automaticRows);

}  // namespace notch
