#pragma once
// The four presets built into the device (memory positions 1 to 4). They
// differ visibly from each other so that loading one in the editor shows
// that the right block arrived.
#include <array>
#include <cstdint>

#include "sim/device_protocol.h"

namespace sim {

// index 0..3; anything else is clamped into that range.
const PresetBlock& factoryPreset(int index);

}  // namespace sim
