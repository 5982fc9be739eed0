#include <gtest/gtest.h>

#include <limits>

#include "notch/long_bytes.h"

using notch::LongBytes;
using notch::PutLongBytes;

TEST(PutLongBytes, MostSignificantByteFirstRoundedHalfToEven) {
    struct Case { double x; LongBytes bytes; };
    const Case cases[] = {
        {729, {0x00, 0x00, 0x02, 0xD9}},
        {0, {0, 0, 0, 0}},
        {255, {0, 0, 0, 0xFF}},
        {256, {0, 0, 0x01, 0x00}},
        {0x12345678, {0x12, 0x34, 0x56, 0x78}},
        {4294967295.0, {0xFF, 0xFF, 0xFF, 0xFF}},
        {2.5, {0, 0, 0, 2}},
        {3.5, {0, 0, 0, 4}},
        {728.6, {0, 0, 0x02, 0xD9}},
        // Out of range or not a number: the nearer end, never wrapped.
        {-1, {0, 0, 0, 0}},
        {1e12, {0xFF, 0xFF, 0xFF, 0xFF}},
        {std::numeric_limits<double>::quiet_NaN(), {0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(PutLongBytes(c.x), c.bytes) << c.x;
}
