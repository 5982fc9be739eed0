#include "notch/graph_canvas.h"

#include <cstdlib>
#include <stdexcept>

namespace notch {
namespace {

constexpr std::size_t kPixels = static_cast<std::size_t>(kGraphWidth) * kGraphHeight;

const std::vector<Rgb>& Background() {
    static const std::vector<Rgb> grid = [] {
        std::vector<Rgb> p(kPixels, kWhite);
        for (const int y : kGridRows)
            for (int x = 0; x < kGraphWidth; ++x) p[static_cast<std::size_t>(y) * kGraphWidth + x] = kGridGrey;
        for (const int x : kGridColumns)
            for (int y = 0; y < kGraphHeight; ++y) p[static_cast<std::size_t>(y) * kGraphWidth + x] = kGridGrey;
        return p;
    }();
    return grid;
}

bool Inside(int x, int y) { return x >= 0 && x < kGraphWidth && y >= 0 && y < kGraphHeight; }

}  // namespace

GraphCanvas::GraphCanvas() : pixels_(Background()) {}

void GraphCanvas::clear() { pixels_ = Background(); }

void GraphCanvas::plot(GraphPixel at) {
    if (Inside(at.x, at.y)) pixels_[static_cast<std::size_t>(at.y) * kGraphWidth + at.x] = pen_;
}

void GraphCanvas::lineTo(GraphPixel to) {
    // Bresenham from the current position, stopping one pixel short of the
    // end point.
    int x = position_.x;
    int y = position_.y;
    const int dx = std::abs(to.x - x);
    const int dy = -std::abs(to.y - y);
    const int sx = x < to.x ? 1 : -1;
    const int sy = y < to.y ? 1 : -1;
    long err = static_cast<long>(dx) + dy;
    while (x != to.x || y != to.y) {
        plot({x, y});
        const long twice = 2 * err;
        if (twice >= dy) {
            err += dy;
            x += sx;
        }
        if (twice <= dx) {
            err += dx;
            y += sy;
        }
    }
    position_ = to;
}

Rgb GraphCanvas::pixel(int x, int y) const {
    if (!Inside(x, y)) throw std::out_of_range("pixel outside the picture");
    return pixels_[static_cast<std::size_t>(y) * kGraphWidth + x];
}

}  // namespace notch
