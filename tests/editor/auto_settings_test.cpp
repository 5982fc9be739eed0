#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include "editor_rig.h"

using namespace editor_test;
using notch::AutoSetting;

namespace {

// Defaults (11 automatic, Q 1/10, Fixed, sensitivity 6, Slow, Sharp) with
// the Right channel's settings told apart.
model::PresetImage Settings() {
    auto image = DefaultPreset();
    image[156] = 5;  // Right: 5 automatic
    image[157] = 1;  // 1/20
    image[158] = 1;  // Variable
    image[159] = 9;  // sensitivity 10
    image[100] = 1;  // Fast
    image[101] = 1;  // Fast
    return image;
}

Bytes SearchControl(int channel, const model::PresetImage& image) {
    const int base = 76 + 80 * channel;
    return Frame({0x0A, static_cast<std::uint8_t>(channel + 1), image[base], image[base + 1], image[base + 2],
                  image[base + 3], 0});
}

Bytes ReleaseMode(int channel, int release, int mode) {
    return Frame({0x31, static_cast<std::uint8_t>(channel), 0, 0, static_cast<std::uint8_t>(release),
                  static_cast<std::uint8_t>(mode), 0});
}

void Click(QScrollBar* spin, bool up) {
    spin->triggerAction(up ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
}

}  // namespace

TEST(AutoSettings, EachSpinStoresShowsWritesTheImageAndSends) {
    struct Case {
        AutoSetting setting;
        int channel;
        int value;
        const char* label;
        int offset;
        int byte;
    };
    using enum AutoSetting;
    const Case cases[] = {
        {NumNotchAuto, 0, 3, "4", 76, 4},           {NumNotchAuto, 1, 11, "12", 156, 12},
        {QNotchAuto, 0, 0, "1/70", 77, 0},          {QNotchAuto, 1, 3, "1/5", 157, 3},
        {AttenuationMode, 0, 1, "Variable", 78, 1}, {AttenuationMode, 1, 0, "Fixed", 158, 0},
        {ReleaseSpeed, 0, 1, "Fast", 20, 1},        {ReleaseSpeed, 1, 0, "Slow", 100, 0},
        {SearchMode, 0, 1, "Fast", 21, 1},          {SearchMode, 1, 0, "Sharp", 101, 0},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(Settings());
        rig.spin(c.setting, c.channel)->setValue(c.value);
        EXPECT_EQ(rig.settings(c.channel).valueTextOf(c.setting)->text(), c.label);
        EXPECT_EQ(rig.image[c.offset], c.byte);
        EXPECT_EQ(rig.eq->autoSettings()(c.setting, c.channel), c.byte);
        const bool release = c.setting == ReleaseSpeed || c.setting == SearchMode;
        const Bytes frame = release
                                ? ReleaseMode(c.channel, rig.image[20 + 80 * c.channel], rig.image[21 + 80 * c.channel])
                                : SearchControl(c.channel, rig.image);
        EXPECT_EQ(rig.frames(), Frames{frame}) << c.label;
        EXPECT_EQ(rig.sim.device.settings()[c.offset], c.byte) << "the device took it";
    }
}

TEST(AutoSettings, NumNotchAutomaticDisablesItsRows) {
    struct Case {
        int value;
        const char* label;
        int byte;
        int disabledRows;
    };
    for (const auto& c : {Case{11, "12", 12, 12}, Case{0, "1", 1, 1}, Case{5, "6", 6, 6}}) {
        EditorRig rig;
        rig.load(Settings());
        rig.spin(AutoSetting::NumNotchAuto, 0)->setValue(c.value);
        EXPECT_EQ(rig.settings(0).valueTextOf(AutoSetting::NumNotchAuto)->text(), c.label);
        EXPECT_EQ(rig.image[76], c.byte);
        for (int k = 0; k < 12; ++k) {
            const auto& row = rig.row(k);
            const bool enabled = k >= c.disabledRows;
            for (QWidget* w : {static_cast<QWidget*>(row.gainBar), static_cast<QWidget*>(row.gainBox),
                               static_cast<QWidget*>(row.widthBar), static_cast<QWidget*>(row.widthText),
                               static_cast<QWidget*>(row.freqBox), static_cast<QWidget*>(row.freqBar)})
                EXPECT_EQ(w->isEnabled(), enabled) << c.value << " row " << k << " " << w->objectName().toStdString();
        }
        for (int k = 0; k < 12; ++k) EXPECT_EQ(rig.row(12 + k).gainBar->isEnabled(), k >= 5) << "Right untouched";
    }
}

TEST(AutoSettings, ChangingTheAutomaticCountAloneChangesNoWidth) {
    EditorRig rig;
    auto preset = Settings();
    for (int k = 0; k < 12; ++k) preset[28 + 4 * k + 3] = 0;  // every Left row 1/70
    preset[76] = 4;
    rig.load(preset);  // automatic rows 0..3 take the automatic 1/10
    auto widths = [&] {
        std::vector<int> w;
        for (int k = 0; k < 12; ++k) w.push_back(rig.row(k).widthBar->value());
        return w;
    };
    const std::vector<int> before = {2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(widths(), before);
    rig.spin(AutoSetting::NumNotchAuto, 0)->setValue(7);
    EXPECT_EQ(widths(), before) << "rows becoming automatic keep their width";
    rig.spin(AutoSetting::NumNotchAuto, 0)->setValue(0);
    EXPECT_EQ(widths(), before) << "rows becoming manual keep the automatic width";
    for (int k = 0; k < 12; ++k) EXPECT_EQ(rig.image[28 + 4 * k + 3], before[k]);
    rig.spin(AutoSetting::QNotchAuto, 0)->setValue(3);  // now only row 0 is automatic
    EXPECT_EQ(widths(), (std::vector<int>{3, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.row(0).widthText->text(), "1/5");
    EXPECT_EQ(rig.image[28 + 3], 3);
    EXPECT_EQ(rig.eq->notchArrays().widthCode[0], 3);
}

TEST(AutoSettings, SensitivityBoxTakesEffectOnEnterOnly) {
    struct Case {
        const char* typed;
        const char* shown;
        int position;
    };
    for (const auto& c : {Case{"99", "16", 15}, Case{"0", "1", 0}, Case{"7", "7", 6}, Case{"16", "16", 15}}) {
        EditorRig rig;
        rig.load(Settings());
        QLineEdit* box = rig.settings(0).sensitivityBox;
        EditorRig::type(box, c.typed);
        EXPECT_TRUE(rig.frames().empty());
        EXPECT_EQ(rig.settings(0).sensitivitySlider->value(), 6) << "typing alone applies nothing";
        EditorRig::enter(box);
        EXPECT_EQ(box->text(), c.shown) << c.typed;
        EXPECT_EQ(rig.settings(0).sensitivitySlider->value(), c.position);
        EXPECT_EQ(rig.image[79], c.position);
        EXPECT_EQ(rig.frames(), Frames{SearchControl(0, rig.image)});
        EXPECT_EQ(rig.image[79], c.position);
    }
}

TEST(AutoSettings, SensitivityBoxRefusesWhatIsNoNumber) {
    struct Case {
        const char* typed;
        const char* after;
        int warnings;
    };
    // "?" is itself a refused key: "7?" shows one warning, Enter a second.
    for (const auto& c : {Case{"", "?", 1}, Case{"7?", "7??", 2}, Case{"-3", "?3?", 2}, Case{"a", "??", 2}}) {
        EditorRig rig;
        rig.load(Settings());
        QLineEdit* box = rig.settings(1).sensitivityBox;
        EditorRig::type(box, c.typed);
        EditorRig::enter(box);
        EXPECT_EQ(box->text(), c.after) << c.typed;
        ASSERT_EQ(rig.sim.dialogs.shown.size(), static_cast<std::size_t>(c.warnings)) << c.typed;
        for (const auto& m : rig.sim.dialogs.shown) {
            EXPECT_EQ(m.text, "  Incorrect value");
            EXPECT_EQ(m.title, "Warning");
            EXPECT_EQ(m.buttons, ui::Buttons::Ok);
        }
        EXPECT_EQ(rig.settings(1).sensitivitySlider->value(), 9);
        EXPECT_EQ(rig.eq->autoSettings().sensitivity[1], 9);
        EXPECT_EQ(rig.image[159], 9);
        EXPECT_TRUE(rig.frames().empty());
    }
}

TEST(AutoSettings, PastedHalfWaySensitivityGoesToTheLowerValue) {
    struct Case {
        const char* pasted;
        const char* shown;
        int position;
    };
    for (const auto& c : {Case{"2.5", "2", 1}, Case{"2,5", "2", 1}, Case{"2.6", "3", 2}}) {
        EditorRig rig;
        rig.load(Settings());
        QLineEdit* box = rig.settings(0).sensitivityBox;
        QApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(box->text(), c.pasted) << "a shortcut is editing, not typing";
        EditorRig::enter(box);
        EXPECT_EQ(box->text(), c.shown);
        EXPECT_EQ(rig.settings(0).sensitivitySlider->value(), c.position);
        EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    }
}

TEST(AutoSettings, SliderMoveShowsStoresAndSends) {
    EditorRig rig;
    rig.load(Settings());
    rig.settings(1).sensitivitySlider->setValue(12);
    EXPECT_EQ(rig.settings(1).sensitivityBox->text(), "13");
    EXPECT_EQ(rig.image[159], 12);
    EXPECT_EQ(rig.frames(), Frames{SearchControl(1, rig.image)});
    EXPECT_EQ(rig.settings(0).sensitivitySlider->value(), 6);
}

TEST(AutoSettings, LinkedChangesGoToThisChannelThenTheOther) {
    struct Case {
        const char* what;
        std::function<void(EditorRig&)> edit;
        std::function<Frames(const model::PresetImage&)> frames;
    };
    const Case cases[] = {
        {"Mode search Left", [](EditorRig& r) { Click(r.spin(AutoSetting::SearchMode, 0), true); },
         [](const model::PresetImage&) {
             return Frames{ReleaseMode(0, 0, 1), ReleaseMode(1, 1, 1)};
         }},
        {"Release Right", [](EditorRig& r) { Click(r.spin(AutoSetting::ReleaseSpeed, 1), false); },
         [](const model::PresetImage&) {
             return Frames{ReleaseMode(1, 0, 1), ReleaseMode(0, 0, 0)};
         }},
        {"Num Left", [](EditorRig& r) { Click(r.spin(AutoSetting::NumNotchAuto, 0), false); },
         [](const model::PresetImage& i) {
             return Frames{SearchControl(0, i), SearchControl(1, i)};
         }},
        {"Attenuation Right", [](EditorRig& r) { Click(r.spin(AutoSetting::AttenuationMode, 1), false); },
         [](const model::PresetImage& i) {
             return Frames{SearchControl(1, i), SearchControl(0, i)};
         }},
        {"Slider Left", [](EditorRig& r) { r.settings(0).sensitivitySlider->setValue(2); },
         [](const model::PresetImage& i) {
             return Frames{SearchControl(0, i), SearchControl(1, i)};
         }},
        {"Sensitivity box Right",
         [](EditorRig& r) {
             EditorRig::type(r.settings(1).sensitivityBox, "4");
             EditorRig::enter(r.settings(1).sensitivityBox);
         },
         [](const model::PresetImage& i) {
             return Frames{SearchControl(1, i), SearchControl(0, i)};
         }},
        {"Slider Left held against a late reply",
         [](EditorRig& r) { r.holdArrow(r.settings(0).sensitivitySlider, QAbstractSlider::SliderSingleStepAdd); },
         [](const model::PresetImage& i) {
             auto first = i;
             first[79] = static_cast<std::uint8_t>(i[79] - 1);
             return Frames{SearchControl(0, first), SearchControl(0, i), SearchControl(1, i)};
         }},
    };
    for (const auto& c : cases) {
        EditorRig rig;
        rig.load(Settings());
        rig.link(true);
        c.edit(rig);
        EXPECT_EQ(rig.frames(), c.frames(rig.image)) << c.what;
        EXPECT_EQ(rig.settings(0).sensitivityBox->text(), QString::number(rig.image[79] + 1));
        EXPECT_EQ(rig.settings(1).sensitivityBox->text(), QString::number(rig.image[159] + 1));
    }
}

TEST(AutoSettings, LinkedMirrorCopiesTheValueNotTheStep) {
    EditorRig rig;
    rig.load(Settings());
    rig.link(true);
    Click(rig.spin(AutoSetting::NumNotchAuto, 0), false);  // Left 11 -> 10; Right 5 -> 10
    EXPECT_EQ(rig.image[76], 10);
    EXPECT_EQ(rig.image[156], 10);
    EXPECT_EQ(rig.settings(1).valueTextOf(AutoSetting::NumNotchAuto)->text(), "10");
    EXPECT_FALSE(rig.row(12 + 9).gainBar->isEnabled());
    EXPECT_TRUE(rig.row(12 + 10).gainBar->isEnabled());
}

TEST(AutoSettings, LinkedQOnTheRightRewritesTheAutomaticRowsOfBothChannels) {
    EditorRig rig;
    auto preset = Settings();
    preset[76] = 3;  // Left 3 automatic, Right 5
    for (int n = 0; n < 24; ++n) preset[model::NotchRecordOffset[n] + 3] = 0;
    rig.load(preset);
    rig.link(true);
    rig.spin(AutoSetting::QNotchAuto, 1)->setValue(3);
    const Frames frames = rig.frames();
    ASSERT_EQ(frames.size(), 2u) << Dump(frames);
    EXPECT_EQ(frames[0][3], 2);
    EXPECT_EQ(frames[1][3], 1);
    EXPECT_EQ(frames[0], SearchControl(1, rig.image));
    EXPECT_EQ(frames[1], SearchControl(0, rig.image));
    EXPECT_EQ(rig.image[77], 3);
    EXPECT_EQ(rig.image[157], 3);
    // Each channel's own automatic rows: the Left's manual rows 3 and 4
    // keep their width on the screen as in the image.
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(rig.row(12 + k).widthBar->value(), k < 5 ? 3 : 0) << "Right row " << k;
        EXPECT_EQ(rig.image[model::NotchRecordOffset[12 + k] + 3], k < 5 ? 3 : 0);
        EXPECT_EQ(rig.row(k).widthText->text(), k < 3 ? "1/5" : "1/70") << "Left row " << k;
        EXPECT_EQ(rig.row(k).widthBar->value(), k < 3 ? 3 : 0) << "Left row " << k;
        EXPECT_EQ(rig.image[model::NotchRecordOffset[k] + 3], k < 3 ? 3 : 0) << "Left row " << k;
    }
}

TEST(AutoSettings, WhileUpdatingControlsTheyOnlyStoreAndShow) {
    using enum AutoSetting;
    for (const AutoSetting s : {NumNotchAuto, QNotchAuto, AttenuationMode, ReleaseSpeed, SearchMode, Sensitivity}) {
        EditorRig rig;
        rig.load(Settings());
        rig.link(true);
        const auto quiet = rig.eq->quietUpdates();
        const int offset = notch::ImageOffset(s, 0);
        const int other = rig.image[notch::ImageOffset(s, 1)];
        if (s == Sensitivity) {
            rig.settings(0).sensitivitySlider->setValue(1);
        } else {
            Click(rig.spin(s, 0), rig.spin(s, 0)->value() == 0);
        }
        EXPECT_TRUE(rig.frames().empty()) << notch::Caption(s);
        EXPECT_EQ(rig.image[offset],
                  notch::StateFromControl(
                      s, s == Sensitivity ? rig.settings(0).sensitivitySlider->value() : rig.spin(s, 0)->value()));
        EXPECT_EQ(rig.image[notch::ImageOffset(s, 1)], other) << "nothing on the other channel";
    }
}
