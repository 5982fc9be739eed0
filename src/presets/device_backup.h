#pragma once
// Everything a backup keeps of the device: the running program's name, the
// sixteen writable positions 5..20 and the current settings, with when and
// by which version of this program it was made. Bytes are the device's own,
// unchanged: names are its eight name bytes, blocks its 160 data bytes.
#include <array>
#include <cstdint>
#include <string>

#include "model/preset_library.h"
#include "model/preset_name.h"
#include "model/value_tables.h"

namespace presets {

using DeviceBlock = std::array<std::uint8_t, model::kBlockSize>;

struct BackupPosition {
    bool used = false;
    model::PresetNameBytes name{};  // " Empty  " for an unused position
    DeviceBlock data{};             // only a used position's is kept in the file
    bool operator==(const BackupPosition&) const = default;
};

struct DeviceBackup {
    model::PresetNameBytes programName{};
    std::array<BackupPosition, model::kUserPositions> positions{};  // index = position - 5
    DeviceBlock current{};                                          // the settings the device runs
    std::string created;         // UTC, ISO 8601 to the second: "2026-12-08T14:03:27Z"
    std::string programVersion;  // of the program that made it: "1.0"
    bool operator==(const DeviceBackup&) const = default;
};

}  // namespace presets
