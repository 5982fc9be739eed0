#pragma once
// A backup whose bytes all differ from one field to the next, and the bytes
// of its file, for the backup tests.
#include <algorithm>
#include <string>
#include <vector>

#include "preset_image_fixture.h"
#include "presets/backup_format.h"
#include "presets/crc32.h"

namespace presets_test {

inline model::PresetNameBytes NameOf(const std::string& padded) {
    model::PresetNameBytes name{};
    std::copy_n(padded.begin(), name.size(), name.begin());
    return name;
}

inline presets::DeviceBlock BlockOf(const model::PresetImage& image) {
    presets::DeviceBlock block{};
    std::copy_n(image.begin(), block.size(), block.begin());
    return block;
}

// Positions 5 and 7 used, the rest empty.
inline presets::DeviceBackup SampleBackup() {
    presets::DeviceBackup backup;
    backup.programName = NameOf("SIM 4480");
    for (auto& position : backup.positions) position.name = NameOf(" Empty  ");
    backup.positions[0] = {true, NameOf("  LIVE  "), BlockOf(VariedImage(1))};
    backup.positions[2] = {true, NameOf(" CHURCH "), BlockOf(VariedImage(2))};
    backup.current = BlockOf(VariedImage(3));
    backup.created = "2026-12-08T10:00:00Z";
    backup.programVersion = "1.0";
    return backup;
}

// Puts a fresh checksum after the bytes, so that a test reaches the checks
// behind it.
inline void Reseal(std::vector<std::uint8_t>& bytes) {
    bytes.resize(bytes.size() - 4);
    const std::uint32_t crc = presets::Crc32(bytes);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
}

}  // namespace presets_test
