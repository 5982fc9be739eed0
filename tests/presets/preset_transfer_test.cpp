// Storing and reading presets without a window, against the simulated
// device: the frames in order, the progress, the library, and what a lost
// device or a bad position leaves behind.
#include <gtest/gtest.h>

#include <optional>

#include "devlink/memory_dump.h"
#include "preset_image_fixture.h"
#include "presets/preset_transfer.h"
#include "support/sim_rig.h"

using namespace presets;
using testing_support::Bytes;
using testing_support::Frame;
using testing_support::Hex;

namespace {

Bytes WriteFrame(int address, std::uint8_t data) {
    return Frame({0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, data});
}

struct TransferRig {
    TransferRig() {
        sim.connect();
        sim.takeWrites();
        library.resetToFixedOnly();
        image = presets_test::VariedImage();
    }
    testing_support::SimRig sim;
    model::PresetLibrary library;
    model::PresetImage image{};
};

StoreRequest Request(int slot, const std::u32string& name, const std::string& padded) {
    StoreRequest request{slot, {}, name};
    std::copy(padded.begin(), padded.end(), request.nameBytes.begin());
    return request;
}

// Every frame of a store at `slot`: 160 data bytes, 8 name bytes, the marker.
std::vector<Bytes> StoreFrames(const model::PresetImage& image, int slot, const std::string& padded) {
    std::vector<Bytes> frames;
    frames.reserve(160 + 8 + 1);
    for (int m = 0; m < 160; ++m) frames.push_back(WriteFrame(0x0120 + 160 * slot + m, image[m]));
    for (int j = 0; j < 8; ++j)
        frames.push_back(WriteFrame(0x0F20 + 8 * slot + j, static_cast<std::uint8_t>(padded[j])));
    frames.push_back(WriteFrame(0x0030 + slot, 0x55));
    return frames;
}

std::vector<int> Steps(int last) {
    std::vector<int> steps;
    for (int s = 0; s <= last; ++s) steps.push_back(s);
    return steps;
}

TEST(StorePreset, FramesProgressAndLibrary) {
    struct Case {
        std::string what;
        int slot;
        bool demo;
        std::optional<int> muteAfterWriteTo;  // the device stops answering after this address
        StoreResult result;
        std::size_t frames;  // written to the line, resends included
        int lastStep;        // -1: no progress at all
        bool listed;         // the position is used under the new name
        std::u32string title;
    };
    const std::vector<Case> cases = {
        {"stored at 7", 2, false, {}, StoreResult::Stored, 169, 168, true, U"7: PARTY"},
        {"stored at 20", 15, false, {}, StoreResult::Stored, 169, 168, true, U"20: PARTY"},
        {"demo mode sends nothing", 15, true, {}, StoreResult::Stored, 0, 168, true, U"20: PARTY"},
        // Byte 10 was the last answered; byte 11 goes out six times.
        {"lost in the data", 2, false, 0x0260 + 10, StoreResult::LostLink, 11 + 6, 11, false, U""},
        // The marker went unanswered: nothing is listed as stored.
        {"lost at the marker", 2, false, 0x0F30 + 7, StoreResult::LostAtMarker, 168 + 6, 168, false, U""},
        {"slot below the writable ones", -1, false, {}, StoreResult::Refused, 0, -1, false, U""},
        {"slot past the last", 16, false, {}, StoreResult::Refused, 0, -1, false, U""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig;
        rig.sim.link.flags().demoMode = c.demo;
        if (c.muteAfterWriteTo)
            rig.sim.device.setMemoryWriteObserver([&rig, address = *c.muteAfterWriteTo](int written) {
                if (written == address) rig.sim.device.setMuted(true);
            });
        const model::PresetLibrary before = rig.library;
        std::vector<int> steps;
        const auto result =
            devlink::RunToEnd(StorePreset(rig.sim.link, rig.library, rig.image, Request(c.slot, U"PARTY", "  PARTY "),
                                          [&steps](int done) { steps.push_back(done); }));

        EXPECT_EQ(result, c.result);
        const auto frames = rig.sim.takeWrites();
        ASSERT_EQ(frames.size(), c.frames);
        if (!c.demo && c.result != StoreResult::Refused) {
            const auto expected = StoreFrames(rig.image, c.slot, "  PARTY ");
            for (std::size_t f = 0; f < frames.size(); ++f)
                ASSERT_EQ(Hex(frames[f]), Hex(expected[std::min<std::size_t>(f, c.lastStep)])) << "frame " << f;
        }
        EXPECT_EQ(steps, c.lastStep < 0 ? std::vector<int>{} : Steps(c.lastStep));
        const bool lost = c.result == StoreResult::LostLink || c.result == StoreResult::LostAtMarker;
        EXPECT_EQ(rig.sim.end.messages.size(), lost ? 1u : 0u);

        for (int i = 0; i < model::kPresetPositions; ++i) {
            const bool target = c.listed && i == c.slot + 4;
            EXPECT_EQ(rig.library.used[i], target || before.used[i]) << i;
            EXPECT_EQ(rig.library.names[i], target ? U"PARTY" : before.names[i]) << i;
        }
        EXPECT_EQ(rig.library.presetTitle, c.title);
        if (c.result != StoreResult::Refused) {
            const bool marked = c.result == StoreResult::Stored && !c.demo;
            EXPECT_EQ(rig.sim.memory.read(0x0030 + c.slot), marked ? 0x55 : 0xFF) << "the device's used marker";
        }
    }
}

// A store cut short over a used position must not leave half of two presets
// under a marker that says "used": the marker goes first, and comes back last.
TEST(StorePreset, OverAUsedPositionTheMarkerIsClearedFirst) {
    struct Case {
        const char* what;
        std::optional<int> muteAfterWriteTo;
        std::uint8_t marker;
        bool listedUsed;
    };
    const Case cases[] = {
        {"completed", {}, 0x55, true},
        {"lost at data byte 80", 0x0260 + 79, 0xFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig;
        rig.sim.memory.write(0x0032, 0x55);
        rig.library.used[6] = true;
        rig.library.names[6] = U"OLD";
        if (c.muteAfterWriteTo)
            rig.sim.device.setMemoryWriteObserver([&rig, address = *c.muteAfterWriteTo](int written) {
                if (written == address) rig.sim.device.setMuted(true);
            });
        devlink::RunToEnd(StorePreset(rig.sim.link, rig.library, rig.image, Request(2, U"PARTY", "  PARTY ")));
        const auto frames = rig.sim.takeWrites();
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(Hex(frames[0]), Hex(WriteFrame(0x0032, 0xFF)));
        EXPECT_EQ(rig.sim.memory.read(0x0032), c.marker);
        EXPECT_EQ(rig.library.used[6], c.listedUsed);
        EXPECT_EQ(rig.library.names[6], c.listedUsed ? U"PARTY" : U" Empty  ");
    }
}

TEST(StorePreset, AfterARestartTheDumpListsThePaddedName) {
    TransferRig rig;
    ASSERT_EQ(devlink::RunToEnd(StorePreset(rig.sim.link, rig.library, rig.image, Request(2, U"AB", "   AB   "))),
              StoreResult::Stored);
    testing_support::SimRig restarted;
    restarted.memory.assign(rig.sim.memory.bytes());
    restarted.connect();
    model::PresetImage image{};
    model::PresetLibrary library;
    devlink::RunToEnd(devlink::DumpDeviceMemory(restarted.link, image, library, {}));
    EXPECT_TRUE(library.used[6]);
    EXPECT_EQ(library.names[6], U"   AB   ");
    for (int m = 0; m < 160; ++m) EXPECT_EQ(restarted.memory.read(0x0260 + m), rig.image[m]) << m;
}

TEST(ReadPreset, BlockImageAndTitle) {
    enum class Setup { Device, Demo, Muted, PortWontReopen };
    struct Case {
        std::string what;
        int index;
        Setup setup;
        ReadResult result;
        std::string frame;  // the one frame written, resends aside; empty: none
        int writes;
        bool fromBlock;  // the image now holds the stored block
        std::u32string title;
    };
    const std::vector<Case> cases = {
        {"used position 7", 6, Setup::Device, ReadResult::Read, "F0 5B 0B 06 00 00 00 00 00 F7", 1, true,
         U"7:   PARTY "},
        {"last position", 19, Setup::Device, ReadResult::Read, "F0 5B 0B 13 00 00 00 00 00 F7", 1, true,
         U"20: Last one"},
        {"demo mode keeps the image", 6, Setup::Demo, ReadResult::Read, "", 0, false, U"7:   PARTY "},
        {"device gone", 6, Setup::Muted, ReadResult::LostLink, "F0 5B 0B 06 00 00 00 00 00 F7", 6, false, U""},
        {"port not open again", 6, Setup::PortWontReopen, ReadResult::NoBlock, "", 0, false, U""},
        {"index below the first", -1, Setup::Device, ReadResult::Refused, "", 0, false, U""},
        {"index past the last", 20, Setup::Device, ReadResult::Refused, "", 0, false, U""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig;
        const model::PresetImage stored = presets_test::VariedImage(7);
        for (int k : {2, 15}) {
            for (int m = 0; m < 160; ++m) rig.sim.memory.write(0x0120 + 160 * k + m, stored[m]);
            rig.sim.memory.write(0x0030 + k, 0x55);
        }
        rig.library.names[6] = U"  PARTY ";
        rig.library.names[19] = U"Last one";
        rig.sim.link.flags().demoMode = c.setup == Setup::Demo;
        rig.sim.device.setMuted(c.setup == Setup::Muted);
        if (c.setup == Setup::PortWontReopen)
            rig.sim.port.refused[testing_support::kSimPortName] = devlink::PortFault::OpenFailed;
        const model::PresetImage before = rig.image;
        int applied = 0;

        EXPECT_EQ(
            devlink::RunToEnd(ReadPreset(rig.sim.link, rig.library, c.index, rig.image, [&applied] { ++applied; })),
            c.result);

        const auto frames = rig.sim.takeWrites();
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(c.writes));
        for (const Bytes& frame : frames) EXPECT_EQ(Hex(frame), c.frame);
        if (c.result == ReadResult::Read && c.setup == Setup::Device) {
            EXPECT_EQ(rig.sim.port.readSize(), 10) << "back to frame replies";
        }
        const model::PresetImage& expected = c.fromBlock ? stored : before;
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 160, rig.image.begin()));
        EXPECT_EQ(rig.image[160], before[160]) << "the spare byte is not the device's";
        EXPECT_EQ(applied, c.result == ReadResult::Read ? 1 : 0);
        EXPECT_EQ(rig.library.presetTitle, c.title);
    }
}

}  // namespace
