#include "presets/backup_comparison.h"

namespace presets {

BackupComparison CompareWithDevice(const DeviceBackup& backup, const model::PresetLibrary& library,
                                   const DeviceBlocks& deviceBlocks) {
    BackupComparison out;
    for (std::size_t slot = 0; slot < out.size(); ++slot) {
        const BackupPosition& file = backup.positions[slot];
        const std::size_t index = slot + model::kFixedPositions;
        PositionComparison& row = out[slot];
        row.fileUsed = file.used;
        row.fileName = file.used ? model::DecodePresetName(file.name) : std::u32string(model::kEmptyPresetName);
        row.deviceUsed = library.used[index];
        row.deviceName = library.names[index];
        if (!row.fileUsed && !row.deviceUsed)
            row.match = PositionMatch::Same;
        else if (row.fileUsed != row.deviceUsed || row.fileName != row.deviceName)
            row.match = PositionMatch::Different;
        else if (!deviceBlocks[slot])
            row.match = PositionMatch::NeedsDeviceBlock;
        else
            row.match = *deviceBlocks[slot] == file.data ? PositionMatch::Same : PositionMatch::Different;
    }
    return out;
}

}  // namespace presets
