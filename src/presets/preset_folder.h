#pragma once
// Where preset files belong: the folder "Preset" beside the program, whatever
// the case of its letters, when it is there and may be written (a copy of the
// program kept in its own folder); otherwise "QRN4480 Presets" in the user's
// documents folder, made when a file is first saved there. Nothing is ever
// written beside an installed program. The file dialogs start in the folder
// last used, while it still exists.
#include <QString>

namespace presets {

// "QRN4480 Presets" in the user's documents folder, whether it exists or not.
QString UserPresetFolder();

// The program's Preset folder when usable, else `userFolder`.
QString PresetFolder(const QString& applicationDir, const QString& userFolder = UserPresetFolder());

// Where a file dialog starts: the folder last used when it still exists, else
// PresetFolder; for saving that folder is made when missing. A folder that
// cannot be made gives way to its nearest existing parent.
QString DialogStartFolder(const QString& applicationDir, bool forSaving,
                          const QString& userFolder = UserPresetFolder());

// Kept in the user's settings for the next dialog and the next run.
void RememberPresetFolder(const QString& folder);

}  // namespace presets
