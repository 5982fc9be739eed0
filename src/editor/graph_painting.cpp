#include "editor/graph_painting.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "editor/axis_labels.h"
#include "editor/marker_layout.h"
#include "editor/row_colours.h"
#include "notch/curve_drawing.h"

namespace editor {
namespace {

struct Label {
    double at;  // picture row or column
    const char* text;
};
constexpr Label kLevelLabels[] = {{0, "+10 dB"},   {32, "0 dB"},    {64, "-10 dB"}, {95, "-20 dB"},
                                  {127, "-30 dB"}, {159, "-40 dB"}, {191, "-50 dB"}};
constexpr Label kFreqLabels[] = {{0, "20 Hz"}, {134, "100 Hz"}, {326, "1 kHz"}, {517, "10 kHz"}, {575, "20 kHz"}};

// The grid's grey is 30 % of the way from the field to the text: 178 on
// white under black text, as the drawing surface has it.
QColor Blend(const QColor& from, const QColor& to, int toOf255) {
    const auto mix = [toOf255](int a, int b) { return a + (b - a) * toOf255 / 255; };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

bool IsDark(const QColor& c) { return c.lightness() < 128; }

int LevelLabelWidth(const QFontMetrics& fm) {
    int width = 0;
    for (const Label& l : kLevelLabels) width = std::max(width, fm.horizontalAdvance(QLatin1String(l.text)));
    return width + 4;
}

double Scale(int size, int natural) { return static_cast<double>(size) / natural; }

QPointF PictureToWidget(const QRect& plot, double x, double y) {
    return {plot.left() + (x + 0.5) * Scale(plot.width(), notch::kGraphWidth),
            plot.top() + (y + 0.5) * Scale(plot.height(), notch::kGraphHeight)};
}

// The surface's own pixels, recoloured when the palette is not the
// classic white field with black text.
void PaintRaster(QPainter& painter, const QRect& plot, const GraphScene& scene) {
    QImage picture(reinterpret_cast<const uchar*>(scene.canvas->data()), notch::kGraphWidth, notch::kGraphHeight,
                   static_cast<qsizetype>(notch::kGraphWidth) * static_cast<qsizetype>(sizeof(notch::Rgb)),
                   QImage::Format_RGB32);
    const GraphColours& c = scene.colours;
    const bool classic = c.field.rgb() == notch::kWhite && c.grid.rgb() == notch::kGridGrey;
    if (!classic) {
        picture = picture.copy();
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                if (line[x] == notch::kWhite)
                    line[x] = c.field.rgb();
                else if (line[x] == notch::kGridGrey)
                    line[x] = c.grid.rgb();
                else
                    line[x] = c.curve.rgb();
            }
        }
    }
    painter.drawImage(plot.topLeft(), picture);
}

void PaintVectors(QPainter& painter, const QRect& plot, const GraphScene& scene) {
    painter.save();
    painter.setClipRect(plot);
    painter.fillRect(plot, scene.colours.field);
    painter.setRenderHint(QPainter::Antialiasing);
    const double sx = Scale(plot.width(), notch::kGraphWidth);
    const double sy = Scale(plot.height(), notch::kGraphHeight);
    painter.setPen(QPen(scene.colours.grid, std::max(1.0, std::min(sx, sy) * 0.75)));
    for (const int x : notch::kGridColumns) {
        const double at = PictureToWidget(plot, x, 0).x();
        painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.top() + plot.height()));
    }
    for (const int y : notch::kGridRows) {
        const double at = PictureToWidget(plot, 0, y).y();
        painter.drawLine(QPointF(plot.left(), at), QPointF(plot.left() + plot.width(), at));
    }
    QPainterPath curve;
    for (int i = 0; i < model::kFreqCodes; ++i) {
        const double y = std::clamp(notch::GraphY((*scene.levels)[static_cast<std::size_t>(i)]), -1e4, 1e4);
        const QPointF p = PictureToWidget(plot, notch::GraphX(model::FreqTable[i]), y);
        if (i == 0)
            curve.moveTo(p);
        else
            curve.lineTo(p);
    }
    painter.setPen(QPen(scene.colours.curve, std::max(scene.colours.curveWidth, std::min(sx, sy) * 1.25)));
    painter.drawPath(curve);
    painter.restore();
}

void PaintLabels(QPainter& painter, const QRect& plot, int width, const GraphColours& colours) {
    painter.setPen(colours.labels);
    const QFontMetrics fm = painter.fontMetrics();
    const int lineHeight = fm.height();
    // The level labels stay beside the picture, the lowest above the
    // frequency labels' line; the frequency labels stay within the graph
    // and apart.
    std::vector<AxisLabel> levels;
    for (const Label& l : kLevelLabels)
        levels.push_back({static_cast<int>(PictureToWidget(plot, 0, l.at).y()), lineHeight});
    const auto levelTops = PlaceAxisLabels(levels, 0, plot.bottom() + 1, 0);
    for (std::size_t i = 0; i < levels.size(); ++i)
        if (levelTops[i])
            painter.drawText(QRect(plot.right() + 4, *levelTops[i], width - plot.right() - 4, lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(kLevelLabels[i].text));
    std::vector<AxisLabel> freqs;
    for (const Label& l : kFreqLabels)
        freqs.push_back({static_cast<int>(PictureToWidget(plot, l.at, 0).x()),
                         fm.horizontalAdvance(QLatin1String(l.text)) + 2});
    const auto freqLefts = PlaceAxisLabels(freqs, 0, width, fm.horizontalAdvance(QLatin1Char(' ')));
    const int below = plot.bottom() + 2;
    for (std::size_t i = 0; i < freqs.size(); ++i)
        if (freqLefts[i])
            painter.drawText(QRect(*freqLefts[i], below, freqs[i].size, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             QLatin1String(kFreqLabels[i].text));
}

QString MarkerNumber(const GraphMarker& m) { return QString::number(m.n % model::kRowsPerChannel + 1); }

// Each marker in the curve's colour with its number in black or white,
// edged in the field's colour so that it stands apart from the grid and
// from a marker beside it. One moved aside from its frequency points to it.
void PaintMarkers(QPainter& painter, const GraphGeometry& g, const GraphScene& scene) {
    const std::vector<QRect> rects = g.markerRects(*scene.markers);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const QColor text = MarkerTextColour(scene.colours.curve);
    const double radius = g.markerHeight / 2.0;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const GraphMarker& m = (*scene.markers)[i];
        const QRectF around = QRectF(rects[i]).adjusted(0.5, 0.5, -0.5, -0.5);
        const double at = PictureToWidget(g.plot, notch::GraphX(m.hz), 0).x();
        if (std::abs(around.center().x() - at) > 1) {
            painter.setPen(QPen(scene.colours.curve, 1));
            painter.drawLine(QPointF(around.center().x(), around.bottom()), QPointF(at, g.plot.top()));
        }
        painter.setPen(QPen(scene.colours.field, 1));
        painter.setBrush(scene.colours.curve);
        painter.drawRoundedRect(around, radius, radius);
        painter.setPen(text);
        painter.drawText(around, Qt::AlignCenter, MarkerNumber(m));
    }
    painter.restore();
}

}  // namespace

GraphColours ColoursFor(const QPalette& palette, int channel) {
    GraphColours c;
    c.field = palette.color(QPalette::Active, QPalette::Base);
    c.labels = palette.color(QPalette::Active, QPalette::WindowText);
    c.window = palette.color(QPalette::Active, QPalette::Window);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    if (!IsDark(c.field)) {
        c.grid = Blend(c.field, text, 77);
        c.curve = QColor::fromRgb(notch::CurveColour(channel));
        return c;
    }
    // On a dark field light lines look thinner than they are: the grid
    // steps back, and the curves are lighter and drawn wider (PaintGraph).
    c.grid = Blend(c.field, text, 48);
    c.curve = channel == 0 ? QColor(255, 120, 120) : QColor(130, 185, 255);
    c.curveWidth = 1.75;
    return c;
}

QFont LabelFont(const QFont& windowFont) {
    QFont small = windowFont;
    small.setPointSizeF(small.pointSizeF() * 0.85);
    return small;
}

std::vector<QRect> GraphGeometry::markerRects(const std::vector<GraphMarker>& markers) const {
    std::vector<int> centres;
    centres.reserve(markers.size());
    for (const GraphMarker& m : markers)
        centres.push_back(static_cast<int>(PictureToWidget(plot, notch::GraphX(m.hz), 0).x()));
    // Markers at the ends of the range stay whole over the picture.
    const std::vector<MarkerSlot> placed =
        LayOutMarkers(centres, {plot.left(), plot.right() + 1, markerWidth, 1, kMarkerLanes});
    std::vector<QRect> rects;
    rects.reserve(placed.size());
    for (const MarkerSlot& slot : placed)
        rects.emplace_back(slot.left, markerTop + slot.lane * (markerHeight + 1), markerWidth, markerHeight);
    return rects;
}

GraphGeometry GeometryFor(const QSize& widgetSize, const QFont& labelFont) {
    const QFontMetrics fm(labelFont);
    GraphGeometry g;
    g.width = widgetSize.width();
    g.markerHeight = fm.height();
    QFont bold = labelFont;
    bold.setBold(true);
    g.markerWidth = std::max(g.markerHeight, QFontMetrics(bold).horizontalAdvance(QStringLiteral("12")) + 6);
    g.markerTop = 1;
    const int top = g.markerTop + g.markerHeight + 1;
    const int right = LevelLabelWidth(fm);
    const int bottom = fm.height() + 2;
    g.plot = QRect(0, top, std::max(1, widgetSize.width() - right), std::max(1, widgetSize.height() - top - bottom));
    return g;
}

QSize NaturalSize(const QFont& labelFont) {
    const QFontMetrics fm(labelFont);
    const GraphGeometry g = GeometryFor(QSize(0, 0), labelFont);
    return {notch::kGraphWidth + LevelLabelWidth(fm), g.plot.top() + notch::kGraphHeight + fm.height() + 2};
}

void SortMarkers(std::vector<GraphMarker>& markers) {
    std::sort(markers.begin(), markers.end(),
              [](const GraphMarker& a, const GraphMarker& b) { return a.hz < b.hz || (a.hz == b.hz && a.n < b.n); });
}

QColor MarkerTextColour(const QColor& markerColour) {
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(black, markerColour) >= ContrastRatio(white, markerColour) ? black : white;
}

void PaintGraph(QPainter& painter, const GraphGeometry& geometry, const GraphScene& scene) {
    const QRect& plot = geometry.plot;
    const bool natural = plot.size() == QSize(notch::kGraphWidth, notch::kGraphHeight);
    // The surface's one-pixel curve only where it is as wide as wanted.
    if (natural && scene.devicePixelRatio == 1.0 && scene.colours.curveWidth <= 1.0)
        PaintRaster(painter, plot, scene);
    else
        PaintVectors(painter, plot, scene);
    PaintLabels(painter, plot, geometry.width, scene.colours);
    PaintMarkers(painter, geometry, scene);
}

}  // namespace editor
