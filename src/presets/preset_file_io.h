#pragma once
// Reading and writing .Fbk files, with every failure turned into the words
// that name the file and the reason. No window here: the caller shows them.
#include <QString>
#include <optional>
#include <variant>

#include "model/preset_image.h"

namespace presets {

struct PresetFileFailure {
    QString text;
    // A save that failed weighs more than a file that would not load.
    bool critical = false;
};

// The file's image, or why it cannot be loaded. Only a regular file of at
// least 161 bytes whose codes all lie in range loads.
std::variant<model::PresetImage, PresetFileFailure> ReadPresetFile(const QString& path);

// Nothing when the file now holds the image; otherwise why not. The file is
// replaced in one step, so a failed save leaves an earlier file of that name
// as it was; only regular files are replaced.
std::optional<PresetFileFailure> WritePresetFile(const QString& path, const model::PresetImage& image);

}  // namespace presets
