#pragma once
// Rounding to the nearest integer with halves going to the even neighbour,
// independent of the floating-point environment's current rounding mode.
#include <cmath>

namespace notch {

inline double RoundHalfEven(double x) {
    const double down = std::floor(x);
    const double diff = x - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

}  // namespace notch
