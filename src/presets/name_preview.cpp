#include "presets/name_preview.h"

#include <QLineEdit>

#include "presets/held_name.h"

namespace presets {

NamePreview::NamePreview(QLineEdit* nameBox, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("NamePreview"));
    // Blanks at either end are part of what the device holds.
    setTextFormat(Qt::PlainText);
    connect(nameBox, &QLineEdit::textChanged, this, &NamePreview::follow);
    follow(nameBox->text());
}

void NamePreview::follow(const QString& typed) {
    const QString text = NamePreviewText(typed);
    setText(text);
    setAccessibleName(text);
    // A hidden label takes no room, so an ordinary name leaves the window as it was.
    setVisible(!text.isEmpty());
}

}  // namespace presets
