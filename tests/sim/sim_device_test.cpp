#include <gtest/gtest.h>

#include <algorithm>

#include "model/value_tables.h"
#include "sim/sim_device.h"
#include "sim_frames.h"

using namespace sim_test;

namespace {

struct DeviceFixture : ::testing::Test {
    sim::DeviceMemory memory;
    sim::SimDevice device{memory};

    Bytes settings() { return device.receive(kReadSettings); }
};

struct AnswerCase {
    const char* name;
    Payload payload;
    Bytes expected;
};

TEST_F(DeviceFixture, AnswersEachCommandWithTheTenByteFrame) {
    const std::vector<AnswerCase> cases = {
        {"probe", {0x00, 0, 0, 0, 0, 0, 0}, answer(0x00, 0, 0, 0)},
        {"program name, first byte", {0x10, 0x00, 0x70, 0, 0, 0, 0}, answer(0x10, 0x00, 0x70, 'S')},
        {"program name, last byte", {0x10, 0x00, 0x77, 0, 0, 0, 0}, answer(0x10, 0x00, 0x77, '0')},
        {"erased marker", {0x10, 0x00, 0x30, 0, 0, 0, 0}, answer(0x10, 0x00, 0x30, 0xFF)},
        {"last address", {0x10, 0x0F, 0xFF, 0, 0, 0, 0}, answer(0x10, 0x0F, 0xFF, 0xFF)},
        {"beyond the memory", {0x10, 0x10, 0x00, 0, 0, 0, 0}, answer(0x10, 0x10, 0x00, 0xFF)},
        {"highest address", {0x10, 0xFF, 0xFF, 0, 0, 0, 0}, answer(0x10, 0xFF, 0xFF, 0xFF)},
        {"write carries no data back", {0x11, 0x00, 0x30, 0, 0x55, 0, 0}, answer(0x11, 0x00, 0x30, 0)},
        {"set notch", {0x07, 0x01, 0x03, 0x01, 0x2C, 0x02, 0x20}, answer(0x07, 0x01, 0x03, 0)},
        {"search control", {0x0A, 0x00, 0x0B, 0x02, 0x00, 0x06, 0x00}, answer(0x0A, 0x00, 0x0B, 0)},
        {"release mode", {0x31, 0x01, 0, 0, 0x01, 0x01, 0}, answer(0x31, 0x01, 0x00, 0)},
        {"close link", {0x0F, 0, 0, 0, 0, 0, 0}, answer(0x0F, 0, 0, 0)},
        {"unknown command", {0x42, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, answer(0x42, 0x01, 0x02, 0)},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(device.receive(frame(c.payload)), c.expected);
    }
}

TEST_F(DeviceFixture, AcknowledgementGetsNoAnswer) {
    EXPECT_TRUE(device.receive(kAck).empty());
    // Not even when it follows a command in the same chunk.
    EXPECT_EQ(device.receive(concat({kAck, kProbe, kAck})), answer(0x00, 0, 0, 0));
}

TEST_F(DeviceFixture, WritesLandAtTheMemoryMapAndReadBack) {
    const struct {
        int address;
        std::uint8_t value;
    } cases[] = {{0x0030, 0x55}, {0x003F, 0x55}, {0x0120, 0x1E}, {0x0B1F, 0x9D},
                 {0x0F20, 'A'},  {0x0F9F, 'Z'},  {0x0FFF, 0x00}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        device.receive(writeByte(c.address, c.value));
        EXPECT_EQ(memory.read(c.address), c.value);
        EXPECT_EQ(device.receive(readByte(c.address)), answer(0x10, c.address >> 8, c.address & 0xFF, c.value));
    }
}

TEST_F(DeviceFixture, WritesOutsideTheMemoryChangeNothing) {
    const sim::DeviceMemory before = memory;
    for (const int address : {0x1000, 0x2030, 0xFFFF}) device.receive(writeByte(address, 0x55));
    EXPECT_TRUE(std::ranges::equal(memory.bytes(), before.bytes()));
}

TEST_F(DeviceFixture, StoredPresetComesBackAsItsBlock) {
    // The editor's store of position 7: data, name, marker last.
    const int k = 2;
    Bytes preset(160);
    for (int i = 0; i < 160; ++i) preset[i] = static_cast<std::uint8_t>(i * 3 + 1);
    for (int i = 0; i < 160; ++i) device.receive(writeByte(0x0120 + 160 * k + i, preset[i]));
    for (int j = 0; j < 8; ++j) device.receive(writeByte(0x0F20 + 8 * k + j, "Stage  1"[j]));
    device.receive(writeByte(0x0030 + k, 0x55));

    EXPECT_EQ(device.receive(readByte(0x0032)), answer(0x10, 0x00, 0x32, 0x55));
    EXPECT_EQ(device.receive(readByte(0x0F30)), answer(0x10, 0x0F, 0x30, 'S'));
    EXPECT_EQ(device.receive(frame({0x0B, 6, 0, 0, 0, 0, 0})), preset);
    // Neighbours untouched: still erased.
    EXPECT_EQ(device.receive(frame({0x0B, 5, 0, 0, 0, 0, 0})), Bytes(160, 0xFF));
    EXPECT_EQ(device.receive(frame({0x0B, 7, 0, 0, 0, 0, 0})), Bytes(160, 0xFF));
}

TEST_F(DeviceFixture, BlockIndexSelectsPresetMemoryOrSettings) {
    // A distinct byte pattern per stored slot shows an off-by-one slot or
    // offset at once.
    for (int k = 0; k < 16; ++k)
        for (int i = 0; i < 160; ++i) memory.write(0x0120 + 160 * k + i, static_cast<std::uint8_t>(k * 16 + i));
    for (int index = 4; index < 20; ++index) {
        SCOPED_TRACE(index);
        const Bytes block = device.receive(frame({0x0B, static_cast<std::uint8_t>(index), 0, 0, 0, 0, 0}));
        ASSERT_EQ(block.size(), 160u);
        for (int i = 0; i < 160; ++i) ASSERT_EQ(block[i], static_cast<std::uint8_t>((index - 4) * 16 + i)) << i;
    }
    const Bytes defaults(model::DefaultImage.begin(), model::DefaultImage.end());
    for (const std::uint8_t index : {0xFF, 20, 0x80, 0xFE}) {
        SCOPED_TRACE(static_cast<int>(index));
        EXPECT_EQ(device.receive(frame({0x0B, index, 0, 0, 0, 0, 0})), defaults);
    }
}

TEST_F(DeviceFixture, FactoryPresetsDifferAndHoldOnlyValidCodes) {
    std::vector<Bytes> blocks;
    for (std::uint8_t index = 0; index < 4; ++index) {
        SCOPED_TRACE(static_cast<int>(index));
        const Bytes b = device.receive(frame({0x0B, index, 0, 0, 0, 0, 0}));
        ASSERT_EQ(b.size(), 160u);
        for (int n = 0; n < model::kNotches; ++n) {
            const int r = model::NotchRecordOffset[n];
            EXPECT_LE(b[r], model::kMaxGainCode);
            EXPECT_LE(b[r + 1] * 256 + b[r + 2], model::kMaxFreqCode);
            EXPECT_LE(b[r + 3], model::kMaxWidthCode);
        }
        for (int c = 0; c < 2; ++c) {
            EXPECT_GE(b[model::NumNotchAutoOffset[c]], 1);
            EXPECT_LE(b[model::NumNotchAutoOffset[c]], 12);
            EXPECT_LE(b[model::QNotchAutoOffset[c]], 3);
            EXPECT_LE(b[model::AttenuationModeOffset[c]], 1);
            EXPECT_LE(b[model::SensitivityOffset[c]], 15);
            EXPECT_LE(b[model::ReleaseSpeedOffset[c]], 1);
            EXPECT_LE(b[model::SearchModeOffset[c]], 1);
        }
        for (const Bytes& earlier : blocks) EXPECT_NE(b, earlier);
        blocks.push_back(b);
    }
}

struct SettingsCase {
    const char* name;
    Payload payload;
    std::vector<std::pair<int, std::uint8_t>> changes;  // image offset, new byte
};

TEST(DeviceSettings, CommandsChangeTheCurrentSettings) {
    const std::vector<SettingsCase> cases = {
        {"left notch 0", {0x07, 0, 0, 0x02, 0xD9, 0x03, 0x00}, {{28, 0x00}, {29, 0x02}, {30, 0xD9}, {31, 0x03}}},
        {"right notch 3", {0x07, 1, 3, 0x01, 0x2C, 0x02, 0x20}, {{120, 0x20}, {121, 0x01}, {122, 0x2C}, {123, 0x02}}},
        {"right notch 11", {0x07, 1, 11, 0x00, 0x05, 0x00, 0x2D}, {{152, 0x2D}, {153, 0x00}, {154, 0x05}, {155, 0x00}}},
        {"codes are stored as sent",
         {0x07, 0, 5, 0xFF, 0xFF, 0x09, 0xC8},
         {{48, 0xC8}, {49, 0xFF}, {50, 0xFF}, {51, 0x09}}},
        {"notch of no channel", {0x07, 2, 0, 0, 0, 0, 0}, {}},
        {"notch row 12", {0x07, 0, 12, 0, 0, 0, 0}, {}},
        {"notch row 0xFF", {0x07, 0xFF, 0xFF, 0, 0, 0, 0}, {}},
        {"left search bytes", {0x0A, 1, 5, 3, 1, 15, 0}, {{76, 5}, {77, 3}, {78, 1}, {79, 15}}},
        {"right search bytes", {0x0A, 2, 12, 0, 1, 0, 0}, {{156, 12}, {157, 0}, {158, 1}, {159, 0}}},
        {"search bytes with a start", {0x0A, 2, 4, 1, 0, 9, 1}, {{156, 4}, {157, 1}, {158, 0}, {159, 9}}},
        {"selector 0 stores nothing", {0x0A, 0, 5, 3, 1, 15, 0}, {}},
        {"selector 0 start stores nothing", {0x0A, 0, 5, 3, 1, 15, 1}, {}},
        {"selector 3", {0x0A, 3, 5, 3, 1, 15, 1}, {}},
        {"left release and mode", {0x31, 0, 0, 0, 1, 1, 0}, {{20, 1}, {21, 1}}},
        {"right release and mode", {0x31, 1, 0, 0, 1, 0, 0}, {{100, 1}, {101, 0}}},
        {"release of no channel", {0x31, 2, 0, 0, 1, 1, 0}, {}},
        {"unknown command", {0x42, 0, 0, 0, 1, 1, 1}, {}},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        device.receive(frame(c.payload));
        Bytes expected(model::DefaultImage.begin(), model::DefaultImage.end());
        for (const auto& [offset, value] : c.changes) expected[offset] = value;
        EXPECT_EQ(device.receive(kReadSettings), expected);
    }
}

TEST_F(DeviceFixture, MutedDeviceAnswersNothing) {
    std::vector<sim::LoggedFrame> log;
    device.setFrameObserver(sim::recordInto(log));
    device.setMuted(true);
    const Bytes frames = concat({kProbe, readByte(0x0070), kReadSettings, kAck, frame({0x0A, 0, 11, 2, 0, 6, 1})});
    EXPECT_TRUE(device.receive(frames).empty());
    EXPECT_FALSE(device.searching());
    EXPECT_TRUE(device.takeReport().empty());
    ASSERT_EQ(log.size(), 5u);
    EXPECT_TRUE(std::ranges::all_of(log, [](const sim::LoggedFrame& f) { return f.dir == sim::Direction::In; }));

    device.setMuted(false);
    EXPECT_EQ(device.receive(kProbe), answer(0x00, 0, 0, 0));
}

TEST_F(DeviceFixture, ObserverSeesFramesInLineOrder) {
    std::vector<sim::LoggedFrame> log;
    device.setFrameObserver(sim::recordInto(log));
    device.receive(concat({{0x01, 0x02}, kProbe, kAck}));
    const std::vector<sim::LoggedFrame> expected = {
        {sim::Direction::Skipped, {0x01, 0x02}},
        {sim::Direction::In, kProbe},
        {sim::Direction::Out, answer(0x00, 0, 0, 0)},
        {sim::Direction::In, kAck},
    };
    EXPECT_EQ(log, expected);
}

TEST(DeviceBadInput, AnyCommandWithExtremePayloadsIsAnsweredSafely) {
    const std::uint8_t fills[] = {0x00, 0x01, 0x02, 0x03, 0x0C, 0x7F, 0x80, 0xFE, 0xFF};
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    for (int code = 0; code < 256; ++code) {
        for (const std::uint8_t a : fills) {
            for (const std::uint8_t b : fills) {
                const auto p1 = static_cast<std::uint8_t>(code);
                const Bytes out = device.receive(frame({p1, a, b, a, b, a, b}));
                const std::size_t expected = p1 == 0x30 ? 0 : p1 == 0x0B ? 160 : 10;
                ASSERT_EQ(out.size(), expected) << code;
                // Whatever the line did to the settings, reports stay in range.
                const Bytes report = device.takeReport();
                if (!report.empty()) {
                    ASSERT_EQ(report.size(), 10u);
                    EXPECT_LE(report[1], 1);
                    EXPECT_LE(report[2], 11);
                    EXPECT_LE(report[6], model::kMaxGainCode);
                    device.receive(kAck);
                }
            }
        }
    }
}

}  // namespace
