#pragma once
// Images whose every byte is telling: codes in range but unlike the
// defaults, so a byte that goes astray shows, and consistent, so that the
// editor shows them without changing a byte.
#include "model/preset_image.h"

namespace presets_test {

inline model::PresetImage VariedImage(int seed = 0) {
    model::PresetImage image{};
    for (int i = 0; i < model::kImageSize; ++i) image[i] = static_cast<std::uint8_t>((i * 13 + seed * 5 + 1) & 0xFF);
    for (int n = 0; n < model::kNotches; ++n)
        model::WriteNotchRecord(image, n, {(n * 7 + seed) % 46, (n * 31 + seed * 3 + 5) % 730, (n + seed) % 4});
    for (int c = 0; c < model::kChannels; ++c) {
        image[model::NumNotchAutoOffset[c]] = static_cast<std::uint8_t>(1 + (c * 5 + seed) % 12);
        image[model::QNotchAutoOffset[c]] = static_cast<std::uint8_t>((c + seed) % 4);
        image[model::AttenuationModeOffset[c]] = static_cast<std::uint8_t>((c + seed) % 2);
        image[model::SensitivityOffset[c]] = static_cast<std::uint8_t>((c * 9 + seed) % 16);
        image[model::ReleaseSpeedOffset[c]] = static_cast<std::uint8_t>((c + seed + 1) % 2);
        image[model::SearchModeOffset[c]] = static_cast<std::uint8_t>((c + seed) % 2);
        // The automatic rows take the automatic width, as the editor shows them.
        for (int row = 0; row < image[model::NumNotchAutoOffset[c]]; ++row)
            image[model::NotchRecordOffset[c * model::kRowsPerChannel + row] + 3] = image[model::QNotchAutoOffset[c]];
    }
    image[model::kSpareByte] = static_cast<std::uint8_t>(0xC3 ^ seed);
    return image;
}

}  // namespace presets_test
