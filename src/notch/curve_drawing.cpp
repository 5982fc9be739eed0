#include "notch/curve_drawing.h"

#include "model/value_tables.h"

namespace notch {

void DrawGraphPoint(GraphCanvas& canvas, const ResponseTables& tables, int i, int channel) {
    const GraphPixel point = GraphPoint(i, tables.ChannelResponse(i, channel));
    canvas.setPen(CurveColour(channel));
    if (i == 0) {
        canvas.moveTo(point);
        return;
    }
    canvas.lineTo(point);
    if (i == model::kMaxFreqCode) canvas.plot(point);
}

void DrawChannelCurve(GraphCanvas& canvas, const ResponseTables& tables, int channel) {
    canvas.clear();
    for (int i = 0; i < model::kFreqCodes; ++i) DrawGraphPoint(canvas, tables, i, channel);
}

}  // namespace notch
