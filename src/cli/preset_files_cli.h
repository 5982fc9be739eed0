#pragma once
// Preset files for the command line: the editor's reading and writing, with
// its words on one line and a failure sorted into an exit status (a file
// that cannot be read or written, or one that is read and refused).
#include <QString>
#include <optional>

#include "cli/console.h"
#include "model/preset_image.h"

namespace cli {

// The file's image; nothing when it failed, which was said, with `status` set.
std::optional<model::PresetImage> ReadPresetFileOrSay(Console& console, const QString& path, ExitStatus& status);
// Done, or FileError with the reason said.
ExitStatus WritePresetFileOrSay(Console& console, const QString& path, const model::PresetImage& image);

}  // namespace cli
