#pragma once
// A number as the four bytes a frame carries it in: rounded (halves to
// even), unsigned 32-bit, most significant byte first. Used for frequency
// codes and device memory addresses.
#include <array>
#include <cstdint>

namespace notch {

using LongBytes = std::array<std::uint8_t, 4>;

// Values outside 0 .. 2^32 - 1 (and NaN) are brought to the nearer end of
// that range rather than wrapped.
LongBytes PutLongBytes(double x);

}  // namespace notch
