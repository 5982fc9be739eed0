#include <gtest/gtest.h>

#include <random>

#include "sim/frame_assembler.h"
#include "sim/sim_device.h"
#include "sim_frames.h"

using namespace sim_test;

namespace {

struct ResyncCase {
    const char* name;
    std::vector<Bytes> chunks;
    Bytes expected;  // everything the device sends back, in order
};

const Bytes kProbeAnswer = answer(0x00, 0, 0, 0);
const Bytes kReadNameAnswer = answer(0x10, 0x00, 0x70, 'S');

TEST(FrameAssembly, ResynchronisesOnJunkAndAnyChunking) {
    const Bytes readName = readByte(0x0070);
    const Bytes badEnd = {0xF0, 0x5B, 0x00, 0, 0, 0, 0, 0, 0, 0x00};
    const std::vector<ResyncCase> cases = {
        {"byte by byte", {{0xF0}, {0x5B}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {0xF7}}, kProbeAnswer},
        {"two frames in one chunk", {concat({kProbe, readName})}, concat({kProbeAnswer, kReadNameAnswer})},
        {"split across the device id", {{0xF0}, Bytes(kProbe.begin() + 1, kProbe.end())}, kProbeAnswer},
        {"junk in front", {concat({{0x00, 0x11, 0xF7, 0x5B}, kProbe})}, kProbeAnswer},
        {"doubled start byte", {concat({{0xF0}, kProbe})}, kProbeAnswer},
        {"start without device id", {concat({{0xF0, 0x00}, kProbe})}, kProbeAnswer},
        {"frame without its end byte", {concat({badEnd, kProbe})}, kProbeAnswer},
        {"frame hidden after a false start", {concat({{0xF0, 0x5B}, readName})}, kReadNameAnswer},
        {"junk between frames, split",
         {concat({kProbe, {0x42, 0x42}, {0xF0, 0x5B, 0x10}}), Bytes(readName.begin() + 3, readName.end())},
         concat({kProbeAnswer, kReadNameAnswer})},
        {"truncated frame then a whole one",
         {concat({Bytes(readName.begin(), readName.begin() + 6), kProbe})},
         kProbeAnswer},
        {"only junk", {{0xF7, 0xF7, 0x5B, 0x00}}, {}},
    };
    for (const ResyncCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        Bytes sent;
        for (const Bytes& chunk : c.chunks) {
            const Bytes out = device.receive(chunk);
            sent.insert(sent.end(), out.begin(), out.end());
        }
        EXPECT_EQ(sent, c.expected);
    }
}

TEST(FrameAssembly, ReportsSkippedBytesAndKeepsAPossibleFrameStart) {
    sim::FrameAssembler assembler;
    const Bytes junk = {0x01, 0xF0, 0x02};
    auto pieces = assembler.push(concat({junk, kProbe, {0xF0, 0x5B}}));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].kind, sim::AssembledPiece::Kind::Skipped);
    EXPECT_EQ(pieces[0].bytes, junk);
    EXPECT_EQ(pieces[1].kind, sim::AssembledPiece::Kind::Frame);
    EXPECT_EQ(pieces[1].bytes, kProbe);
    EXPECT_EQ(assembler.pendingBytes(), 2u);
}

TEST(FrameAssembly, RandomJunkAndChunkingLoseNoFrame) {
    std::mt19937 rng(4480);
    for (int round = 0; round < 200; ++round) {
        Bytes line;
        Bytes expected;
        const int frames = 1 + static_cast<int>(rng() % 6);
        for (int f = 0; f < frames; ++f) {
            // Junk without a start byte cannot form a frame of its own.
            const int junk = static_cast<int>(rng() % 12);
            for (int j = 0; j < junk; ++j) {
                auto b = static_cast<std::uint8_t>(rng());
                line.push_back(b == 0xF0 ? 0x00 : b);
            }
            const int address = static_cast<int>(rng() % 0x1000);
            const Bytes fr = readByte(address);
            line.insert(line.end(), fr.begin(), fr.end());
            const std::uint8_t data = (address >= 0x70 && address < 0x78) ? "SIM 4480"[address - 0x70] : 0xFF;
            const Bytes a =
                answer(0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), data);
            expected.insert(expected.end(), a.begin(), a.end());
        }
        sim::DeviceMemory memory;
        sim::SimDevice device(memory);
        Bytes sent;
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t n = std::min<std::size_t>(1 + rng() % 15, line.size() - at);
            const Bytes out = device.receive(std::span(line).subspan(at, n));
            sent.insert(sent.end(), out.begin(), out.end());
            at += n;
        }
        ASSERT_EQ(sent, expected) << "round " << round;
    }
}

}  // namespace
