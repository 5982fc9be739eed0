#include "editor/settings_step.h"

#include "editor/edit_history.h"

namespace editor {
namespace {

// QUndoCommand's text after a line break is what the Undo and Redo actions
// show, where a single "&" would be taken for a mnemonic and vanish
// ("Link Left & Right").
QString WithMenuText(const QString& text) { return text + QLatin1Char('\n') + QString(text).replace('&', "&&"); }

}  // namespace

SettingsStep::SettingsStep(EditHistory& history, const SettingsSnapshot& before, const SettingsSnapshot& after,
                           const QString& text, int gesture)
    : QUndoCommand(WithMenuText(text)), history_(history), before_(before), after_(after), gesture_(gesture) {}

void SettingsStep::undo() { history_.apply(patched(before_)); }

void SettingsStep::redo() {
    if (!pushed_) {
        pushed_ = true;
        return;
    }
    history_.apply(patched(after_));
}

bool SettingsStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const SettingsStep*>(other);
    if (!next || gesture_ == 0 || next->gesture_ != gesture_ || next->text() != text()) return false;
    after_ = next->after_;
    // A drag that ends where it began changed nothing.
    setObsolete(before_ == after_);
    return true;
}

SettingsSnapshot SettingsStep::patched(const SettingsSnapshot& target) const {
    SettingsSnapshot result = history_.current();
    for (std::size_t i = 0; i < result.image.size(); ++i)
        if (before_.image[i] != after_.image[i]) result.image[i] = target.image[i];
    if (before_.linked != after_.linked) result.linked = target.linked;
    return result;
}

}  // namespace editor
