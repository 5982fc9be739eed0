#pragma once
// The editor's MDI window. Qt keeps Tab inside a sub-window, cycling its
// controls for ever; here Tab past the last control (or Shift+Tab before
// the first) leaves it, so the keyboard reaches the toolbar again.
#include <QMdiSubWindow>
#include <functional>

namespace app {

class EditorSubWindow : public QMdiSubWindow {
public:
    // `leave(next)` takes the focus out: forward after the last control,
    // backward before the first.
    explicit EditorSubWindow(std::function<void(bool next)> leave, QWidget* parent = nullptr)
        : QMdiSubWindow(parent), leave_(std::move(leave)) {}

protected:
    bool focusNextPrevChild(bool next) override;

private:
    std::function<void(bool)> leave_;
};

}  // namespace app
