#pragma once
// The frames of a store into one of the writable positions: the 160 data
// bytes, the 8 name bytes, and last the used marker. A store over a used
// position first marks it unused, so that a store cut short never leaves
// half of one preset and half of another under a marker that says "used".
#include <array>

#include "devlink/frame.h"
#include "model/preset_image.h"
#include "model/preset_name.h"
#include "model/value_tables.h"

namespace presets {

// One progress step per data or name byte; the bar's end is never reached.
inline constexpr int kStoreProgressMaximum = 171;
inline constexpr int kStoreByteFrames = model::kBlockSize + model::kNameLength;  // 168
inline constexpr int kStoreFrameCount = kStoreByteFrames + 1;                    // and the marker
using StorePlan = std::array<devlink::Payload, kStoreFrameCount>;
using NamePlan = std::array<devlink::Payload, model::kNameLength>;

// slot = position - 5, 0..15. Image byte 160 is not the device's and is not written.
StorePlan StorePayloads(const model::PresetImage& image, const model::PresetNameBytes& name, int slot);
// The name's eight frames of that plan, alone: a rename writes only these.
NamePlan NamePayloads(const model::PresetNameBytes& name, int slot);
// The frame that marks position slot + 5 unused before it is overwritten.
devlink::Payload UnmarkPayload(int slot);

}  // namespace presets
