#pragma once
// The start-up read of the device: which positions hold presets, their names,
// the running program's name and the current settings, then every search
// switched off with the settings just read.
#include <functional>
#include <string>

#include "devlink/device_link.h"
#include "model/preset_image.h"
#include "model/preset_library.h"

namespace devlink {

struct DumpHooks {
    std::function<void(const std::string& status)> status;
    // Reads done so far of the reads this dump will make (known once the
    // markers are in).
    std::function<void(int done, int total)> progress;
    // Fills the editor from the image with sending suppressed; runs before
    // the closing SearchControl frames, which send the bytes it leaves.
    std::function<void()> fillEditor;
};

inline constexpr char kDumpStatus[] = "Dumping memory: please wait ";

// Frames a dump sends for the given number of used positions 5..20.
int DumpFrameCount(int usedUserPositions);

// False when the link was lost on the way: what the lists and the image
// then hold is not the device's and must not be shown.
Task<bool> DumpDeviceMemory(DeviceLink& link, model::PresetImage& image, model::PresetLibrary& library,
                            DumpHooks hooks);

}  // namespace devlink
