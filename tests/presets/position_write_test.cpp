// Writing a position by what differs, against the simulated device: the
// exact frames in their order, the bytes counted, the device's memory after,
// and a device that goes away at each step never leaves a used marker over
// mixed data.
#include <gtest/gtest.h>

#include "backup_fixture.h"
#include "presets/position_write.h"
#include "support/sim_rig.h"

using namespace presets;
using presets_test::BlockOf;
using presets_test::VariedImage;
using testing_support::Bytes;
using testing_support::Frame;
using testing_support::Hex;
using testing_support::SimRig;

namespace {

constexpr int kSlot = 2;  // position 7
constexpr int kMarker = 0x0030 + kSlot, kData = 0x0120 + 160 * kSlot, kName = 0x0F20 + 8 * kSlot;

Bytes WriteFrame(int address, std::uint8_t data) {
    return Frame({0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, data});
}
Bytes ReadByteFrame(int address) {
    return Frame({0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF)});
}
const Bytes kReadBlock = Frame({0x0B, kSlot + 4});

struct NoteTrace final : devlink::LinkTrace {
    void record(std::int64_t, devlink::TraceEvent, std::span<const std::uint8_t>, std::string_view note) override {
        if (note.starts_with("position")) notes.emplace_back(note);
    }
    std::vector<std::string> notes;
};

struct WriteRig {
    explicit WriteRig(bool linePace = false) {
        sim.port.linePace = linePace;
        sim.connect();
        library.resetToFixedOnly();
        sim.takeWrites();
    }
    void holdInDevice(const DeviceBlock& data, const std::string& name) {
        for (int m = 0; m < 160; ++m) sim.memory.write(kData + m, data[static_cast<std::size_t>(m)]);
        for (int j = 0; j < 8; ++j) sim.memory.write(kName + j, static_cast<std::uint8_t>(name[j]));
        sim.memory.write(kMarker, 0x55);
        library.used[4 + kSlot] = true;
        library.names[4 + kSlot] = std::u32string(name.begin(), name.end());
    }
    PositionWriteReport write(const DeviceBlock& data, const std::string& name) {
        const std::u32string typed(name.begin(), name.end());
        const StoreRequest request{kSlot, *model::PadPresetName(typed), typed};
        return devlink::RunToEnd(WriteChangedBytes(sim.link, library, request, data, KnownFromLibrary(library, kSlot)));
    }
    bool holds(const DeviceBlock& data) const {
        for (int m = 0; m < 160; ++m)
            if (sim.memory.read(kData + m) != data[static_cast<std::size_t>(m)]) return false;
        return true;
    }

    SimRig sim;
    model::PresetLibrary library;
};

const DeviceBlock kStored = BlockOf(VariedImage(1));

DeviceBlock WithByte(DeviceBlock block, int at, std::uint8_t value) {
    block[static_cast<std::size_t>(at)] = value;
    return block;
}

}  // namespace

TEST(PositionWrite, SendsOnlyTheDifferingBytesBetweenUnmarkAndMarker) {
    const DeviceBlock other = BlockOf(VariedImage(2));
    std::vector<Bytes> intoEmpty = {kReadBlock};
    for (int m = 0; m < 160; ++m)
        if (other[static_cast<std::size_t>(m)] != 0xFF) intoEmpty.push_back(WriteFrame(kData + m, other[m]));
    const int emptyDataWrites = static_cast<int>(intoEmpty.size()) - 1;
    for (int j = 0; j < 8; ++j) intoEmpty.push_back(WriteFrame(kName + j, "  NEW   "[j]));
    intoEmpty.push_back(WriteFrame(kMarker, 0x55));
    intoEmpty.push_back(kReadBlock);
    for (int j = 0; j < 8; ++j) intoEmpty.push_back(ReadByteFrame(kName + j));

    std::vector<Bytes> overUsed = {kReadBlock, WriteFrame(kMarker, 0xFF)};
    int usedDataWrites = 0;
    for (int m = 0; m < 160; ++m)
        if (other[static_cast<std::size_t>(m)] != kStored[static_cast<std::size_t>(m)])
            overUsed.push_back(WriteFrame(kData + m, other[m])), ++usedDataWrites;
    // "  LIVE  " to "  LOVE  ": only the fourth name byte differs.
    overUsed.push_back(WriteFrame(kName + 3, 'O'));
    overUsed.push_back(WriteFrame(kMarker, 0x55));
    overUsed.push_back(kReadBlock);
    overUsed.push_back(ReadByteFrame(kName + 3));

    struct Case {
        const char* what;
        bool used;
        DeviceBlock data;
        std::string name;
        std::vector<Bytes> frames;
        int written;
    };
    const Case cases[] = {
        {"nothing differs", true, kStored, "  LIVE  ", {kReadBlock}, 0},
        {"one byte differs",
         true,
         WithByte(kStored, 159, 0x00),
         "  LIVE  ",
         {kReadBlock, WriteFrame(kMarker, 0xFF), WriteFrame(kData + 159, 0x00), WriteFrame(kMarker, 0x55), kReadBlock},
         1},
        {"the name differs only",
         true,
         kStored,
         "  LIFE  ",
         {kReadBlock, WriteFrame(kMarker, 0xFF), WriteFrame(kName + 4, 'F'), WriteFrame(kMarker, 0x55), kReadBlock,
          ReadByteFrame(kName + 4)},
         1},
        {"the position was empty", false, other, "  NEW   ", intoEmpty, emptyDataWrites + 8},
        {"the position was used", true, other, "  LOVE  ", overUsed, usedDataWrites + 1},
    };
    for (const Case& c : cases) {
        WriteRig rig;
        NoteTrace trace;
        rig.sim.link.setTrace(&trace);
        if (c.used) rig.holdInDevice(kStored, "  LIVE  ");
        const PositionWriteReport report = rig.write(c.data, c.name);
        EXPECT_EQ(trace.notes, std::vector<std::string>{"position 07: " + std::to_string(c.written) +
                                                        (c.written == 1 ? " byte written, " : " bytes written, ") +
                                                        std::to_string(168 - c.written) + " skipped"})
            << c.what;
        EXPECT_EQ(report.outcome, PositionWriteOutcome::StoredAndVerified) << c.what;
        EXPECT_EQ(PositionWriteText(report), "Stored and verified") << c.what;
        EXPECT_EQ(report.written, c.written) << c.what;
        EXPECT_EQ(report.skipped, 168 - c.written) << c.what;
        const std::vector<Bytes> frames = rig.sim.takeWrites();
        ASSERT_EQ(frames.size(), c.frames.size()) << c.what;
        for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(Hex(frames[i]), Hex(c.frames[i])) << c.what << i;
        EXPECT_TRUE(rig.holds(c.data)) << c.what;
        EXPECT_EQ(rig.sim.memory.read(kMarker), 0x55) << c.what;
        EXPECT_TRUE(rig.library.used[6]) << c.what;
        EXPECT_EQ(rig.library.names[6], std::u32string(c.name.begin(), c.name.end())) << c.what;
    }
}

// Position 7 holds kStored; the write brings three differing data bytes
// (0, 80, 159) and the same name. Frames that are written: 1 the unmark,
// 2..4 the data, 5 the marker.
TEST(PositionWrite, ADeviceLostAtAnyStepNeverLeavesItMarkedOverMixedData) {
    struct Case {
        const char* fault;
        PositionWriteOutcome outcome;
        std::uint8_t markerAfter;
        bool usedInLibrary;
    };
    using enum PositionWriteOutcome;
    const Case cases[] = {
        {"cmd=0x11#1:close", NotWritten, 0x55, true},  // before the unmark
        {"cmd=0x11#1:mute", NotWritten, 0x55, true},
        {"cmd=0x11#3:close", LeftUnused, 0xFF, false},  // between data writes
        {"cmd=0x11#3:mute", LeftUnused, 0xFF, false},
        {"cmd=0x11#5:close", WrittenNotVerified, 0xFF, true},  // before the marker
        {"cmd=0x0B#2:close", WrittenNotVerified, 0x55, true},  // during verification
        {"cmd=0x0B#2:mute", WrittenNotVerified, 0x55, true},
    };
    DeviceBlock wanted = kStored;
    for (const int m : {0, 80, 159}) wanted[static_cast<std::size_t>(m)] ^= 0x01;
    for (const Case& c : cases) {
        WriteRig rig(true);
        rig.holdInDevice(kStored, "  LIVE  ");
        rig.sim.useFaults({c.fault});
        const PositionWriteReport report = rig.write(wanted, "  LIVE  ");
        EXPECT_EQ(report.outcome, c.outcome) << c.fault;
        EXPECT_EQ(rig.sim.memory.read(kMarker), c.markerAfter) << c.fault;
        EXPECT_EQ(rig.library.used[6], c.usedInLibrary) << c.fault;
        EXPECT_EQ(report.written, 3) << c.fault;
        EXPECT_FALSE(rig.sim.end.messages.empty()) << c.fault;
        if (c.markerAfter == 0x55) {
            EXPECT_TRUE(rig.holds(c.outcome == NotWritten ? kStored : wanted)) << c.fault;
        }
    }
    EXPECT_EQ(PositionWriteText({NotWritten}), "Not written: link lost");
    EXPECT_EQ(PositionWriteText({LeftUnused}), "Left unused: link lost");
    EXPECT_EQ(PositionWriteText({WrittenNotVerified}), "Written, not verified: link lost");
}

// A block read back has no frame: a byte changed on the line looks like a
// byte the device holds. It is read once more, and only a second difference
// is reported, naming the byte.
TEST(PositionWrite, ABlockThatReadsBackOtherwiseIsReadOnceMoreThenReported) {
    struct Case {
        const char* what;
        std::vector<std::string> faults;
        int stuckAddress;  // a byte the device keeps whatever is written; 0: none
        PositionWriteOutcome outcome;
        std::string text;
        int blockReads;
    };
    using enum PositionWriteOutcome;
    const Case cases[] = {
        {"garbled once",
         {"cmd=0x0B#2:partial=150", "cmd=0x0B#2:extra=10"},
         0,
         StoredAndVerified,
         "Stored and verified",
         3},
        {"a data byte stuck", {}, kData + 80, DiffersAfterWriting, "Differs after writing: data byte 80", 3},
        {"a name byte stuck", {}, kName + 4, DiffersAfterWriting, "Differs after writing: name byte 4", 2},
    };
    for (const Case& c : cases) {
        WriteRig rig(true);
        rig.holdInDevice(kStored, "  LIVE  ");
        rig.sim.useFaults(c.faults, 7);
        if (c.stuckAddress != 0)
            rig.sim.device.setMemoryWriteObserver([&rig, &c](int address) {
                if (address == c.stuckAddress) rig.sim.memory.write(address, 0x00);
            });
        const PositionWriteReport report = rig.write(WithByte(kStored, 80, 0x01), "  LIFE  ");
        EXPECT_EQ(report.outcome, c.outcome) << c.what;
        EXPECT_EQ(PositionWriteText(report), c.text) << c.what;
        const std::vector<Bytes> frames = rig.sim.takeWrites();
        EXPECT_EQ(std::count(frames.begin(), frames.end(), kReadBlock), c.blockReads) << c.what;
        EXPECT_TRUE(rig.sim.end.messages.empty()) << c.what;
    }
}
