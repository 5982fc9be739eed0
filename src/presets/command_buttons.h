#pragma once
// Command1 of both dialogs: index 0 "Cancel", index 1 the dialog's action,
// which Enter presses.
#include <QString>
#include <array>

#include "devlink/device_work.h"

class QBoxLayout;
class QPushButton;
class QWidget;

namespace presets {

using CommandButtons = std::array<QPushButton*, 2>;

// The buttons in a row, action first, added to `layout`.
CommandButtons MakeCommandButtons(QWidget* dialog, QBoxLayout* layout, const QString& action);

// Both buttons locked while a transfer holds the device (the dialog's own
// store or read included): the action would be refused, and Cancel would
// close the window around a transfer that still runs.
[[nodiscard]] devlink::DeviceWork::Watch LockWhileDeviceHeld(devlink::DeviceWork& work, const CommandButtons& buttons);

}  // namespace presets
