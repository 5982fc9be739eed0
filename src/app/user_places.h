#pragma once
// What belongs to the user rather than to the installed program: the window's
// place in the user's settings, and who may open a serial port.
#include <QString>

class QWidget;

namespace app {

// The name of the group that owns the file or device at `path`; empty when
// the path cannot be examined or the group has no name.
QString FileGroupName(const QString& path);

// The box text for a port that exists but may not be opened: it names the
// group the device really belongs to, so the advice works where serial ports
// belong to another group than dialout.
QString PortPermissionMessage(int port, const QString& devicePath);

// Shows the window at its size and place from the last run, maximized when
// none was kept.
void ShowWithRememberedGeometry(QWidget& window);
void RememberWindowGeometry(const QWidget& window);

// The file that keeps the editor's settings while it runs, in the user's
// data folder.
QString AutosavePath();

}  // namespace app
