#pragma once
// What the Edit menu calls each kind of step: "Undo Left notch 4 gain".
#include <QString>

#include "notch/auto_settings.h"

namespace editor {

enum class NotchPart { Gain, Frequency, Width };

// "Left notch 4 gain": the channel, the row as the window numbers it (1..12).
QString NotchStepText(int n, NotchPart part);
// "Right Q notch automatic": the row's caption as the window shows it.
QString SettingStepText(notch::AutoSetting setting, int channel);
// "Reset Left automatic notches", "Reset Right manual notches".
QString ResetStepText(int channel, bool automaticRows);
// "Copy Left to Right".
QString CopyStepText(int from);
// "Link Left & Right" (with the copy it asked for) or "Unlink Left & Right".
QString LinkStepText(bool linked);
// "Read preset 7", by the position's number as the read list shows it.
QString ReadStepText(int position);
// "Load FILE.Fbk".
QString LoadStepText(const QString& fileName);

}  // namespace editor
