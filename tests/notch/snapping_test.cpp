#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/value_tables.h"
#include "notch/log10.h"
#include "notch/snapping.h"

using namespace notch;

TEST(NearestFreq, SnapsToTheNearestEntryTiesGoingLower) {
    struct Case {
        double typed;
        double hz;
        int code;
    };
    const Case cases[] = {
        {20000, 20000, 729},     {19950, 19900, 728},  // halfway: the lower entry
        {19950.001, 20000, 729}, {10, 20, 0},         {30000, 20000, 729}, {1000, 1003, 413},
        {20.025, 20, 0},  // halfway between 20 and 20.05
        {20.026, 20.05, 1},      {0, 20, 0},          {-5, 20, 0},         {998.3, 993.6, 412},
        {998.31, 1003, 413},     {247.9, 247.9, 266}, {19859, 19859, 727},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestFreq(c.typed), c.hz) << c.typed;
        EXPECT_EQ(NearestFreqCode(c.typed), c.code) << c.typed;
    }
}

TEST(NearestFreq, EveryEntryIsItsOwnNearestAndNaNGivesTheFirst) {
    for (int i = 0; i < model::kFreqCodes; ++i) ASSERT_EQ(NearestFreqCode(model::FreqTable[i]), i);
    EXPECT_EQ(NearestFreqCode(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(NearestFreqCode(std::numeric_limits<double>::infinity()), 729);
}

TEST(NearestGainCode, SnapsToWholeDecibelsTiesGoingLower) {
    struct Case {
        double dB;
        int code;
    };
    const Case cases[] = {{-44.5, 0}, {-7, 38}, {0, 45},     {-45, 0},    {-50, 0},   {-0.5, 44},
                          {-0.4, 45}, {3, 45},  {-12.5, 32}, {-12.6, 32}, {-12.4, 33}};
    for (const auto& c : cases) EXPECT_EQ(NearestGainCode(c.dB), c.code) << c.dB;
}

TEST(NearestSensitivity, SnapsToOneToSixteenTiesGoingLower) {
    struct Case {
        double typed;
        int value;
    };
    const Case cases[] = {{2.5, 2}, {2.6, 3}, {0, 1}, {-3, 1}, {99, 16}, {16, 16}, {15.5, 15}, {1, 1}, {1.49, 1}};
    for (const auto& c : cases) EXPECT_EQ(NearestSensitivity(c.typed), c.value) << c.typed;
}

TEST(Log10, IsTheDecimalLogarithm) {
    EXPECT_DOUBLE_EQ(Log10(1000), 3);
    EXPECT_DOUBLE_EQ(Log10(20000) - Log10(20), 3);
    EXPECT_NEAR(model::GraphXPerDecade(), 191.6667, 1e-4);
}
