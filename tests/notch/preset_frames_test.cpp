#include <gtest/gtest.h>

#include <algorithm>

#include "notch/preset_frames.h"

using devlink::Payload;

namespace {

model::PresetImage Defaults() {
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    return image;
}

// Default settings frames of a channel, Left = 0.
std::vector<Payload> DefaultSettings(int channel, std::uint8_t count, std::uint8_t sensitivity = 6) {
    const Payload search{0x0A, static_cast<std::uint8_t>(channel + 1), count, 2, 0, sensitivity, 0};
    const Payload release{0x31, static_cast<std::uint8_t>(channel), 0, 0, 0, 0, 0};
    return {search, search, search, search, release, release};
}

}  // namespace

TEST(ChangedParameterPayloads, OnlyWhatDiffersInApplicationOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::uint8_t>> changes;  // offset, new byte
        std::vector<Payload> expected;
    };
    auto withRightRow3 = std::vector<Payload>{{0x07, 1, 2, 0x01, 0x0A, 2, 30}};
    auto leftSensitivity = DefaultSettings(0, 11, 9);
    auto notchThenRight = std::vector<Payload>{{0x07, 0, 5, 0x01, 0x0A, 3, 45}};
    for (const auto& p : DefaultSettings(1, 12)) notchThenRight.push_back(p);
    notchThenRight[5][4] = 1;  // Right release speed Fast
    notchThenRight[6][4] = 1;
    const Case cases[] = {
        {"nothing", {}, {}},
        {"the spare byte is no parameter", {{160, 0x12}}, {}},
        {"Right row 3 gain", {{28 + 4 * 2 + 80, 30}}, withRightRow3},
        {"Left sensitivity", {{79, 9}}, leftSensitivity},
        {"a clamped byte equal after clamping", {{76 + 80, 12}}, {}},
        {"Right release, then Left row 6 width", {{100, 1}, {28 + 4 * 5 + 3, 3}}, notchThenRight},
    };
    for (const auto& c : cases) {
        model::PresetImage before = Defaults();
        before[156] = 200;  // Right count, clamped to 12
        model::PresetImage after = before;
        for (const auto& [offset, byte] : c.changes) after[offset] = byte;
        EXPECT_EQ(notch::ChangedParameterPayloads(before, after), c.expected) << c.name;
    }
}
