#pragma once
// Where the response graph puts things, in pixels of a 576 x 192 picture:
// 20 Hz .. 20 kHz on a logarithmic axis across columns 0..575, +10 dB at
// row 0 down to -50 dB at row 191.
#include <array>

namespace notch {

inline constexpr int kGraphWidth = 576;
inline constexpr int kGraphHeight = 192;

struct GraphPixel {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPixel&) const = default;
};

// Grid lines: 20, 30, ..., 100, 200, ..., 10000 and 20000 Hz; +10, 0, ...,
// -50 dB.
inline constexpr std::array<int, 28> kGridColumns = {0,   34,  58,  76,  91,  104, 115, 125, 134, 192,
                                                     225, 249, 268, 283, 296, 307, 317, 326, 383, 417,
                                                     441, 460, 475, 488, 499, 509, 517, 575};
inline constexpr std::array<int, 7> kGridRows = {0, 32, 64, 95, 127, 159, 191};

// Unrounded position of a frequency and of a level.
double GraphX(double hz);
double GraphY(double dB);
// Their inverses: the frequency and the level under a point of the picture.
double FreqAtX(double x);
double LevelAtY(double y);

// The pixel of graph point i (FreqTable code 0..729) at the given level,
// both coordinates rounded half to even. Levels far outside the picture
// stay outside it (the surface clips them); no coordinate overflows.
GraphPixel GraphPoint(int i, double dB);

}  // namespace notch
