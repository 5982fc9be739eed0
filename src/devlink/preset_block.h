#pragma once
// One 160-byte block from the device into the preset image: a preset
// position's data or, with kCurrentSettingsBlock, the settings it runs now.
#include <cstdint>

#include "devlink/device_link.h"
#include "model/preset_image.h"

namespace devlink {

// Index 0..19 is position index + 1. The receive size is the block's for the
// one read and back to a frame's afterwards. Image byte 160 is not the
// device's and stays; nothing is copied when the block did not arrive (demo
// mode, a port that did not reopen, a lost link), and the result is false.
Task<bool> ReadPresetBlockInto(DeviceLink& link, std::uint8_t index, model::PresetImage& image);

}  // namespace devlink
