#include "editor/elided_label.h"

#include <QPainter>
#include <algorithm>

namespace editor {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

// Room for a letter and the ellipsis: never less than a hint of the text.
QSize ElidedLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    if (text().isEmpty()) return full;
    return {std::min(full.width(), fontMetrics().horizontalAdvance(text().left(1) + QChar(0x2026))), full.height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect room = contentsRect();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(room, static_cast<int>(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

}  // namespace editor
