#pragma once
// Judges the keys typed into one of the editor's number boxes, as they
// arrive: keys that produce a character are passed, committed (Enter) or
// refused; a refused key, or an Enter whose text does not commit, shows the
// box's warning and leaves a "?" in the box in the key's place. Keys that
// produce no character (arrows, Tab, Home, End, Delete, shortcuts) pass
// untouched.
#include <QObject>
#include <functional>

#include "notch/typed_entry.h"

class QLineEdit;

namespace editor {

class TypedKeyFilter final : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<bool()> quiet;   // true: every key passes unjudged
        std::function<bool()> commit;  // Enter; false when the text is refused
        std::function<void()> warn;    // the box's warning message
    };

    // Installs itself on the box, which owns it.
    static void install(QLineEdit* box, notch::TypedBox kind, Handlers handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TypedKeyFilter(QLineEdit* box, notch::TypedBox kind, Handlers handlers);

    QLineEdit* box_;
    notch::TypedBox kind_;
    Handlers handlers_;
};

}  // namespace editor
