#pragma once
// A label that gives way when its row runs short: it ends in "…" rather
// than pushing the controls beside it off the window, and its tool tip and
// accessible name keep the whole text (whoever sets the text sets the tip).
#include <QLabel>

namespace editor {

class ElidedLabel final : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace editor
