#pragma once
// What the program knows of the device's twenty preset positions: which are
// used and their names. Filled once at start-up (from the device, or with the
// demo names) and kept current by the store, never read again.
#include <array>
#include <string>

#include "model/preset_name.h"
#include "model/value_tables.h"

namespace model {

inline constexpr int kPresetPositions = 20;
inline constexpr int kFixedPositions = 4;     // 1..4, the device's own
inline constexpr int kFirstUserPosition = 5;  // 5..20 can be written
inline constexpr int kUserPositions = kPresetPositions - kFixedPositions;

struct PresetLibrary {
    std::array<bool, kPresetPositions> used{};           // index = position - 1
    std::array<std::u32string, kPresetPositions> names;  // index = position - 1
    std::u32string programName;                          // the program running in the device
    // The editor's title of the loaded preset: "7: NAME", or empty.
    std::u32string presetTitle;

    // Positions 1..4 used with their fixed names, 5..20 empty.
    void resetToFixedOnly() {
        for (int i = 0; i < kPresetPositions; ++i) {
            used[i] = i < kFixedPositions;
            if (i < kFixedPositions) {
                const auto& fixed = DemoPresetName[i];
                names[i] = std::u32string(fixed.begin(), fixed.end());
            } else {
                names[i] = std::u32string(kEmptyPresetName);
            }
        }
    }
};

}  // namespace model
