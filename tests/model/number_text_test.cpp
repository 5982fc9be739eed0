#include <gtest/gtest.h>

#include "model/number_text.h"

using model::ParseNumber;

TEST(ParseNumber, AcceptsNumbersWithBlanksSignAndEitherSeparator) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"1000", 1000}, {" 25000 ", 25000}, {"-45", -45}, {"+3", 3},
                          {"2.5", 2.5},   {"2,5", 2.5},       {"0", 0},     {"007", 7}};
    for (const auto& c : cases) {
        const auto value = ParseNumber(c.text);
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

TEST(ParseNumber, RefusesWhatIsNotANumber) {
    for (const char* text : {"", "  ", "-", "?", "7?", "1e3", "inf", "nan", "1.2.3", "12a", "--4", "+"})
        EXPECT_FALSE(ParseNumber(text)) << text;
}

TEST(FormatNumber, ShortestFormAndNoNegativeZero) {
    EXPECT_EQ(model::FormatNumber(-0.0), "0");
    EXPECT_EQ(model::FormatNumber(-12), "-12");
    EXPECT_EQ(model::FormatNumber(20.05), "20.05");
}
