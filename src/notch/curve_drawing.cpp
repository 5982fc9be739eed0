#include "notch/curve_drawing.h"

#include "model/value_tables.h"

namespace notch {

void DrawGraphPoint(GraphCanvas& canvas, const ResponseTables& tables, int i, int channel) {
    const GraphPixel point = GraphPoint(i, tables.ChannelResponse(i, channel));
    canvas.SetPen(CurveColour(channel));
    if (i == 0) {
        canvas.MoveTo(point);
        return;
    }
    canvas.LineTo(point);
    if (i == model::kMaxFreqCode) canvas.Plot(point);
}

void DrawChannelCurve(GraphCanvas& canvas, const ResponseTables& tables, int channel) {
    canvas.Clear();
    for (int i = 0; i < model::kFreqCodes; ++i) DrawGraphPoint(canvas, tables, i, channel);
}

}  // namespace notch
