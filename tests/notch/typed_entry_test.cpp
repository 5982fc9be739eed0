#include <gtest/gtest.h>

#include "notch/typed_entry.h"

using namespace notch;

TEST(JudgeKey, EachBoxTakesOnlyWhatCanBelongToItsValue) {
    struct Case {
        TypedBox box;
        char32_t ch;
        KeyVerdict verdict;
    };
    using enum TypedBox;
    using enum KeyVerdict;
    const Case cases[] = {
        {Gain, U'0', Pass},
        {Gain, U'9', Pass},
        {Gain, U'-', Pass},
        {Gain, kBackspace, Pass},
        {Gain, kEnter, Enter},
        {Gain, U'.', Reject},
        {Gain, U',', Reject},
        {Gain, U'a', Reject},
        {Gain, U'+', Reject},
        {Gain, U' ', Reject},
        {Gain, U'?', Reject},
        {Frequency, U'5', Pass},
        {Frequency, kBackspace, Pass},
        {Frequency, kEnter, Enter},
        {Frequency, U'-', Reject},
        {Frequency, U'.', Reject},
        {Frequency, U'k', Reject},
        {Sensitivity, U'1', Pass},
        {Sensitivity, kBackspace, Pass},
        {Sensitivity, kEnter, Enter},
        {Sensitivity, U'-', Reject},
        {Sensitivity, U'.', Reject},
        {Sensitivity, U'\u00e9', Reject},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JudgeKey(c.box, c.ch), c.verdict) << static_cast<int>(c.box) << " " << static_cast<int>(c.ch);
}

TEST(SnapTypedGain, ClampsToMinus45To0ThenSnaps) {
    struct Case {
        const char* text;
        int code;
        const char* shown;
    };
    const Case cases[] = {{"-50", 0, "-45"}, {"3", 45, "0"},      {"-7", 38, "-7"}, {"0", 45, "0"},
                          {"-45", 0, "-45"}, {"-44.5", 0, "-45"}, {"-0", 45, "0"},  {"0045", 45, "0"}};
    for (const auto& c : cases) {
        const auto snapped = SnapTypedGain(c.text);
        ASSERT_TRUE(snapped) << c.text;
        EXPECT_EQ(snapped->code, c.code) << c.text;
        EXPECT_EQ(snapped->text, c.shown) << c.text;
    }
}

TEST(SnapTypedFreq, ClampsTo20To20000ThenSnaps) {
    struct Case {
        const char* text;
        int code;
        const char* shown;
    };
    const Case cases[] = {{"25000", 729, "20000"}, {"5", 0, "20"}, {"1000", 413, "1003"}, {"20000", 729, "20000"},
                          {"19950", 728, "19900"}, {"0", 0, "20"}, {"248", 266, "247.9"}};
    for (const auto& c : cases) {
        const auto snapped = SnapTypedFreq(c.text);
        ASSERT_TRUE(snapped) << c.text;
        EXPECT_EQ(snapped->code, c.code) << c.text;
        EXPECT_EQ(snapped->text, c.shown) << c.text;
    }
}

TEST(SnapTypedSensitivity, ClampsTo1To16ThenSnapsTiesLower) {
    struct Case {
        const char* text;
        int position;
        const char* shown;
    };
    const Case cases[] = {{"99", 15, "16"}, {"0", 0, "1"},   {"2.5", 1, "2"},  {"2,5", 1, "2"},
                          {"2.6", 2, "3"},  {" 7 ", 6, "7"}, {"16", 15, "16"}, {"1", 0, "1"}};
    for (const auto& c : cases) {
        const auto snapped = SnapTypedSensitivity(c.text);
        ASSERT_TRUE(snapped) << c.text;
        EXPECT_EQ(snapped->position, c.position) << c.text;
        EXPECT_EQ(snapped->text, c.shown) << c.text;
    }
}

TEST(SnapTyped, TextsThatAreNoNumberGiveNothing) {
    for (const char* text : {"", " ", "-", "?", "7?", "1-2", "abc", "1e3", "--5"}) {
        EXPECT_FALSE(SnapTypedGain(text)) << text;
        EXPECT_FALSE(SnapTypedFreq(text)) << text;
        EXPECT_FALSE(SnapTypedSensitivity(text)) << text;
    }
}
