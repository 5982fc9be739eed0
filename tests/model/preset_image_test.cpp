#include <gtest/gtest.h>

#include "model/preset_image.h"

using namespace model;

TEST(NotchRecord, SplitsTheFrequencyCodeIntoHighAndLowBytes) {
    PresetImage image{};
    WriteNotchRecord(image, 12, {7, 729, 3});
    EXPECT_EQ(image[108], 7);
    EXPECT_EQ(image[109], 0x02);
    EXPECT_EQ(image[110], 0xD9);
    EXPECT_EQ(image[111], 3);
    EXPECT_EQ(ReadNotchRecord(image, 12), (NotchCodes{7, 729, 3}));
}

TEST(ClampImageCodes, BringsEveryCodeIntoItsRange) {
    PresetImage image{};
    std::copy(DefaultImage.begin(), DefaultImage.end(), image.begin());
    EXPECT_TRUE(ImageCodesInRange(image));
    image[28] = 46;  // gain
    image[29] = 2;
    image[30] = 218;  // frequency 730
    image[31] = 4;    // width
    image[76] = 0;    // num notch automatic
    image[156] = 13;
    image[77] = 9;
    image[78] = 2;
    image[79] = 16;
    image[20] = 2;
    image[101] = 255;
    image[160] = 0xAB;  // spare byte: anything goes
    EXPECT_FALSE(ImageCodesInRange(image));
    EXPECT_TRUE(ClampImageCodes(image));
    EXPECT_EQ(ReadNotchRecord(image, 0), (NotchCodes{45, 729, 3}));
    EXPECT_EQ(image[76], 1);
    EXPECT_EQ(image[156], 12);
    EXPECT_EQ(image[77], 3);
    EXPECT_EQ(image[78], 1);
    EXPECT_EQ(image[79], 15);
    EXPECT_EQ(image[20], 0);
    EXPECT_EQ(image[101], 0);
    EXPECT_EQ(image[160], 0xAB);
    EXPECT_FALSE(ClampImageCodes(image));
}

TEST(ClampImageCodes, ErasedMemoryBecomesUsable) {
    PresetImage image;
    image.fill(0xFF);
    ClampImageCodes(image);
    EXPECT_TRUE(ImageCodesInRange(image));
}

TEST(HalvesDiffer, AnyByteOfTheHalvesCounts) {
    PresetImage image{};
    EXPECT_FALSE(HalvesDiffer(image));
    image[160] = 1;
    EXPECT_FALSE(HalvesDiffer(image));
    for (int i : {0, 79, 80, 159}) {
        PresetImage changed{};
        changed[i] = 1;
        EXPECT_TRUE(HalvesDiffer(changed)) << i;
    }
}
