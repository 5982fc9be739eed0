#include "notch/graph_mapping.h"

#include <algorithm>
#include <cmath>

#include "model/value_tables.h"
#include "notch/log10.h"
#include "notch/round_half_even.h"

namespace notch {
namespace {

constexpr double kZeroDbRow = 31.826666514078777;
constexpr double kRowsPerDb = 3.183333333333333;

// Far beyond any sum of 24 notches of -45 dB, yet safely inside int.
constexpr double kFarOutside = 1e6;

int ToPixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(RoundHalfEven(std::clamp(v, -kFarOutside, kFarOutside)));
}

}  // namespace

double GraphX(double hz) { return Log10(hz / 20.0) * model::GraphXPerDecade(); }

double GraphY(double dB) { return kZeroDbRow - kRowsPerDb * dB; }

double FreqAtX(double x) { return 20.0 * std::pow(10.0, x / model::GraphXPerDecade()); }

double LevelAtY(double y) { return (kZeroDbRow - y) / kRowsPerDb; }

GraphPixel GraphPoint(int i, double dB) {
    const int code = std::clamp(i, 0, model::kMaxFreqCode);
    return {ToPixel(GraphX(model::FreqTable[code])), ToPixel(GraphY(dB))};
}

}  // namespace notch
