#pragma once
// Reading and writing .Fbk files, with every failure turned into the box
// that names the file and the reason. No window here: the caller shows it.
#include <QString>
#include <optional>
#include <variant>

#include "ui/user_dialogs.h"
#include "model/preset_image.h"

namespace presets {

// The file's image, or the box that says why it cannot be loaded. Only a
// regular file of at least 161 bytes whose codes all lie in range loads.
std::variant<model::PresetImage, ui::Message> ReadPresetFile(const QString& path);

// Nothing when the file now holds the image; otherwise the box that says
// why not. The file is replaced in one step, so a failed save leaves an
// earlier file of that name as it was; only regular files are replaced.
std::optional<ui::Message> WritePresetFile(const QString& path, const model::PresetImage& image);

}  // namespace presets
