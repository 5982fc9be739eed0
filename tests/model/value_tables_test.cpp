#include <gtest/gtest.h>

#include "model/number_text.h"
#include "model/value_tables.h"

using namespace model;

TEST(FreqTable, EntriesAtTheEdgesAndTheSeam) {
    struct Case {
        int code;
        double hz;
        const char* text;
    };
    const Case cases[] = {
        {0, 20, "20"},       {1, 20.05, "20.05"},   {2, 20.1, "20.1"},     {266, 247.9, "247.9"}, {412, 993.6, "993.6"},
        {413, 1003, "1003"}, {727, 19859, "19859"}, {728, 19900, "19900"}, {729, 20000, "20000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FreqTable[c.code], c.hz) << c.code;
        EXPECT_EQ(FormatNumber(FreqTable[c.code]), c.text) << c.code;
    }
}

TEST(FreqTable, StrictlyIncreasing) {
    for (int i = 1; i < kFreqCodes; ++i) EXPECT_LT(FreqTable[i - 1], FreqTable[i]) << i;
}

TEST(ValueTables, NamesQAndOffsets) {
    EXPECT_EQ(BandwidthName[0], "1/70");
    EXPECT_EQ(BandwidthQ[0], 100.989);
    EXPECT_EQ(BandwidthName[3], "1/5");
    EXPECT_EQ(BandwidthQ[3], 7.2);
    EXPECT_EQ(NotchRecordOffset[0], 28);
    EXPECT_EQ(NotchRecordOffset[11], 72);
    EXPECT_EQ(NotchRecordOffset[12], 108);
    EXPECT_EQ(NotchRecordOffset[23], 152);
    EXPECT_EQ(DemoPresetName[0], "Preset01");
    EXPECT_EQ(DemoPresetName[3], "Preset04");
    EXPECT_NEAR(GraphXPerDecade(), 575.0 / 3.0, 1e-9);
}

TEST(DefaultImage, BothHalvesHoldTheFactoryPreset) {
    for (int c = 0; c < kChannels; ++c) {
        const int base = c * kHalfSize;
        const std::uint8_t head[] = {30, 4, 24, 0, 30, 12, 24, 0, 30, 20, 24, 0, 30, 28, 24, 0, 30, 36, 24, 0};
        for (int i = 0; i < 20; ++i) EXPECT_EQ(DefaultImage[base + i], head[i]) << i;
        for (int i = 20; i < 28; ++i) EXPECT_EQ(DefaultImage[base + i], 0) << i;
        for (int k = 0; k < kRowsPerChannel; ++k) {
            const int r = NotchRecordOffset[c * kRowsPerChannel + k];
            EXPECT_EQ(DefaultImage[r], 45);
            EXPECT_EQ(DefaultImage[r + 1] * 256 + DefaultImage[r + 2], 266);
            EXPECT_EQ(DefaultImage[r + 3], 2);
        }
        EXPECT_EQ(DefaultImage[NumNotchAutoOffset[c]], 11);
        EXPECT_EQ(DefaultImage[QNotchAutoOffset[c]], 2);
        EXPECT_EQ(DefaultImage[AttenuationModeOffset[c]], 0);
        EXPECT_EQ(DefaultImage[SensitivityOffset[c]], 6);
    }
}
