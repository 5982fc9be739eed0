#include "editor/row_number.h"

#include <QPainter>

#include "editor/control_names.h"
#include "editor/graph_painting.h"
#include "model/preset_image.h"

namespace editor {

RowNumber::RowNumber(int channel, int row, int height, QWidget* parent)
    : QLabel(QString::number(row + 1), parent), channel_(channel) {
    setObjectName(ArrayObjectName("RowNumber", model::NotchIndex(channel, row)));
    setAccessibleName(NotchControlName(channel, row, "number"));
    setAccessibleDescription(QStringLiteral("off"));
    QFont bold = LabelFont(font());
    bold.setBold(true);
    setFont(bold);
    setFixedSize(fontMetrics().horizontalAdvance(QStringLiteral("12")) + 6, height);
}

void RowNumber::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    setAccessibleDescription(active ? QStringLiteral("active") : QStringLiteral("off"));
    update();
}

void RowNumber::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& p = palette();
    const QRectF box = QRectF(rect()).adjusted(0.5, 1.5, -0.5, -1.5);
    if (active_) {
        const GraphColours colours = ColoursFor(p, channel_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colours.field, 1));
        painter.setBrush(colours.curve);
        painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
        painter.setPen(MarkerTextColour(colours.curve));
    } else {
        painter.setPen(p.color(QPalette::Active, QPalette::WindowText));
    }
    painter.drawText(box, Qt::AlignCenter, text());
}

}  // namespace editor
