#include <gtest/gtest.h>

#include "model/number_text.h"
#include "notch/notch_transfer.h"

using namespace notch;
using devlink::Payload;
using model::PresetImage;

namespace {

struct Rig {
    NotchArrays arrays;
    PresetImage image{};
    NotchTransfer send(int n, int gain, std::string freq, int width) {
        return TransferNotch(n, NotchRow{gain, std::move(freq), width}, arrays, image);
    }
    std::array<std::uint8_t, 4> record(int offset) const {
        return {image[offset], image[offset + 1], image[offset + 2], image[offset + 3]};
    }
};

}  // namespace

TEST(TransferNotch, BoxesRecordAndFrameDescribeTheSnappedNotch) {
    struct Case {
        int n, gain;
        const char* freq;
        int width;
        const char* gainText;
        const char* freqText;
        const char* widthText;
        int offset;
        Payload payload;
    };
    const Case cases[] = {
        {0, 45, "1000", 0, "0", "1003", "1/70", 28, {0x07, 0, 0, 0x01, 0x9D, 0, 45}},
        {12, 0, "20000", 3, "-45", "20000", "1/5", 108, {0x07, 1, 0, 0x02, 0xD9, 3, 0}},
        {11, 33, "20", 2, "-12", "20", "1/10", 72, {0x07, 0, 11, 0x00, 0x00, 2, 33}},
        {23, 44, "30000", 1, "-1", "20000", "1/20", 152, {0x07, 1, 11, 0x02, 0xD9, 1, 44}},
        {13, 38, "  10 ", 1, "-7", "20", "1/20", 112, {0x07, 1, 1, 0x00, 0x00, 1, 38}},
        {5, 45, "20.06", 0, "0", "20.05", "1/70", 48, {0x07, 0, 5, 0x00, 0x01, 0, 45}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.image.fill(0xAA);
        const NotchTransfer out = rig.send(c.n, c.gain, c.freq, c.width);
        EXPECT_EQ(out.gainText, c.gainText) << c.n;
        EXPECT_EQ(out.freqText, c.freqText) << c.n;
        EXPECT_EQ(out.widthText, c.widthText) << c.n;
        EXPECT_EQ(out.payload, c.payload) << c.n;
        const std::array<std::uint8_t, 4> record{c.payload[6], c.payload[3], c.payload[4], c.payload[5]};
        EXPECT_EQ(rig.record(c.offset), record) << c.n;
        EXPECT_EQ(rig.image[c.offset - 1], 0xAA) << "neighbours untouched";
        EXPECT_EQ(rig.image[c.offset + 4], 0xAA) << "neighbours untouched";
        EXPECT_EQ(rig.arrays.freqHz[c.n], *model::ParseNumber(c.freqText));
        EXPECT_EQ(rig.arrays.gainDb[c.n], c.gain - 45);
        EXPECT_EQ(rig.arrays.widthCode[c.n], c.width);
    }
}

TEST(TransferNotch, EveryCodeAgreesAcrossBoxRecordFrameAndArrays) {
    Rig rig;
    for (int f = 0; f < model::kFreqCodes; ++f) {
        const int n = f % model::kNotches;
        const auto out = rig.send(n, f % 46, model::FormatNumber(model::FreqTable[f]), f % 4);
        const auto codes = model::ReadNotchRecord(rig.image, n);
        ASSERT_EQ(codes.freq, f);
        ASSERT_EQ(out.payload[3] * 256 + out.payload[4], f);
        ASSERT_EQ(rig.arrays.freqHz[n], model::FreqTable[f]);
        ASSERT_EQ(*model::ParseNumber(out.freqText), model::FreqTable[f]);
    }
}

TEST(TransferNotch, ABoxHoldingNoNumberStandsForTheFrequencyLastSent) {
    for (const char* text : {"", "?", "7?", "-", "  "}) {
        Rig rig;
        rig.send(4, 30, "1000", 2);
        const auto out = rig.send(4, 20, text, 1);
        EXPECT_EQ(out.freqText, "1003") << '"' << text << '"';
        EXPECT_EQ(out.payload, (Payload{0x07, 0, 4, 0x01, 0x9D, 1, 20})) << text;
        EXPECT_EQ(rig.arrays.freqHz[4], 1003);
    }
    Rig fresh;  // nothing sent yet: the table's first entry
    EXPECT_EQ(fresh.send(0, 45, "?", 0).freqText, "20");
}

TEST(TransferNotch, OutOfRangeControlValuesAreClampedNotIndexed) {
    Rig rig;
    const auto out = rig.send(3, 99, "1003", 7);
    EXPECT_EQ(out.gainText, "0");
    EXPECT_EQ(out.widthText, "1/5");
    EXPECT_EQ(out.payload, (Payload{0x07, 0, 3, 0x01, 0x9D, 3, 45}));
    EXPECT_EQ(rig.send(3, -4, "1003", -1).payload, (Payload{0x07, 0, 3, 0x01, 0x9D, 0, 0}));
}
