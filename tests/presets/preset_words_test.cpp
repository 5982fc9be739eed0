// Texts, store frames and store checks: what the dialogs compute before a
// byte reaches the device.
#include <gtest/gtest.h>
#include <QStringList>

#include "devlink/commands.h"
#include "presets/preset_texts.h"
#include "presets/preset_words.h"
#include "presets/store_frames.h"
#include "presets/store_request.h"

using namespace presets;

namespace {

devlink::Payload Write(int address, std::uint8_t data) {
    return {0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, data, 0, 0};
}

// Position 7 is checked frame by frame through the dialog; here the first and
// last slots, whose addresses are the ends of each area.
TEST(StorePayloads, FirstAndLastSlotAddresses) {
    struct Case {
        int slot;
        int data;
        int name;
        int marker;
    };
    model::PresetImage image{};
    for (int m = 0; m < model::kImageSize; ++m) image[m] = static_cast<std::uint8_t>(m * 7 + 3);
    const model::PresetNameBytes name{' ', ' ', 'P', 'A', 'R', 'T', 'Y', ' '};
    for (const Case& c : {Case{0, 0x0120, 0x0F20, 0x0030}, Case{15, 0x0A80, 0x0F98, 0x003F}}) {
        SCOPED_TRACE(c.slot);
        const StorePlan plan = StorePayloads(image, name, c.slot);
        EXPECT_EQ(plan[0], Write(c.data, image[0]));
        EXPECT_EQ(plan[159], Write(c.data + 159, image[159]));
        EXPECT_EQ(plan[160], Write(c.name, ' '));
        EXPECT_EQ(plan[167], Write(c.name + 7, ' '));
        EXPECT_EQ(plan[168], Write(c.marker, 0x55));
    }
}

TEST(PresetWords, NumberColumns) {
    EXPECT_EQ(NumberColumnText(1, 20).split('\n').join(' '),
              QStringLiteral("01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20"));
    EXPECT_EQ(NumberColumnText(5, 20).split('\n').join(' '),
              QStringLiteral("05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20"));
}

TEST(PresetWords, OnlyComboItemsNameASlot) {
    struct Case {
        const char* text;
        std::optional<int> slot;
    };
    for (const Case& c : {Case{"05", 0}, Case{"07", 2}, Case{"20", 15}, Case{"04", std::nullopt},
                          Case{"21", std::nullopt}, Case{"7", std::nullopt}, Case{"", std::nullopt},
                          Case{" 07", std::nullopt}, Case{"07 ", std::nullopt}, Case{"abc", std::nullopt}}) {
        EXPECT_EQ(SlotFromPositionText(QString::fromLatin1(c.text)), c.slot) << '"' << c.text << '"';
    }
}

TEST(CheckStoreRequest, RefusesTypedPositionsAndUncodableNames) {
    struct Case {
        QString position;
        QString name;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        {"07", "PARTY", nullptr},
        {"07", "", nullptr},
        {"07", QString::fromUtf8("Café"), nullptr},       // Latin-1 fits in a byte
        {"07", QString::fromUtf8("ABCDEFGHΩ"), nullptr},  // the ninth character is never coded
        {"07", QString::fromUtf8("Ωmega"), kNameNotStorable},
        {"07", QString::fromUtf8("日本"), kNameNotStorable},
        {"07", QString(QChar(0xD800)), kNameNotStorable},  // half a surrogate pair
        {"21", "PARTY", kNoPositionSelected},
        {"", "PARTY", kNoPositionSelected},
        {"x", QString::fromUtf8("Ωmega"), kNoPositionSelected},  // the position is asked for first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.position + " / " + c.name).toStdString());
        const auto checked = CheckStoreRequest(c.position, c.name);
        if (c.refusal) {
            ASSERT_TRUE(std::holds_alternative<StoreRefusal>(checked));
            EXPECT_STREQ(StoreRefusalText(std::get<StoreRefusal>(checked)), c.refusal);
        } else {
            ASSERT_TRUE(std::holds_alternative<StoreRequest>(checked));
            EXPECT_EQ(std::get<StoreRequest>(checked).slot, 2);
            EXPECT_EQ(std::get<StoreRequest>(checked).name, c.name.toStdU32String()) << "kept as typed";
        }
    }
    const auto cafe = std::get<StoreRequest>(CheckStoreRequest("07", QString::fromUtf8("Café")));
    EXPECT_EQ(cafe.nameBytes, (model::PresetNameBytes{' ', ' ', 'C', 'a', 'f', 0xE9, ' ', ' '}));
}

}  // namespace
