#pragma once
// One response picture: 576 x 192 pixels over a white field with the grey
// grid, drawn on with move-to / line-to in pixel coordinates. A line-to
// leaves its end point undrawn, and that point becomes the current
// position; whatever falls outside the picture is clipped.
#include <cstdint>
#include <vector>

#include "notch/graph_mapping.h"

namespace notch {

using Rgb = std::uint32_t;  // 0xFFRRGGBB, the layout of an RGB32 image
inline constexpr Rgb kWhite = 0xFFFFFFFF;
inline constexpr Rgb kGridGrey = 0xFFB2B2B2;  // 178, 178, 178
inline constexpr Rgb kLeftRed = 0xFFFF0000;
inline constexpr Rgb kRightBlue = 0xFF0000FF;

class GraphCanvas {
public:
    GraphCanvas();

    // Back to the background grid.
    void clear();
    void setPen(Rgb colour) { pen_ = colour; }
    void moveTo(GraphPixel to) { position_ = to; }
    void lineTo(GraphPixel to);
    void plot(GraphPixel at);

    GraphPixel position() const { return position_; }
    Rgb pixel(int x, int y) const;
    // Row-major, kGraphWidth pixels a row.
    const Rgb* data() const { return pixels_.data(); }

private:
    std::vector<Rgb> pixels_;
    Rgb pen_ = kLeftRed;
    GraphPixel position_;
};

}  // namespace notch
