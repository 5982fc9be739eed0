#pragma once
// What a restore would change, position by position: the backup's side
// beside the device's, for the restore dialog to show before anything is
// sent. The device's side comes from the library; its data only from blocks
// the caller has read (ReadPresetBlockInto), and only where it matters.
#include <array>
#include <optional>
#include <string>

#include "model/preset_library.h"
#include "presets/device_backup.h"

namespace presets {

enum class PositionMatch {
    Same,              // both unused, or both used with the same name and data
    Different,         // used on one side only, or a different name or data
    NeedsDeviceBlock,  // both used under the same name: the device's block decides
};

struct PositionComparison {
    bool fileUsed = false;
    std::u32string fileName;  // the backup's name bytes, one character each
    bool deviceUsed = false;
    std::u32string deviceName;  // as the library lists it
    PositionMatch match = PositionMatch::Different;
};

// index = position - 5.
using DeviceBlocks = std::array<std::optional<DeviceBlock>, model::kUserPositions>;
using BackupComparison = std::array<PositionComparison, model::kUserPositions>;

BackupComparison CompareWithDevice(const DeviceBackup& backup, const model::PresetLibrary& library,
                                   const DeviceBlocks& deviceBlocks = {});

}  // namespace presets
