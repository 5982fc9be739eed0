#include "editor/graph_painting.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

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
    painter.setPen(QPen(scene.colours.curve, std::max(1.0, std::min(sx, sy) * 1.25)));
    painter.drawPath(curve);
    painter.restore();
}

void PaintLabels(QPainter& painter, const QRect& plot, int width, const GraphColours& colours) {
    painter.setPen(colours.labels);
    const QFontMetrics fm = painter.fontMetrics();
    const int lineHeight = fm.height();
    for (const Label& l : kLevelLabels) {
        const int y = static_cast<int>(PictureToWidget(plot, 0, l.at).y());
        painter.drawText(QRect(plot.right() + 4, y - lineHeight / 2, width - plot.right() - 4, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(l.text));
    }
    const int below = plot.bottom() + 2;
    for (const Label& l : kFreqLabels) {
        const QString text = QLatin1String(l.text);
        const int textWidth = fm.horizontalAdvance(text) + 2;
        const int centre = static_cast<int>(PictureToWidget(plot, l.at, 0).x());
        const int left = std::clamp(centre - textWidth / 2, 0, width - textWidth);
        painter.drawText(QRect(left, below, textWidth, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void PaintMarkers(QPainter& painter, const GraphGeometry& g, const GraphScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const GraphMarker& m : *scene.markers) {
        const QRect around = g.markerAround(m);
        painter.setPen(Qt::NoPen);
        painter.setBrush(scene.colours.curve);
        painter.drawEllipse(around);
        painter.setPen(scene.colours.field);
        painter.drawText(around, Qt::AlignCenter, QString::number(m.n % model::kRowsPerChannel + 1));
    }
    painter.restore();
}

}  // namespace

GraphColours ColoursFor(const QPalette& palette, int channel) {
    GraphColours c;
    c.field = palette.color(QPalette::Active, QPalette::Base);
    c.labels = palette.color(QPalette::Active, QPalette::WindowText);
    c.window = palette.color(QPalette::Active, QPalette::Window);
    c.grid = Blend(c.field, palette.color(QPalette::Active, QPalette::Text), 77);
    if (!IsDark(c.field))
        c.curve = QColor::fromRgb(notch::CurveColour(channel));
    else
        c.curve = channel == 0 ? QColor(255, 110, 110) : QColor(120, 170, 255);
    return c;
}

QFont LabelFont(const QFont& windowFont) {
    QFont small = windowFont;
    small.setPointSizeF(small.pointSizeF() * 0.85);
    return small;
}

QRect GraphGeometry::markerAround(const GraphMarker& m) const {
    // Markers at the ends of the range stay whole over the picture.
    const int centre = static_cast<int>(PictureToWidget(plot, notch::GraphX(m.hz) + m.nudge, 0).x());
    const int left =
        std::clamp(centre - markerSize / 2, plot.left(), std::max(plot.left(), plot.right() + 1 - markerSize));
    return {left, markerTop, markerSize, markerSize};
}

GraphGeometry GeometryFor(const QSize& widgetSize, const QFont& labelFont) {
    const QFontMetrics fm(labelFont);
    GraphGeometry g;
    g.width = widgetSize.width();
    g.markerSize = fm.height();
    g.markerTop = 1;
    const int top = g.markerTop + g.markerSize + 1;
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

void SpreadMarkers(std::vector<GraphMarker>& markers, const QFont& labelFont) {
    const double size = QFontMetrics(labelFont).height() + 1;
    std::sort(markers.begin(), markers.end(),
              [](const GraphMarker& a, const GraphMarker& b) { return a.hz < b.hz || (a.hz == b.hz && a.n < b.n); });
    double previous = -1e9;
    for (GraphMarker& m : markers) {
        const double x = notch::GraphX(m.hz);
        m.nudge = std::max(0.0, previous + size - x);
        previous = x + m.nudge;
    }
}

void PaintGraph(QPainter& painter, const GraphGeometry& geometry, const GraphScene& scene) {
    const QRect& plot = geometry.plot;
    const bool natural = plot.size() == QSize(notch::kGraphWidth, notch::kGraphHeight);
    if (natural && scene.devicePixelRatio == 1.0)
        PaintRaster(painter, plot, scene);
    else
        PaintVectors(painter, plot, scene);
    PaintLabels(painter, plot, geometry.width, scene.colours);
    PaintMarkers(painter, geometry, scene);
}

}  // namespace editor
