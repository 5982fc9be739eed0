// What the questions that offer to keep the editor's or the device's
// settings list as differing, line by line.
#include <gtest/gtest.h>

#include <functional>

#include "model/preset_image.h"
#include "model/value_tables.h"
#include "notch/auto_settings.h"
#include "notch/settings_differences.h"

namespace {

model::PresetImage Defaults() {
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    return image;
}

TEST(SettingsDifferences, EachNotchOrSettingThatDiffersIsOneLineAndTheListStopsAtEight) {
    struct Case {
        const char* what;
        std::function<void(model::PresetImage& device)> change;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"nothing differs", [](model::PresetImage&) {}, {}},
        {"a gain",
         [](model::PresetImage& d) {
             auto codes = model::ReadNotchRecord(d, 2);
             codes.gain = 36;
             model::WriteNotchRecord(d, 2, codes);
         },
         {"Left notch 3: 0 dB here, -9 dB on the device"}},
        {"frequency and width of a Right notch",
         [](model::PresetImage& d) {
             auto codes = model::ReadNotchRecord(d, 23);
             codes.freq = 0;
             codes.width = 3;
             model::WriteNotchRecord(d, 23, codes);
         },
         {"Right notch 12: 247.9 Hz, 1/10 octave here, 20 Hz, 1/5 octave on the device"}},
        {"an automatic setting",
         [](model::PresetImage& d) { d[notch::ImageOffset(notch::AutoSetting::Sensitivity, 1)] = 8; },
         {"Right Sensitivity: 7 here, 9 on the device"}},
        {"a code out of its range is shown at its end",
         [](model::PresetImage& d) { d[model::NotchRecordOffset[0] + 3] = 0xFF; },
         {"Left notch 1: 1/10 octave here, 1/5 octave on the device"}},
        {"ten notches: eight, then how many more",
         [](model::PresetImage& d) {
             for (int n = 0; n < 10; ++n) {
                 auto codes = model::ReadNotchRecord(d, n);
                 codes.gain = 40;
                 model::WriteNotchRecord(d, n, codes);
             }
         },
         {"Left notch 1: 0 dB here, -5 dB on the device", "Left notch 2: 0 dB here, -5 dB on the device",
          "Left notch 3: 0 dB here, -5 dB on the device", "Left notch 4: 0 dB here, -5 dB on the device",
          "Left notch 5: 0 dB here, -5 dB on the device", "Left notch 6: 0 dB here, -5 dB on the device",
          "Left notch 7: 0 dB here, -5 dB on the device", "Left notch 8: 0 dB here, -5 dB on the device",
          "and 2 more"}},
    };
    for (const Case& c : cases) {
        const model::PresetImage here = Defaults();
        model::PresetImage device = here;
        c.change(device);
        EXPECT_EQ(notch::ListedDifferences(notch::SettingsDifferences(here, device)), c.listed) << c.what;
    }
}

}  // namespace
