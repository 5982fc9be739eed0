#include "editor/typed_key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

namespace editor {
namespace {

// The character a key event types, or nothing when it types none. As for
// the box itself, only Ctrl and Ctrl+Shift make a printable key a shortcut:
// a character typed with AltGr (Ctrl+Alt on Windows) or Option (Alt on a
// Mac) lands in the box like any other, so it is judged like any other.
std::optional<char32_t> TypedCharacter(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return notch::kEnter;
    if (key.key() == Qt::Key_Backspace) return notch::kBackspace;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return std::nullopt;
    const char32_t ch = key.text().toUcs4().value(0);
    if (!QChar::isPrint(ch)) return std::nullopt;  // none, or Tab, Escape, Delete: editing, not typing
    return ch;
}

}  // namespace

TypedKeyFilter::TypedKeyFilter(QLineEdit* box, notch::TypedBox kind, Handlers handlers)
    : QObject(box), box_(box), kind_(kind), handlers_(std::move(handlers)) {}

void TypedKeyFilter::install(QLineEdit* box, notch::TypedBox kind, Handlers handlers) {
    box->installEventFilter(new TypedKeyFilter(box, kind, std::move(handlers)));
}

bool TypedKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_ || event->type() != QEvent::KeyPress) return false;
    const auto ch = TypedCharacter(*static_cast<QKeyEvent*>(event));
    if (!ch || handlers_.quiet()) return false;
    switch (notch::JudgeKey(kind_, *ch)) {
    case notch::KeyVerdict::Pass: return false;
    case notch::KeyVerdict::Enter:
        if (handlers_.commit()) return true;
        break;
    case notch::KeyVerdict::Reject: break;
    }
    handlers_.warn();
    box_->insert(QStringLiteral("?"));
    return true;
}

}  // namespace editor
