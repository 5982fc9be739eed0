#include "notch/long_bytes.h"

#include <algorithm>
#include <cmath>

#include "notch/round_half_even.h"

namespace notch {

LongBytes PutLongBytes(double x) {
    constexpr double kLargest = 4294967295.0;
    const double rounded = std::isnan(x) ? 0.0 : std::clamp(RoundHalfEven(x), 0.0, kLargest);
    // Scaled by 2^-24 so that each step peels the next byte off the top;
    // every step is exact for integers below 2^32.
    double v = rounded / 16777216.0;
    LongBytes bytes{};
    for (auto& byte : bytes) {
        const double whole = std::floor(v);
        byte = static_cast<std::uint8_t>(static_cast<std::uint32_t>(whole) & 0xFFu);
        v = (v - whole) * 256.0;
    }
    return bytes;
}

}  // namespace notch
