#pragma once
// The SearchControl frames that switch the device's feedback search on and
// off from the search boxes. They carry the automatic search bytes of the
// image as they are when the frame is sent.
#include <cstdint>

#include "devlink/frame.h"
#include "model/preset_image.h"

namespace notch {

// Selector 0 (both channels) and 1 (Left) carry the Left channel's bytes,
// selector 2 (Right) the Right channel's.
devlink::Payload SearchStartPayload(const model::PresetImage& image, std::uint8_t selector);
// One frame stops every search: selector 0 with the Left channel's bytes.
devlink::Payload SearchStopPayload(const model::PresetImage& image);

}  // namespace notch
