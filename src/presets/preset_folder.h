#pragma once
// Where the file dialogs start: the folder "Preset" beside the program,
// whatever the case of its letters, or the program's folder when there is none.
#include <QString>

namespace presets {

QString PresetFolder(const QString& applicationDir);

}  // namespace presets
