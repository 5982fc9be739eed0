#pragma once
// How a response graph is laid out and painted. At its natural size on a
// 1x screen the picture is the drawing surface's own pixels, exactly; any
// other size or scale draws the same grid and curve as vectors, crisp.
// Every colour comes from the palette: a dark theme gives a dark graph.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <array>
#include <vector>

#include "model/value_tables.h"
#include "notch/graph_canvas.h"

class QPainter;

namespace editor {

// An active notch, shown as a numbered marker above the picture.
struct GraphMarker {
    int n = 0;  // notch 0..23; its number in the channel is shown
    double hz = 0;
    double dB = 0;
};

using GraphLevels = std::array<double, model::kFreqCodes>;

struct GraphColours {
    QColor field, grid, curve, labels, window;
    double curveWidth = 1.0;  // at the natural size, in pixels
};
GraphColours ColoursFor(const QPalette& palette, int channel);

// The labels' font: a little smaller than the window's.
QFont LabelFont(const QFont& windowFont);

// Markers a second lane takes when they would cover each other: it lies
// over the top of the picture, above 0 dB, where no curve ever goes.
inline constexpr int kMarkerLanes = 2;

struct GraphGeometry {
    QRect plot;            // the picture, 576 x 192 at the natural size
    int width = 0;         // the whole graph's, labels included
    int markerTop = 0;     // the marker strip, above the picture
    int markerHeight = 0;  // a marker's, and a lane's
    int markerWidth = 0;   // room for two digits
    // Where each marker stands, in the markers' order (by frequency).
    std::vector<QRect> markerRects(const std::vector<GraphMarker>& markers) const;
};
GraphGeometry GeometryFor(const QSize& widgetSize, const QFont& labelFont);
QSize NaturalSize(const QFont& labelFont);
// By frequency, as the markers are laid out.
void SortMarkers(std::vector<GraphMarker>& markers);
// The number's colour on a marker of the curve's colour: whichever of
// black and white reads better on it.
QColor MarkerTextColour(const QColor& markerColour);

struct GraphScene {
    const notch::GraphCanvas* canvas = nullptr;
    const GraphLevels* levels = nullptr;
    const std::vector<GraphMarker>* markers = nullptr;
    GraphColours colours;
    qreal devicePixelRatio = 1;
};
void PaintGraph(QPainter& painter, const GraphGeometry& geometry, const GraphScene& scene);

}  // namespace editor
