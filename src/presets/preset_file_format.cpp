#include "presets/preset_file_format.h"

#include <algorithm>

namespace presets {

PresetFileContent ParsePresetFile(std::span<const std::uint8_t> bytes) {
    PresetFileContent content;
    if (bytes.size() < static_cast<std::size_t>(kPresetFileSize)) {
        content.check = PresetFileCheck::TooShort;
        return content;
    }
    std::copy_n(bytes.begin(), kPresetFileSize, content.image.begin());
    if (!model::ImageCodesInRange(content.image)) content.check = PresetFileCheck::Damaged;
    return content;
}

}  // namespace presets
