#pragma once
// The name a position holds once stored: the typed text centred and cut to
// eight characters. The store window keeps the text as typed, so a user who
// types more, or the command-line tool's report, needs to be told what the
// device will list.
#include <QString>

#include "model/preset_name.h"

namespace presets {

// The eight characters as the device lists them, blanks included.
QString HeldNameText(const model::PresetNameBytes& bytes);

// "On the device: "A very l"" while the device would hold something other
// than the typed text; empty when they agree but for the centring blanks, or
// when the text cannot be coded at all (the store refuses it with its own
// message).
QString NamePreviewText(const QString& typed);

}  // namespace presets
