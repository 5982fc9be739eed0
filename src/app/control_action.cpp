#include "app/control_action.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QSignalBlocker>

namespace app {
namespace {

void Follow(QAction& action, const QAbstractButton& control) {
    const QSignalBlocker quiet(&action);
    action.setChecked(control.isChecked());
    action.setEnabled(control.isEnabled());
}

// Enabled changes come as events, not signals.
class EnabledWatch final : public QObject {
public:
    EnabledWatch(QAction& action, QAbstractButton& control) : QObject(&action), action_(action), control_(control) {
        control.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &control_ && event->type() == QEvent::EnabledChange) Follow(action_, control_);
        return false;
    }

private:
    QAction& action_;
    QAbstractButton& control_;
};

}  // namespace

void BindActionToControl(QAction& action, QAbstractButton& control) {
    Follow(action, control);
    new EnabledWatch(action, control);
    QObject::connect(&control, &QAbstractButton::toggled, &action, [&action, &control] { Follow(action, control); });
    // The action's own toggle is taken back: only the control's click
    // decides what is checked.
    QObject::connect(&action, &QAction::triggered, &control, [&action, &control] {
        Follow(action, control);
        control.click();
    });
}

}  // namespace app
