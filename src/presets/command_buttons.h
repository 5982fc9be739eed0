#pragma once
// Command1 of both dialogs: index 0 "Cancel", index 1 the dialog's action,
// which Enter presses.
#include <QString>
#include <array>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace presets {

using CommandButtons = std::array<QPushButton*, 2>;

// The buttons in a row, action first, added to `layout`.
CommandButtons MakeCommandButtons(QWidget* dialog, QBoxLayout* layout, const QString& action);

}  // namespace presets
