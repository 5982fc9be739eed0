#include <gtest/gtest.h>

#include <QLabel>

#include "editor_rig.h"
#include "model/number_text.h"

using namespace editor_test;
using notch::AutoSetting;

namespace {

// Frames of one notch and of the automatic settings, from the image.
Bytes NotchFrame(const model::PresetImage& image, int n) {
    const int r = model::NotchRecordOffset[n];
    return Frame({0x07, static_cast<std::uint8_t>(n / 12), static_cast<std::uint8_t>(n % 12), image[r + 1],
                  image[r + 2], image[r + 3], image[r]});
}
Bytes SearchControl(const model::PresetImage& image, int c) {
    const int b = 76 + 80 * c;
    return Frame({0x0A, static_cast<std::uint8_t>(c + 1), image[b], image[b + 1], image[b + 2], image[b + 3], 0});
}
Bytes ReleaseMode(const model::PresetImage& image, int c) {
    return Frame({0x31, static_cast<std::uint8_t>(c), 0, 0, image[20 + 80 * c], image[21 + 80 * c], 0});
}

model::PresetImage Distinct() {
    model::PresetImage image = DefaultPreset();
    for (int n = 0; n < 24; ++n) {
        const int r = model::NotchRecordOffset[n];
        const int f = 30 * n + 7;
        image[r] = static_cast<std::uint8_t>(n + 10);
        image[r + 1] = static_cast<std::uint8_t>(f >> 8);
        image[r + 2] = static_cast<std::uint8_t>(f & 0xFF);
        image[r + 3] = static_cast<std::uint8_t>(n % 4);
    }
    for (int i = 0; i < 20; ++i) image[80 + i] = static_cast<std::uint8_t>(100 + i);  // Right's uninterpreted head
    image[102] = 0x55;
    image[76] = 3, image[77] = 1, image[78] = 1, image[79] = 12, image[20] = 1, image[21] = 0;
    image[156] = 7, image[157] = 3, image[158] = 0, image[159] = 2, image[100] = 0, image[101] = 1;
    // The automatic rows carry the automatic width, as the device keeps them.
    for (int k = 0; k < 3; ++k) image[model::NotchRecordOffset[k] + 3] = 1;
    for (int k = 0; k < 7; ++k) image[model::NotchRecordOffset[12 + k] + 3] = 3;
    image[160] = 0xA5;
    return image;
}

}  // namespace

TEST(ApplyPreset, DemoModeShowsTheDefaultPresetAndSendsNothing) {
    EditorRig rig;
    rig.sim.link.flags().demoMode = true;
    rig.link(true);
    rig.eq->fillFromDefaultImage();
    EXPECT_TRUE(rig.frames().empty());
    EXPECT_TRUE(rig.sim.link.flags().suppressSend) << "start-up clears it";
    EXPECT_FALSE(rig.eq->flags().channelsLinked);
    for (int n = 0; n < 24; ++n) {
        const auto& row = rig.row(n);
        EXPECT_EQ(row.freqBox->text(), "247.9") << n;
        EXPECT_EQ(row.freqBar->value(), 266);
        EXPECT_EQ(row.gainBar->value(), 45);
        EXPECT_EQ(row.gainBox->text(), "0");
        EXPECT_EQ(row.widthText->text(), "1/10");
        EXPECT_EQ(row.widthBar->value(), 2);
        EXPECT_EQ(row.freqBox->isEnabled(), n % 12 == 11) << "eleven automatic rows";
    }
    for (int c = 0; c < 2; ++c) {
        const auto& s = rig.settings(c);
        EXPECT_EQ(s.valueTextOf(AutoSetting::NumNotchAuto)->text(), "11");
        EXPECT_EQ(s.valueTextOf(AutoSetting::QNotchAuto)->text(), "1/10");
        EXPECT_EQ(s.valueTextOf(AutoSetting::AttenuationMode)->text(), "Fixed");
        EXPECT_EQ(s.sensitivitySlider->value(), 6);
        EXPECT_EQ(s.sensitivityBox->text(), "7");
        EXPECT_EQ(s.valueTextOf(AutoSetting::ReleaseSpeed)->text(), "Slow");
        EXPECT_EQ(s.valueTextOf(AutoSetting::SearchMode)->text(), "Sharp");
    }
    EXPECT_TRUE(std::equal(model::DefaultImage.begin(), model::DefaultImage.end(), rig.image.begin()));
}

TEST(ApplyPreset, SendsEveryNotchThenEachChannelsSettingsInOrder) {
    EditorRig rig;
    rig.image = Distinct();
    const auto original = rig.image;
    devlink::RunToEnd(rig.eq->applyPresetToEditor());  // as a preset file load: sending allowed
    Frames expected;
    for (int n = 0; n < 24; ++n) expected.push_back(NotchFrame(original, n));
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 4; ++i) expected.push_back(SearchControl(original, c));
        expected.push_back(ReleaseMode(original, c));
        expected.push_back(ReleaseMode(original, c));
    }
    EXPECT_EQ(Dump(rig.frames()), Dump(expected));
    EXPECT_EQ(rig.image, original) << "a valid image comes through unchanged, byte 160 too";
    const auto& device = rig.sim.device.settings();
    for (int c = 0; c < 2; ++c)
        for (int i = 20 + 80 * c; i < 80 + 80 * c; ++i)
            if (i % 80 < 22 || i % 80 >= 28) {
                EXPECT_EQ(device[i], original[i]) << "device byte " << i;
            }
}

TEST(ApplyPreset, FillingFromTheDeviceSendsNothingAndAllowsSendingAfter) {
    EditorRig rig;
    rig.link(true);
    rig.image = Distinct();
    rig.eq->fillFromImage();
    EXPECT_TRUE(rig.frames().empty());
    EXPECT_FALSE(rig.sim.link.flags().suppressSend);
    EXPECT_FALSE(rig.eq->flags().channelsLinked);
    EXPECT_EQ(rig.image, Distinct());
    rig.row(20).gainBar->setValue(1);
    EXPECT_EQ(rig.frames().size(), 1u);
}

TEST(ApplyPreset, ReleaseOrSearchModeAboveOneShowsAndSendsZero) {
    struct Case {
        int offset;
        int value;
        AutoSetting setting;
        int channel;
        const char* shown;
    };
    const Case cases[] = {{20, 2, AutoSetting::ReleaseSpeed, 0, "Slow"},
                          {21, 255, AutoSetting::SearchMode, 0, "Sharp"},
                          {100, 7, AutoSetting::ReleaseSpeed, 1, "Slow"},
                          {101, 2, AutoSetting::SearchMode, 1, "Sharp"}};
    for (const auto& c : cases) {
        EditorRig rig;
        rig.image = DefaultPreset();
        rig.image[20] = rig.image[21] = rig.image[100] = rig.image[101] = 1;
        rig.image[c.offset] = static_cast<std::uint8_t>(c.value);
        devlink::RunToEnd(rig.eq->applyPresetToEditor());
        EXPECT_EQ(rig.settings(c.channel).valueTextOf(c.setting)->text(), c.shown);
        EXPECT_EQ(rig.image[c.offset], 0);
        const Frames frames = rig.frames();
        const Bytes& sent = frames.at(24 + 6 * c.channel + 4);
        EXPECT_EQ(sent[2], 0x31);
        EXPECT_EQ(sent[6 + (c.setting == AutoSetting::SearchMode)], 0) << c.offset;
        EXPECT_EQ(sent[6 + (c.setting != AutoSetting::SearchMode)], 1) << c.offset;
    }
}

TEST(ApplyPreset, OutOfRangeCodesAreClampedInTheImageAndEverywhereShown) {
    struct Case {
        int offset;
        int value;
        int clamped;
    };
    const Case cases[] = {
        {44, 200, 45},                 // row 4 gain
        {45, 0xFF, 2},                 // row 4 frequency 0xFFFF -> 729 = 02 D9
        {47, 9, 3},                    // row 4 width
        {76, 0, 1},    {156, 13, 12},  // Num notch automatic
        {77, 7, 3},    {78, 5, 1},    {159, 40, 15},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        auto preset = DefaultPreset();
        preset[76] = 1;  // row 4 manual, so its width stays its own
        preset[c.offset] = static_cast<std::uint8_t>(c.value);
        if (c.offset == 45) preset[46] = 0xFF;
        rig.image = preset;
        rig.eq->fillFromImage();
        EXPECT_EQ(rig.image[c.offset], c.clamped) << c.offset;
        EXPECT_TRUE(model::ImageCodesInRange(rig.image));
    }
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[28 + 4 * 4 + 1] = 0xFF, preset[28 + 4 * 4 + 2] = 0xFF, preset[28 + 4 * 4] = 99;
    rig.image = preset;
    devlink::RunToEnd(rig.eq->applyPresetToEditor());
    EXPECT_EQ(rig.row(4).freqBox->text(), "20000");
    EXPECT_EQ(rig.row(4).freqBar->value(), 729);
    EXPECT_EQ(rig.row(4).gainBox->text(), "0");
    EXPECT_EQ(rig.frames().at(4), Frame({0x07, 0, 4, 0x02, 0xD9, 2, 45}));
}

TEST(ApplyPreset, FrequencyBytes2And217ShowTheTopEntry) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[28 + 4 * 6 + 1] = 2, preset[28 + 4 * 6 + 2] = 217;
    rig.load(preset);
    EXPECT_EQ(rig.row(6).freqBox->text(), "20000");
    EXPECT_EQ(rig.row(6).freqBar->value(), 729);
}

TEST(CopyChannel, LeftToRightCopiesRecordsAndSettingsButNotTheRest) {
    EditorRig rig;
    rig.load(Distinct());
    const auto before = rig.image;
    devlink::RunToEnd(rig.eq->copyLeftToRight());
    for (int i = 28; i < 76; ++i) EXPECT_EQ(rig.image[80 + i], before[i]) << i;
    for (int i : {20, 21, 76, 77, 78, 79}) EXPECT_EQ(rig.image[80 + i], before[i]) << i;
    for (int i = 80; i < 100; ++i) EXPECT_EQ(rig.image[i], before[i]) << i;
    for (int i = 102; i < 108; ++i) EXPECT_EQ(rig.image[i], before[i]) << i;
    EXPECT_TRUE(std::equal(rig.image.begin(), rig.image.begin() + 80, before.begin())) << "Left untouched";
    EXPECT_TRUE(model::HalvesDiffer(rig.image)) << "the uninterpreted bytes still differ";
    // Each frame carries the image as it is when sent: the spin arrows'
    // bytes are copied as their controls take the values, the slider's
    // (quiet when the program sets it) only with its own send.
    auto beforeSensitivity = rig.image;
    beforeSensitivity[159] = before[159];
    Frames expected;
    for (int k = 0; k < 12; ++k) expected.push_back(NotchFrame(rig.image, 12 + k));
    for (int i = 0; i < 3; ++i) expected.push_back(SearchControl(beforeSensitivity, 1));
    expected.push_back(SearchControl(rig.image, 1));
    expected.push_back(ReleaseMode(rig.image, 1));
    expected.push_back(ReleaseMode(rig.image, 1));
    EXPECT_EQ(Dump(rig.frames()), Dump(expected));
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(rig.row(12 + k).freqBox->text(), rig.row(k).freqBox->text());
        EXPECT_EQ(rig.row(12 + k).gainBar->value(), rig.row(k).gainBar->value());
        EXPECT_EQ(rig.row(12 + k).freqBox->isEnabled(), rig.row(k).freqBox->isEnabled());
    }
    for (const AutoSetting s : notch::kAutoSettings)
        EXPECT_EQ(rig.eq->autoSettings()(s, 1), rig.eq->autoSettings()(s, 0));
}

TEST(CopyChannel, RightToLeftSendsTheSensitivityAfterTheSpeedSettings) {
    EditorRig rig;
    rig.load(Distinct());
    const std::uint8_t oldSensitivity = rig.image[79];
    devlink::RunToEnd(rig.eq->copyRightToLeft());
    auto beforeSensitivity = rig.image;
    beforeSensitivity[79] = oldSensitivity;
    for (int i = 28; i < 80; ++i) EXPECT_EQ(rig.image[i], rig.image[80 + i]) << i;
    EXPECT_EQ(rig.image[20], rig.image[100]);
    EXPECT_EQ(rig.image[21], rig.image[101]);
    Frames expected;
    for (int k = 0; k < 12; ++k) expected.push_back(NotchFrame(rig.image, k));
    for (int i = 0; i < 3; ++i) expected.push_back(SearchControl(beforeSensitivity, 0));
    expected.push_back(ReleaseMode(rig.image, 0));
    expected.push_back(ReleaseMode(rig.image, 0));
    expected.push_back(SearchControl(rig.image, 0));
    EXPECT_EQ(Dump(rig.frames()), Dump(expected));
}

TEST(CopyChannel, ASourceBoxHoldingNoNumberCopiesTheSourcesFrequency) {
    EditorRig rig;
    rig.load(Distinct());
    EditorRig::type(rig.row(9).freqBox, "x");  // "?"
    devlink::RunToEnd(rig.eq->copyLeftToRight());
    EXPECT_EQ(rig.row(21).freqBox->text(), QString::fromStdString(model::FormatNumber(model::FreqTable[30 * 9 + 7])));
    EXPECT_EQ(model::ReadNotchRecord(rig.image, 21).freq, 30 * 9 + 7);
}

TEST(PresetLabels, SourceAndTitle) {
    EditorRig rig;
    rig.eq->setPresetSource("Preset loaded from Device");
    rig.eq->showPresetTitle("5: Stage   ");
    EXPECT_EQ(rig.eq->presetSource(), "Preset loaded from Device");
    EXPECT_EQ(rig.eq->presetTitle(), "5: Stage   ");
    EXPECT_EQ(rig.named<QLabel>("Label8")->text(), "5: Stage   ");
    EXPECT_EQ(rig.eq->windowTitle(), "Parameters Control");
}
