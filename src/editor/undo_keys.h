#pragma once
// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y in one of the editor's number boxes undo
// and redo the editor's steps: a line edit would otherwise take them for its
// own text, and the user would find the menu's keys dead there.
#include <QObject>

class QAction;
class QKeyEvent;
class QLineEdit;

namespace editor {

// The undo keys' action, or null for any other key.
QAction* UndoKeyAction(const QKeyEvent& key, QAction* undo, QAction* redo);

class UndoKeyFilter final : public QObject {
    Q_OBJECT
public:
    // Installs itself on the box, which owns it.
    static void install(QLineEdit* box, QAction* undo, QAction* redo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UndoKeyFilter(QLineEdit* box, QAction* undo, QAction* redo);

    QAction* undo_;
    QAction* redo_;
};

}  // namespace editor
