#pragma once
#include <cmath>

namespace notch {

// The decimal logarithm as the graph's axis is defined: ln x / ln 10.
inline double Log10(double x) { return std::log(x) / std::log(10.0); }

}  // namespace notch
