#pragma once
// The toolbar's icons, drawn by the program itself so that they ship with it
// and stay sharp at any screen scale.
#include <QIcon>

namespace app {

enum class ToolbarIcon { LoadFromPc, SaveToPc, StoreToDevice, ReadFromDevice, CopyLeftToRight, CopyRightToLeft };

QIcon MakeToolbarIcon(ToolbarIcon which);
// The program's own icon: a response curve with one deep notch.
QIcon MakeApplicationIcon();

}  // namespace app
