#pragma once
// A .Fbk file is the 161 bytes of the preset image and nothing else: no
// header, name or checksum, so its length and its codes are all there is to
// check before a file may replace the editor's preset.
#include <cstdint>
#include <span>

#include "model/preset_image.h"

namespace presets {

inline constexpr int kPresetFileSize = model::kImageSize;

enum class PresetFileCheck {
    Ok,
    TooShort,  // fewer than 161 bytes: the missing ones have no meaning
    Damaged,   // a code outside its range: no editor control can show it
};

struct PresetFileContent {
    PresetFileCheck check = PresetFileCheck::Ok;
    model::PresetImage image{};  // meaningful only when check is Ok
};

// Looks at the first 161 bytes; anything after them is ignored.
PresetFileContent ParsePresetFile(std::span<const std::uint8_t> bytes);

}  // namespace presets
