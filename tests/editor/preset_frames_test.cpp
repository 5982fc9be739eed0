#include <gtest/gtest.h>

#include <random>

#include "editor_rig.h"
#include "notch/preset_frames.h"

using namespace editor_test;

namespace {

model::PresetImage RandomBytes(std::uint32_t seed) {
    std::mt19937 rng(seed);
    model::PresetImage image{};
    for (auto& byte : image) byte = static_cast<std::uint8_t>(rng() & 0xFF);
    return image;
}

model::PresetImage Damaged() {
    model::PresetImage image = DefaultPreset();
    image[28] = 200;                     // Left row 1 gain
    image[29] = 0xFF, image[30] = 0xFF;  // Left row 1 frequency
    image[31] = 9;                       // Left row 1 width
    image[76] = 0, image[156] = 13;      // Num notch automatic
    image[77] = 7, image[158] = 5, image[159] = 40;
    image[20] = 2, image[101] = 255;  // release, search mode
    return image;
}

model::PresetImage ValidRandom(std::uint32_t seed) {
    model::PresetImage image = RandomBytes(seed);
    model::ClampImageCodes(image);
    return image;
}

}  // namespace

// The editor applying an image is the reference: the list must match what it
// writes, byte for byte and in order, whatever the image holds.
TEST(PresetApplicationPayloads, MatchWhatTheEditorWritesWhenApplyingAPreset) {
    struct Case {
        const char* name;
        model::PresetImage image;
    };
    const Case cases[] = {{"default", DefaultPreset()},
                          {"damaged", Damaged()},
                          {"random bytes", RandomBytes(4480)},
                          {"random valid", ValidRandom(7)},
                          {"all 0xFF", [] {
                               model::PresetImage image{};
                               image.fill(0xFF);
                               return image;
                           }()}};
    for (const auto& c : cases) {
        EditorRig rig;
        rig.link(true);
        rig.image = c.image;
        devlink::RunToEnd(rig.eq->applyPresetToEditor());
        Frames expected;
        for (const auto& payload : notch::PresetApplicationPayloads(c.image)) {
            const devlink::Frame frame = devlink::BuildFrame(payload);
            expected.emplace_back(frame.begin(), frame.end());
        }
        EXPECT_EQ(Dump(rig.frames()), Dump(expected)) << c.name;
    }
}
