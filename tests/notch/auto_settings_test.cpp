#include <gtest/gtest.h>

#include "notch/auto_settings.h"

using namespace notch;
using devlink::Payload;

namespace {

model::PresetImage NumberedImage() {
    model::PresetImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i);
    return image;
}

}  // namespace

TEST(AutoSettingsFrames, CarryTheImageBytesOfTheChannel) {
    const auto image = NumberedImage();
    struct Case {
        AutoSetting setting;
        int channel;
        Payload payload;
    };
    using enum AutoSetting;
    const Case cases[] = {
        {NumNotchAuto, 0, {0x0A, 1, 76, 77, 78, 79, 0}},    {QNotchAuto, 1, {0x0A, 2, 156, 157, 158, 159, 0}},
        {AttenuationMode, 0, {0x0A, 1, 76, 77, 78, 79, 0}}, {Sensitivity, 1, {0x0A, 2, 156, 157, 158, 159, 0}},
        {ReleaseSpeed, 0, {0x31, 0, 0, 0, 20, 21, 0}},      {SearchMode, 1, {0x31, 1, 0, 0, 100, 101, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommitPayload(c.setting, image, c.channel), c.payload) << static_cast<int>(c.setting);
}

TEST(AutoSettingsText, CaptionsAndValueTexts) {
    struct Case {
        AutoSetting setting;
        int state;
        const char* caption;
        const char* text;
    };
    using enum AutoSetting;
    const Case cases[] = {
        {NumNotchAuto, 12, "Num notch automatic", "12"},
        {NumNotchAuto, 1, "Num notch automatic", "1"},
        {QNotchAuto, 2, "Q notch automatic", "1/10"},
        {QNotchAuto, 9, "Q notch automatic", "1/5"},
        {AttenuationMode, 1, "Attenuation notch", "Variable"},
        {Sensitivity, 5, "Sensitivity ", "6"},
        {ReleaseSpeed, 0, "Release notch", "Slow"},
        {SearchMode, 1, "Mode search", "Fast"},
        {SearchMode, 0, "Mode search", "Sharp"},
        {ReleaseSpeed, 200, "Release notch", "Fast"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Caption(c.setting), c.caption);
        EXPECT_EQ(ValueText(c.setting, c.state), c.text) << c.caption << c.state;
    }
}
