#pragma once
// The Help menu's two windows: the keyboard shortcuts, listed from the
// menus' own actions so the list cannot drift from what the keys do, and
// About.
#include <QDialog>
#include <QList>
#include <QString>
#include <utility>

class QAction;
class QMenuBar;

namespace app {

// One row per key: what it does, and the key as the platform writes it.
using ShortcutRow = std::pair<QString, QString>;

// Every action in the menus that has a shortcut, once, with all its keys
// ("Ctrl+Shift+Z or Ctrl+Y"), in menu order; then the keys the editor's bars
// and boxes take.
QList<ShortcutRow> ShortcutRows(const QMenuBar& menus);

class KeyboardShortcutsDialog : public QDialog {
public:
    KeyboardShortcutsDialog(const QList<ShortcutRow>& rows, QWidget* parent = nullptr);
};

struct AboutFacts {
    QString version;
    QString qtVersion;
    QString deviceProgram;  // empty while no device answered
    QString connection;     // the status bar's text
};

QString AboutText(const AboutFacts& facts);

}  // namespace app
