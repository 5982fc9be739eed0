#include <gtest/gtest.h>

#include <QLabel>
#include <random>

#include "editor_rig.h"
#include "model/number_text.h"
#include "notch/snapping.h"

using namespace editor_test;
using notch::AutoSetting;

namespace {

// A valid image as a device keeps it: every code in range, the automatic
// rows at the automatic width, anything in the uninterpreted bytes.
model::PresetImage RandomValidImage(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    model::PresetImage image{};
    for (auto& b : image) b = static_cast<std::uint8_t>(pick(0, 255));
    for (int c = 0; c < 2; ++c) {
        const int base = 80 * c;
        image[base + 20] = pick(0, 1), image[base + 21] = pick(0, 1);
        const int automatic = pick(1, 12), q = pick(0, 3);
        image[base + 76] = automatic, image[base + 77] = q, image[base + 78] = pick(0, 1),
                     image[base + 79] = pick(0, 15);
        for (int k = 0; k < 12; ++k) {
            const int f = pick(0, 729);
            model::WriteNotchRecord(image, 12 * c + k, {pick(0, 45), f, k < automatic ? q : pick(0, 3)});
        }
    }
    return image;
}

// The image as the editor's controls say it is.
model::PresetImage ReadBack(const EditorRig& rig, model::PresetImage image) {
    for (int n = 0; n < 24; ++n) {
        const auto& row = rig.row(n);
        const auto hz = model::ParseNumber(row.freqBox->text().toStdString());
        EXPECT_TRUE(hz.has_value());
        EXPECT_EQ(row.freqBar->value(), notch::NearestFreqCode(*hz)) << n;
        EXPECT_EQ(row.gainBox->text().toInt(), row.gainBar->value() - 45) << n;
        EXPECT_EQ(row.widthText->text().toStdString(), model::BandwidthName[row.widthBar->value()]) << n;
        model::WriteNotchRecord(image, n, {row.gainBar->value(), notch::NearestFreqCode(*hz), row.widthBar->value()});
    }
    for (int c = 0; c < 2; ++c) {
        for (const AutoSetting s : notch::kAutoSettings) {
            const int control =
                s == AutoSetting::Sensitivity ? rig.settings(c).sensitivitySlider->value() : rig.spin(s, c)->value();
            image[notch::ImageOffset(s, c)] = static_cast<std::uint8_t>(notch::StateFromControl(s, control));
            if (s != AutoSetting::Sensitivity) {
                EXPECT_EQ(rig.settings(c).valueTextOf(s)->text().toStdString(),
                          notch::ValueText(s, notch::StateFromControl(s, control)));
            }
        }
        EXPECT_EQ(rig.settings(c).sensitivityBox->text().toInt(), rig.settings(c).sensitivitySlider->value() + 1);
    }
    return image;
}

}  // namespace

TEST(RoundTrip, ValidImagesComeBackFromTheControlsByteForByte) {
    std::mt19937 rng(4480);
    EditorRig rig;
    for (int trial = 0; trial < 40; ++trial) {
        const auto original = RandomValidImage(rng);
        rig.image = original;
        rig.eq->fillFromImage();
        ASSERT_TRUE(rig.frames().empty());
        ASSERT_EQ(rig.image, original) << "trial " << trial;
        ASSERT_EQ(ReadBack(rig, original), original) << "trial " << trial;
        for (int n = 0; n < 24; ++n)
            ASSERT_EQ(rig.row(n).freqBox->isEnabled(), n % 12 >= original[76 + 80 * (n / 12)]) << trial << " " << n;
    }
}
