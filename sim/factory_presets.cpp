#include "sim/factory_presets.h"

#include <algorithm>

#include "sim/device_protocol.h"

namespace sim {
namespace {

using namespace model;

constexpr PresetBlock buildPreset(int p) {
    PresetBlock block = DefaultImage;
    for (int c = 0; c < kChannels; ++c) {
        for (int row = 0; row < kRowsPerChannel; ++row) {
            // Spread the notches over the band, each preset starting a bit
            // higher and the Right channel a bit above the Left.
            const int freq = 40 + 40 * p + 50 * row + 10 * c;
            const auto r = static_cast<std::size_t>(
                NotchRecordOffset[static_cast<std::size_t>(c) * kRowsPerChannel + static_cast<std::size_t>(row)]);
            block[r] = static_cast<std::uint8_t>(kMaxGainCode - 3 * ((row + p) % 8));
            block[r + 1] = static_cast<std::uint8_t>(freq / 256);
            block[r + 2] = static_cast<std::uint8_t>(freq % 256);
            block[r + 3] = static_cast<std::uint8_t>((row + p) % (kMaxWidthCode + 1));
        }
        const auto at = [&](const std::array<int, kChannels>& offsets) -> std::uint8_t& {
            return block[static_cast<std::size_t>(offsets[static_cast<std::size_t>(c)])];
        };
        at(NumNotchAutoOffset) = static_cast<std::uint8_t>(4 + 2 * p);
        at(QNotchAutoOffset) = static_cast<std::uint8_t>(p % (kMaxWidthCode + 1));
        at(AttenuationModeOffset) = static_cast<std::uint8_t>(p % 2);
        at(SensitivityOffset) = static_cast<std::uint8_t>(3 + 3 * p);
        at(ReleaseSpeedOffset) = static_cast<std::uint8_t>(p % 2);
        at(SearchModeOffset) = static_cast<std::uint8_t>((p / 2) % 2);
    }
    return block;
}

constexpr std::array<PresetBlock, kFactoryPresets> kPresets = {buildPreset(0), buildPreset(1), buildPreset(2),
                                                               buildPreset(3)};

static_assert(40 + 40 * (kFactoryPresets - 1) + 50 * (kRowsPerChannel - 1) + 10 * (kChannels - 1) <= kMaxFreqCode);
static_assert(4 + 2 * (kFactoryPresets - 1) <= kMaxNumNotchAuto);
static_assert(3 + 3 * (kFactoryPresets - 1) <= kMaxSensitivity);

}  // namespace

const PresetBlock& factoryPreset(int index) {
    return kPresets[static_cast<std::size_t>(std::clamp(index, 0, kFactoryPresets - 1))];
}

}  // namespace sim
