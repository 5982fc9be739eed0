#pragma once
// The main window's centre: the one parameter editor, with no frame,
// title bar or buttons of its own. Tab past the editor's last control (or
// Shift+Tab before its first) leaves it for the toolbar, so the keyboard
// goes round the window in one loop.
#include <QWidget>
#include <functional>

namespace app {

class EditorFrame : public QWidget {
public:
    // `leave(next)` takes the focus out: forward after the last control,
    // backward before the first.
    EditorFrame(QWidget* editor, std::function<void(bool next)> leave, QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    std::function<void(bool)> leave_;
};

}  // namespace app
