#pragma once
// Beside a name box: what the device will hold, while it differs from the
// text typed (presets::NamePreviewText).
#include <QLabel>

class QLineEdit;

namespace presets {

class NamePreview final : public QLabel {
    Q_OBJECT
public:
    // Follows `nameBox` from now on; the parent owns it.
    NamePreview(QLineEdit* nameBox, QWidget* parent);

private:
    void follow(const QString& typed);
};

}  // namespace presets
