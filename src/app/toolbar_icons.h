#pragma once
// The toolbar's icons, drawn by the program itself so that they ship with it
// and stay sharp at any screen scale.
#include <QIcon>
#include <QPalette>

class QAction;

namespace app {

enum class ToolbarIcon { LoadFromPc, SaveToPc, StoreToDevice, ReadFromDevice, CopyLeftToRight, CopyRightToLeft };

// Drawn in the palette's colours, so that a dark theme keeps every line.
QIcon MakeToolbarIcon(ToolbarIcon which, const QPalette& palette);
// The program's own icon: a response curve with one deep notch.
QIcon MakeApplicationIcon();

struct ToolbarEntry {
    int index;  // in the toolbar's button array
    QAction* action;
    ToolbarIcon icon;
};

}  // namespace app
