#pragma once
// A channel's response curve drawn onto its picture, point by point.
#include "notch/graph_canvas.h"
#include "notch/response.h"

namespace notch {

inline Rgb CurveColour(int channel) { return channel == 0 ? kLeftRed : kRightBlue; }

// Draws the segment that ends at graph point i of the channel's curve.
// Point 0 only sets the starting position, so the curve begins without a
// stray segment; the last point (20 kHz) is plotted as well, so the curve
// reaches the picture's right edge.
void DrawGraphPoint(GraphCanvas& canvas, const ResponseTables& tables, int i, int channel);

// Clears the picture and draws the whole curve of the channel.
void DrawChannelCurve(GraphCanvas& canvas, const ResponseTables& tables, int channel);

}  // namespace notch
