#include "editor/response_graph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

#include "editor/control_names.h"
#include "model/number_text.h"
#include "model/preset_image.h"
#include "notch/curve_drawing.h"
#include "notch/snapping.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

// A pixel is a third of a decibel: half decibels say no more than it knows.
QString Decibels(double dB) {
    const double shown = std::round(dB * 2) / 2;
    return QString::number(shown == 0 ? 0.0 : shown, 'f', 1) + QStringLiteral(" dB");
}

QString Hertz(double hz) { return QString::fromStdString(notch::FreqWithUnit(hz)); }

QString MarkerText(const GraphMarker& m) {
    return QStringLiteral("notch %1 at %2, %3")
        .arg(m.n % model::kRowsPerChannel + 1)
        .arg(Hertz(m.hz), QString::number(m.dB) + QStringLiteral(" dB"));
}

}  // namespace

ResponseGraph::ResponseGraph(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ResponseGraph::sizeHint() const { return NaturalSize(LabelFont(font())); }

QSize ResponseGraph::minimumSizeHint() const {
    const QSize natural = sizeHint();
    return {natural.width() - notch::kGraphWidth / 2, natural.height() - notch::kGraphHeight / 2};
}

GraphGeometry ResponseGraph::geometry() const { return GeometryFor(size(), LabelFont(font())); }

QPoint ResponseGraph::pictureOrigin() const { return geometry().plot.topLeft(); }

void ResponseGraph::drawCurve(const notch::ResponseTables& tables, const notch::NotchArrays& sent, int channel) {
    channel_ = channel;
    notch::DrawChannelCurve(canvas_, tables, channel);
    for (int i = 0; i < model::kFreqCodes; ++i)
        levels_[static_cast<std::size_t>(i)] = tables.ChannelResponse(i, channel);
    markers_.clear();
    QStringList spoken;
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const auto n = static_cast<std::size_t>(model::NotchIndex(channel, k));
        if (sent.gainDb[n] >= 0) continue;
        markers_.push_back({static_cast<int>(n), sent.freqHz[n], sent.gainDb[n]});
        spoken << MarkerText(markers_.back());
    }
    SortMarkers(markers_);
    setAccessibleDescription(spoken.isEmpty() ? QStringLiteral("Flat, no notch active")
                                              : spoken.join(QStringLiteral("; ")));
    update();
}

QRect ResponseGraph::markerRect(int n) const {
    const std::vector<QRect> rects = geometry().markerRects(markers_);
    for (std::size_t i = 0; i < markers_.size(); ++i)
        if (markers_[i].n == n) return rects[i];
    return {};
}

const GraphMarker* ResponseGraph::markerAt(QPoint at) const {
    const std::vector<QRect> rects = geometry().markerRects(markers_);
    const GraphMarker* nearest = nullptr;
    int best = 0;
    for (std::size_t i = 0; i < markers_.size(); ++i) {
        if (!rects[i].contains(at)) continue;
        const int distance = std::abs(rects[i].center().x() - at.x());
        if (!nearest || distance < best) nearest = &markers_[i], best = distance;
    }
    return nearest;
}

QString ResponseGraph::pointerText(QPoint at) const {
    if (const GraphMarker* m = markerAt(at)) return ChannelName(channel_) + QLatin1Char(' ') + MarkerText(*m);
    const QRect plot = geometry().plot;
    if (!plot.contains(at)) return {};
    // The curve's point in the pointer's column, whatever its height.
    const double x = (at.x() - plot.left() + 0.5) * notch::kGraphWidth / plot.width() - 0.5;
    const int i = notch::NearestFreqCode(notch::FreqAtX(x));
    return QStringLiteral("%1 at %2 Hz: %3")
        .arg(ChannelName(channel_),
             QString::fromStdString(model::FormatNumber(model::FreqTable[static_cast<std::size_t>(i)])),
             Decibels(levels_[static_cast<std::size_t>(i)]));
}

void ResponseGraph::mouseMoveEvent(QMouseEvent* event) {
    const QString text = pointerText(event->position().toPoint());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
}

void ResponseGraph::mousePressEvent(QMouseEvent* event) {
    if (const GraphMarker* m = markerAt(event->position().toPoint())) emit markerClicked(m->n);
    QWidget::mousePressEvent(event);
}

void ResponseGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const GraphColours colours = ColoursFor(palette(), channel_);
    painter.fillRect(rect(), colours.window);
    painter.setFont(LabelFont(font()));
    PaintGraph(painter, geometry(), {&canvas_, &levels_, &markers_, colours, painter.device()->devicePixelRatioF()});
}

}  // namespace editor
