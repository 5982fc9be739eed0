#pragma once
// The first part of every read of the whole device: which of the positions
// 5..20 hold presets (their markers), the names of those that do, and the
// name of the program the device runs. The start-up read and the backup
// both begin with it.
#include <cstdint>
#include <functional>
#include <optional>

#include "devlink/device_link.h"
#include "model/preset_library.h"

namespace devlink {

struct LibraryReadSteps {
    // Once the sixteen markers are in, with how many of them say "used".
    std::function<void(int usedUserPositions)> markersRead;
    // After each frame; returning false stops the read before the next one.
    std::function<bool()> frameDone;
};

enum class LibraryReadResult {
    Read,      // the library holds the device's lists and program name
    Stopped,   // frameDone asked to stop; the library is partly filled
    LostLink,  // the link ended on the way; the library holds no truth
};

// One byte of the device's memory (ReadMemoryByte): what the reply carries;
// nothing when the exchange did not complete.
Task<std::optional<std::uint8_t>> ReadMemoryByte(DeviceLink& link, int address);

// Frames the read sends for the given number of used positions 5..20.
int LibraryReadFrameCount(int usedUserPositions);

// Positions 1..4 are listed as used under their fixed names; 5..20 as the
// markers say, an unused one named " Empty  ". Names are the device's bytes,
// one character each.
Task<LibraryReadResult> ReadDeviceLibrary(DeviceLink& link, model::PresetLibrary& library, LibraryReadSteps steps);

}  // namespace devlink
