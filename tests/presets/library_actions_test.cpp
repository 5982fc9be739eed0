// Renaming, clearing and copying device positions without a window, against
// the simulated device: the exact frames and their order, the device's memory
// afterwards, the lists and the title, the refusals, and a device lost midway.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "preset_image_fixture.h"
#include "presets/library_actions.h"
#include "support/sim_rig.h"

using namespace presets;
using testing_support::Bytes;
using testing_support::Frame;
using testing_support::Hex;

namespace {

constexpr int kMarkers = 0x0030, kData = 0x0120, kNames = 0x0F20;

Bytes WriteFrame(int address, std::uint8_t data) {
    return Frame({0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, data});
}

std::vector<Bytes> NameFrames(int slot, const std::string& padded) {
    std::vector<Bytes> frames;
    frames.reserve(8);
    for (int j = 0; j < 8; ++j)
        frames.push_back(WriteFrame(kNames + 8 * slot + j, static_cast<std::uint8_t>(padded[j])));
    return frames;
}

// The block read of the source, then what a store writes (unmarking a used target first).
std::vector<Bytes> CopyFrames(int source, const model::PresetImage& block, int target, bool targetUsed,
                              const std::string& padded) {
    std::vector<Bytes> frames = {Frame({0x0B, static_cast<std::uint8_t>(source + 4)})};
    if (targetUsed) frames.push_back(WriteFrame(kMarkers + target, 0xFF));
    for (int m = 0; m < 160; ++m) frames.push_back(WriteFrame(kData + 160 * target + m, block[m]));
    for (const Bytes& f : NameFrames(target, padded)) frames.push_back(f);
    frames.push_back(WriteFrame(kMarkers + target, 0x55));
    return frames;
}

// The default copy: both blocks read, only what differs written between the
// unmark and the marker, then read back.
std::vector<Bytes> ChangedCopyFrames(int source, const model::PresetImage& block, int target,
                                     const model::PresetImage& held, const std::string& heldName,
                                     const std::string& padded) {
    const Bytes readTarget = Frame({0x0B, static_cast<std::uint8_t>(target + 4)});
    std::vector<Bytes> frames = {Frame({0x0B, static_cast<std::uint8_t>(source + 4)}), readTarget,
                                 WriteFrame(kMarkers + target, 0xFF)};
    for (int m = 0; m < 160; ++m)
        if (block[m] != held[m]) frames.push_back(WriteFrame(kData + 160 * target + m, block[m]));
    std::vector<Bytes> nameReads;
    for (int j = 0; j < 8; ++j) {
        if (padded[j] == heldName[j]) continue;
        const int address = kNames + 8 * target + j;
        frames.push_back(WriteFrame(address, static_cast<std::uint8_t>(padded[j])));
        nameReads.push_back(Frame({0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)}));
    }
    frames.push_back(WriteFrame(kMarkers + target, 0x55));
    frames.push_back(readTarget);
    frames.insert(frames.end(), nameReads.begin(), nameReads.end());
    return frames;
}

StoreRequest Named(int slot, const std::u32string& name) { return {slot, *model::PadPresetName(name), name}; }

// Position 7 holds PARTY and is the editor's title; position 10 holds OTHER.
struct LibraryRig {
    LibraryRig() {
        sim.connect();
        library.resetToFixedOnly();
        put(2, party, "  PARTY ");
        put(5, other, " OTHER  ");
        library.presetTitle = U"7:   PARTY ";
        sim.takeWrites();
    }
    void put(int slot, const model::PresetImage& block, const std::string& name) {
        for (int m = 0; m < 160; ++m) sim.memory.write(kData + 160 * slot + m, block[m]);
        for (int j = 0; j < 8; ++j) sim.memory.write(kNames + 8 * slot + j, static_cast<std::uint8_t>(name[j]));
        sim.memory.write(kMarkers + slot, 0x55);
        library.used[4 + slot] = true;
        library.names[4 + slot] = std::u32string(name.begin(), name.end());
    }
    std::string nameInMemory(int slot) const {
        std::string name;
        for (int j = 0; j < 8; ++j) name += static_cast<char>(sim.memory.read(kNames + 8 * slot + j));
        return name;
    }
    bool dataInMemory(int slot, const model::PresetImage& block) const {
        for (int m = 0; m < 160; ++m)
            if (sim.memory.read(kData + 160 * slot + m) != block[m]) return false;
        return true;
    }
    void muteAfterWriteTo(int address) {
        sim.device.setMemoryWriteObserver([this, address](int written) {
            if (written == address) sim.device.setMuted(true);
        });
    }

    const model::PresetImage party = presets_test::VariedImage(7);
    const model::PresetImage other = presets_test::VariedImage(3);
    testing_support::SimRig sim;
    model::PresetLibrary library;
};

using Action = std::function<LibraryResult(LibraryRig&, const StoreProgress&)>;

LibraryResult Rename7(LibraryRig& r, const StoreProgress&) {
    return devlink::RunToEnd(RenamePreset(r.sim.link, r.library, Named(2, U"NEW")));
}
LibraryResult Clear7(LibraryRig& r, const StoreProgress&) {
    return devlink::RunToEnd(ClearPreset(r.sim.link, r.library, 2));
}
LibraryResult Clear10(LibraryRig& r, const StoreProgress&) {
    return devlink::RunToEnd(ClearPreset(r.sim.link, r.library, 5));
}
LibraryResult Copy7To9(LibraryRig& r, const StoreProgress& p) {
    return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(4, U"COPY"), p, WriteMode::Full));
}
LibraryResult Copy7To10(LibraryRig& r, const StoreProgress& p) {
    return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(5, U"COPY"), p, WriteMode::Full));
}
LibraryResult Copy10To7(LibraryRig& r, const StoreProgress& p) {
    return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 5, Named(2, U" OTHER  "), p, WriteMode::Full));
}
LibraryResult Copy7To10Changed(LibraryRig& r, const StoreProgress& p) {
    return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(5, U"COPY"), p));
}

TEST(LibraryActions, FramesMemoryListsAndTitle) {
    struct Case {
        std::string what;
        Action action;
        bool linePace;
        bool demo;
        std::function<std::vector<Bytes>(const LibraryRig&)> frames;
        int slot;               // the position written
        std::uint8_t marker;    // its marker in the device afterwards
        std::string nameBytes;  // its name in the device afterwards
        bool listedUsed;
        std::u32string listedName;
        std::u32string title;
        int lastStep;                                          // -1: no progress
        const model::PresetImage LibraryRig::*data = nullptr;  // the data the position holds afterwards
    };
    const auto none = [](const LibraryRig&) { return std::vector<Bytes>{}; };
    const auto rename = [](const LibraryRig&) { return NameFrames(2, "   NEW  "); };
    const auto clear7 = [](const LibraryRig&) { return std::vector<Bytes>{WriteFrame(0x0032, 0xFF)}; };
    const auto to9 = [](const LibraryRig& r) { return CopyFrames(2, r.party, 4, false, "  COPY  "); };
    const std::vector<Case> cases = {
        {"rename writes the name only", Rename7, false, false, rename, 2, 0x55, "   NEW  ", true, U"NEW", U"7: NEW",
         -1},
        {"rename at line pace", Rename7, true, false, rename, 2, 0x55, "   NEW  ", true, U"NEW", U"7: NEW", -1},
        {"rename in demo mode", Rename7, false, true, none, 2, 0x55, "  PARTY ", true, U"NEW", U"7: NEW", -1},
        {"clear writes the marker only", Clear7, true, false, clear7, 2, 0xFF, "  PARTY ", false, U" Empty  ", U"", -1},
        {"clear elsewhere keeps the title", Clear10, false, false,
         [](const LibraryRig&) { return std::vector<Bytes>{WriteFrame(0x0035, 0xFF)}; }, 5, 0xFF, " OTHER  ", false,
         U" Empty  ", U"7:   PARTY ", -1},
        {"copy into an empty position", Copy7To9, false, false, to9, 4, 0x55, "  COPY  ", true, U"COPY", U"7:   PARTY ",
         169, &LibraryRig::party},
        {"copy at line pace", Copy7To9, true, false, to9, 4, 0x55, "  COPY  ", true, U"COPY", U"7:   PARTY ", 169,
         &LibraryRig::party},
        {"copy over a used position unmarks it first", Copy7To10, false, false,
         [](const LibraryRig& r) { return CopyFrames(2, r.party, 5, true, "  COPY  "); }, 5, 0x55, "  COPY  ", true,
         U"COPY", U"7:   PARTY ", 169, &LibraryRig::party},
        {"copy over the title's position empties the title", Copy10To7, false, false,
         [](const LibraryRig& r) { return CopyFrames(5, r.other, 2, true, " OTHER  "); }, 2, 0x55, " OTHER  ", true,
         U" OTHER  ", U"", 169, &LibraryRig::other},
        {"copy by what differs over a used position", Copy7To10Changed, true, false,
         [](const LibraryRig& r) { return ChangedCopyFrames(2, r.party, 5, r.other, " OTHER  ", "  COPY  "); }, 5, 0x55,
         "  COPY  ", true, U"COPY", U"7:   PARTY ", 172, &LibraryRig::party},
        {"copy in demo mode", Copy7To9, false, true, none, 4, 0xFF, std::string(8, '\xFF'), true, U"COPY",
         U"7:   PARTY ", 169},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LibraryRig rig;
        rig.sim.port.linePace = c.linePace;
        rig.sim.link.flags().demoMode = c.demo;
        const model::PresetLibrary before = rig.library;
        std::vector<int> steps;

        EXPECT_EQ(c.action(rig, [&steps](int done) { steps.push_back(done); }), LibraryResult::Done);

        const auto frames = rig.sim.takeWrites();
        const auto expected = c.frames(rig);
        ASSERT_EQ(frames.size(), expected.size());
        for (std::size_t f = 0; f < frames.size(); ++f) ASSERT_EQ(Hex(frames[f]), Hex(expected[f])) << "frame " << f;
        EXPECT_TRUE(rig.sim.end.messages.empty());

        EXPECT_EQ(rig.sim.memory.read(kMarkers + c.slot), c.marker);
        EXPECT_EQ(rig.nameInMemory(c.slot), c.nameBytes);
        if (c.data) {
            EXPECT_TRUE(rig.dataInMemory(c.slot, rig.*c.data));
        }
        for (int i = 0; i < model::kPresetPositions; ++i) {
            const bool written = i == c.slot + 4;
            EXPECT_EQ(rig.library.used[i], written ? c.listedUsed : before.used[i]) << i;
            EXPECT_EQ(rig.library.names[i], written ? c.listedName : before.names[i]) << i;
        }
        EXPECT_EQ(rig.library.presetTitle, c.title);
        // A store of every byte steps once per byte; one of what differs
        // scales its frames onto the same bar, never going back.
        std::vector<int> expectedSteps;
        for (int s = 0; s <= c.lastStep; ++s) expectedSteps.push_back(s);
        if (c.lastStep == kCopyProgressMaximum) {
            EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
            EXPECT_EQ(steps.back(), c.lastStep);
        } else {
            EXPECT_EQ(steps, expectedSteps);
        }
    }
}

TEST(LibraryActions, FixedEmptyAndOutOfRangePositionsAreRefused) {
    struct Case {
        std::string what;
        Action action;
    };
    const std::vector<Case> cases = {
        {"rename position 4",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(RenamePreset(r.sim.link, r.library, Named(-1, U"X"))); }},
        {"rename position 21",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(RenamePreset(r.sim.link, r.library, Named(16, U"X"))); }},
        {"rename an empty position",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(RenamePreset(r.sim.link, r.library, Named(4, U"X"))); }},
        {"clear position 1",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(ClearPreset(r.sim.link, r.library, -4)); }},
        {"clear position 21",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(ClearPreset(r.sim.link, r.library, 16)); }},
        {"clear an empty position",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(ClearPreset(r.sim.link, r.library, 4)); }},
        {"copy from position 4",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, -1, Named(4, U"X"))); }},
        {"copy to position 4",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(-1, U"X"))); }},
        {"copy to position 21",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(16, U"X"))); }},
        {"copy onto itself",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 2, Named(2, U"X"))); }},
        {"copy an empty position",
         [](LibraryRig& r, auto&) { return devlink::RunToEnd(CopyPreset(r.sim.link, r.library, 4, Named(6, U"X"))); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LibraryRig rig;
        const model::PresetLibrary before = rig.library;
        int steps = 0;
        EXPECT_EQ(c.action(rig, [&steps](int) { ++steps; }), LibraryResult::Refused);
        EXPECT_TRUE(rig.sim.takeWrites().empty());
        EXPECT_EQ(steps, 0);
        EXPECT_EQ(rig.library.used, before.used);
        EXPECT_EQ(rig.library.names, before.names);
        EXPECT_EQ(rig.library.presetTitle, before.presetTitle);
    }
}

// Whatever the device answered is what the lists say; a copy cut short never
// leaves its target marked used over half a preset.
TEST(LibraryActions, ALostDeviceLeavesTheListsAsTheDeviceIs) {
    struct Case {
        std::string what;
        Action action;
        std::optional<int> muteAfterWriteTo;  // none: mute from the start
        int slot;
        std::uint8_t marker;
        bool listedUsed;
        std::u32string listedName;
    };
    const std::vector<Case> cases = {
        {"rename after five name bytes", Rename7, 0x0F34, 2, 0x55, true, U"   NETY "},
        {"clear unanswered", Clear7, {}, 2, 0x55, true, U"  PARTY "},
        {"copy: block unread, target untouched", Copy7To10, {}, 5, 0x55, true, U" OTHER  "},
        {"copy into an empty target, lost in its data", Copy7To9, 0x03A0 + 40, 4, 0xFF, false, U" Empty  "},
        {"copy over a used target, lost in its data", Copy7To10, 0x0440 + 40, 5, 0xFF, false, U" Empty  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LibraryRig rig;
        rig.sim.port.linePace = true;
        if (c.muteAfterWriteTo)
            rig.muteAfterWriteTo(*c.muteAfterWriteTo);
        else
            rig.sim.device.setMuted(true);
        const std::u32string title = rig.library.presetTitle;

        EXPECT_EQ(c.action(rig, {}), LibraryResult::LostLink);

        EXPECT_EQ(rig.sim.end.messages.size(), 1u);
        EXPECT_EQ(rig.sim.memory.read(kMarkers + c.slot), c.marker);
        EXPECT_EQ(rig.library.used[c.slot + 4], c.listedUsed);
        EXPECT_EQ(rig.library.names[c.slot + 4], c.listedName);
        EXPECT_EQ(rig.library.presetTitle, title);
    }
}

}  // namespace
