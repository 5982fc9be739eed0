#include <gtest/gtest.h>

#include "model/preset_name.h"

using model::PadPresetName;

namespace {
std::string Bytes(const model::PresetNameBytes& b) { return std::string(b.begin(), b.end()); }
}  // namespace

TEST(PadPresetName, CentresWithTheOddSpaceInFront) {
    struct Case {
        std::u32string text;
        std::string stored;
    };
    const Case cases[] = {
        {U"", "        "},         {U"A", "    A   "},          {U"AB", "   AB   "},     {U"ABC", "   ABC  "},
        {U"ABCD", "  ABCD  "},     {U"PARTY", "  PARTY "},      {U"ABCDEF", " ABCDEF "}, {U"ABCDEFG", " ABCDEFG"},
        {U"ABCDEFGH", "ABCDEFGH"}, {U"ABCDEFGHIJ", "ABCDEFGH"},
    };
    for (const auto& c : cases) {
        const auto bytes = PadPresetName(c.text);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(Bytes(*bytes), c.stored);
    }
}

TEST(PadPresetName, CodesLatin1AndRefusesWhatDoesNotFitOneByte) {
    const auto latin = PadPresetName(U"Caf\u00e9");
    ASSERT_TRUE(latin);
    EXPECT_EQ((*latin)[5], 0xE9);
    EXPECT_FALSE(PadPresetName(U"\u20acuro"));     // euro sign
    EXPECT_FALSE(PadPresetName(U"AB\U0001F600"));  // beyond the first plane
    // A character cut off by the eight-character limit is never coded.
    EXPECT_TRUE(PadPresetName(U"ABCDEFGH\u20ac"));
}

TEST(DecodePresetName, KeepsPaddingAndEveryByte) {
    const std::uint8_t party[] = {80, 65, 82, 84, 89, 32, 32, 32};
    EXPECT_EQ(model::DecodePresetName(party), U"PARTY   ");
    const std::uint8_t erased[] = {0xFF, 0, 7, 'A', 0x7F, 0x9B, 0xE9, ' '};
    const auto name = model::DecodePresetName(erased);
    ASSERT_EQ(name.size(), 8u);
    EXPECT_EQ(name[0], U'\u00FF');
    EXPECT_EQ(model::PrintablePresetName(name), U"\u00FF\u00B7\u00B7A\u00B7\u00B7\u00E9 ");
}
