#pragma once
// The frames that put a whole preset into the device's current settings,
// worked out without a window: the same frames, in the same order, that the
// parameter editor sends when it applies a preset. Undo and the device
// restore send these, so the device ends up where the editor would leave it.
#include <vector>

#include "devlink/frame.h"
#include "model/preset_image.h"

namespace notch {

// Notch n's SetNotch frame for what its image record holds (its codes in
// range), as the editor sends it once the record is shown in the row.
devlink::Payload NotchPayload(const model::PresetImage& image, int n);
// The channel's six settings frames: count, width, attenuation,
// sensitivity, release speed, search mode.
void AppendChannelSettings(std::vector<devlink::Payload>& out, const model::PresetImage& image, int channel);

// Every notch (Left rows 1..12, then Right rows 1..12), then each channel's
// automatic settings (Left, then Right): count, width, attenuation and
// sensitivity as SearchControl, release speed and search mode as
// SetReleaseMode. An image holding out-of-range codes is clamped first, as
// the editor clamps it, so no code outside its table reaches the line.
std::vector<devlink::Payload> PresetApplicationPayloads(const model::PresetImage& image);

// Only the frames of parameters that differ between the two images, in the
// same order: a notch's frame when its four-byte record differs, and all six
// settings frames of a channel when any of its six automatic bytes differ.
// Both images are compared after clamping; the frames carry `after`.
std::vector<devlink::Payload> ChangedParameterPayloads(const model::PresetImage& before,
                                                       const model::PresetImage& after);

}  // namespace notch
