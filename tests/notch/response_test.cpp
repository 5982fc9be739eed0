#include <gtest/gtest.h>

#include <cmath>

#include "notch/response.h"

using namespace notch;

namespace {

constexpr int k1003Hz = 413;

NotchArrays OneNotch(int n, double hz, double gain, int width) {
    NotchArrays a;
    a.freqHz[n] = hz;
    a.gainDb[n] = gain;
    a.widthCode[n] = width;
    return a;
}

}  // namespace

TEST(NotchContribution, FullAtTheCentreHalfAtTheBandEdgeNothingAtZeroDecibels) {
    EXPECT_DOUBLE_EQ(NotchContribution(1003, 1003, -45, 100.989), -45);
    // Q * |f0/f - f/f0| = 1 where f/f0 = (sqrt(4 + Q^-2) + 1/Q) / 2.
    const double q = 7.2;
    const double ratio = (std::sqrt(4 + 1 / (q * q)) + 1 / q) / 2;
    EXPECT_NEAR(NotchContribution(1000 * ratio, 1000, -30, q), -15, 1e-9);
    EXPECT_NEAR(NotchContribution(1000 / ratio, 1000, -30, q), -15, 1e-9);
    EXPECT_EQ(NotchContribution(50, 1000, 0, q), 0);
}

TEST(ResponseTables, DeepNarrowNotchIsBackAboveMinusOneDecibelWithinAFewPercent) {
    ResponseTables t;
    t.computeNotch(3, OneNotch(3, 1003, -45, 0));
    EXPECT_DOUBLE_EQ(t.ChannelResponse(k1003Hz, 0), -45);
    for (int i = 0; i < model::kFreqCodes; ++i) {
        const double ratio = model::FreqTable[i] / 1003;
        if (ratio > 1.04 || ratio < 1 / 1.04) {
            ASSERT_GT(t.ChannelResponse(i, 0), -1) << model::FreqTable[i];
        }
        ASSERT_EQ(t.ChannelResponse(i, 1), 0) << "Right untouched";
    }
}

TEST(ResponseTables, WidestNotchDipsAsDeepButWider) {
    ResponseTables narrow, wide;
    narrow.computeNotch(0, OneNotch(0, 1003, -45, 0));
    wide.computeNotch(0, OneNotch(0, 1003, -45, 3));
    EXPECT_DOUBLE_EQ(wide.ChannelResponse(k1003Hz, 0), -45);
    int narrowBelow = 0, wideBelow = 0;
    for (int i = 0; i < model::kFreqCodes; ++i) {
        narrowBelow += narrow.ChannelResponse(i, 0) < -3;
        wideBelow += wide.ChannelResponse(i, 0) < -3;
    }
    EXPECT_GT(wideBelow, 5 * narrowBelow);
}

TEST(ResponseTables, ChannelSumsItsTwelveColumnsAndKeepsTheOthers) {
    ResponseTables t;
    NotchArrays a = OneNotch(12, 1003, -45, 1);
    a.freqHz[23] = 1003;
    a.gainDb[23] = -45;
    a.freqHz[0] = 1003;  // Left: must not count for Right
    a.gainDb[0] = -45;
    t.computeNotch(12, a);
    t.computeNotch(23, a);
    EXPECT_DOUBLE_EQ(t.ChannelResponse(k1003Hz, 1), -90);
    EXPECT_EQ(t.ChannelResponse(k1003Hz, 0), 0);
    // Recomputing one notch reuses the other's column.
    a.gainDb[12] = 0;
    t.computeNotch(12, a);
    EXPECT_DOUBLE_EQ(t.ChannelResponse(k1003Hz, 1), -45);
    EXPECT_DOUBLE_EQ(t.NotchResponse(k1003Hz, 23), -45);
}

TEST(ResponseTables, NotchNeverSentAddsNothingAndBadIndicesAreRefused) {
    ResponseTables t;
    NotchArrays a;  // frequency 0: the notch is off every point of the axis
    t.computeNotch(5, a);
    for (int i = 0; i < model::kFreqCodes; ++i) ASSERT_EQ(t.ChannelResponse(i, 0), 0);
    EXPECT_THROW(t.ChannelResponse(730, 0), std::out_of_range);
    EXPECT_THROW(t.NotchResponse(0, 24), std::out_of_range);
    EXPECT_THROW(t.computeNotch(24, a), std::out_of_range);
}
