#include "editor/response_graph.h"

#include <QImage>
#include <QPainter>

#include "notch/curve_drawing.h"

namespace editor {
namespace {

// Room around the picture for its labels; the top margin lets "+10",
// centred on the top grid line, show whole.
constexpr int kTop = 6;
constexpr int kRightLabels = 30;
constexpr int kBottomLabels = 18;

struct Label {
    int at;
    const char* text;
};
constexpr Label kLevelLabels[] = {{0, "+10"},   {32, " 0"},   {64, "-10"}, {95, "-20"},
                                  {127, "-30"}, {159, "-40"}, {191, "-50"}};
constexpr Label kFreqLabels[] = {{0, "20Hz"}, {134, "100Hz"}, {326, "1KHz"}, {517, "10KHz"}};

}  // namespace

ResponseGraph::ResponseGraph(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ResponseGraph::sizeHint() const {
    return {notch::kGraphWidth + kRightLabels, kTop + notch::kGraphHeight + kBottomLabels};
}

QPoint ResponseGraph::pictureOrigin() const { return {0, kTop}; }

void ResponseGraph::drawCurve(const notch::ResponseTables& tables, int channel) {
    notch::DrawChannelCurve(canvas_, tables, channel);
    update();
}

void ResponseGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QImage picture(reinterpret_cast<const uchar*>(canvas_.data()), notch::kGraphWidth, notch::kGraphHeight,
                         static_cast<qsizetype>(notch::kGraphWidth) * static_cast<qsizetype>(sizeof(notch::Rgb)),
                         QImage::Format_RGB32);
    painter.drawImage(pictureOrigin(), picture);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    painter.setFont(small);
    painter.setPen(palette().windowText().color());
    const int lineHeight = painter.fontMetrics().height();
    const int right = notch::kGraphWidth + 3;
    for (const Label& l : kLevelLabels)
        painter.drawText(QRect(right, kTop + l.at - lineHeight / 2, kRightLabels - 3, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(l.text));
    const int below = kTop + notch::kGraphHeight + 1;
    for (const Label& l : kFreqLabels) {
        const QString text = QString::fromLatin1(l.text);
        const int width = painter.fontMetrics().horizontalAdvance(text);
        const int left = l.at == 0 ? 0 : l.at - width / 2;
        painter.drawText(QRect(left, below, width + 2, kBottomLabels - 1), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

}  // namespace editor
