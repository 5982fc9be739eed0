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
    // Picture columns the marker is moved right so that it does not hide
    // the one before it.
    double nudge = 0;
};

using GraphLevels = std::array<double, model::kFreqCodes>;

struct GraphColours {
    QColor field, grid, curve, labels, window;
};
GraphColours ColoursFor(const QPalette& palette, int channel);

// The labels' font: a little smaller than the window's.
QFont LabelFont(const QFont& windowFont);

struct GraphGeometry {
    QRect plot;          // the picture, 576 x 192 at the natural size
    int width = 0;       // the whole graph's, labels included
    int markerTop = 0;   // the marker strip, above the picture
    int markerSize = 0;  // a marker's diameter
    QRect markerAround(const GraphMarker& m) const;
};
GraphGeometry GeometryFor(const QSize& widgetSize, const QFont& labelFont);
QSize NaturalSize(const QFont& labelFont);
// Nudges markers that would overlap at the natural size apart.
void SpreadMarkers(std::vector<GraphMarker>& markers, const QFont& labelFont);

struct GraphScene {
    const notch::GraphCanvas* canvas = nullptr;
    const GraphLevels* levels = nullptr;
    const std::vector<GraphMarker>* markers = nullptr;
    GraphColours colours;
    qreal devicePixelRatio = 1;
};
void PaintGraph(QPainter& painter, const GraphGeometry& geometry, const GraphScene& scene);

}  // namespace editor
