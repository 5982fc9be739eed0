#include <gtest/gtest.h>

#include "devlink/memory_dump.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

Bytes ReadFrame(int address) {
    return Frame({0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF)});
}

void StoreName(sim::DeviceMemory& memory, int k, const std::string& name) {
    memory.write(0x0030 + k, 0x55);
    for (int j = 0; j < 8; ++j) memory.write(0x0F20 + 8 * k + j, static_cast<std::uint8_t>(name[j]));
}

struct DumpRun {
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> status;
};

// Runs a dump on a connected rig; the port's writes then hold only the dump.
DumpRun RunDump(SimRig& rig, model::PresetImage& image, model::PresetLibrary& library) {
    rig.connect();
    rig.port.writes.clear();
    DumpRun run;
    devlink::DumpHooks hooks;
    hooks.status = [&](const std::string& s) { run.status.push_back(s); };
    hooks.progress = [&](int done, int total) { run.progress.emplace_back(done, total); };
    hooks.fillEditor = [&] { EXPECT_EQ(rig.port.readSize(), 10) << "receive size back to 10 before the fill"; };
    devlink::RunToEnd(devlink::DumpDeviceMemory(rig.link, image, library, hooks));
    return run;
}

std::vector<Bytes> ExpectedFrames(const std::vector<int>& usedK, const model::PresetImage& image) {
    std::vector<Bytes> frames;
    frames.reserve(16 + 8 * usedK.size() + 8 + 4);
    for (int k = 0; k < 16; ++k) frames.push_back(ReadFrame(0x0030 + k));
    for (int k : usedK)
        for (int j = 0; j < 8; ++j) frames.push_back(ReadFrame(0x0F20 + 8 * k + j));
    for (int j = 0; j < 8; ++j) frames.push_back(ReadFrame(0x0070 + j));
    frames.push_back(Frame({0x0B, 0xFF}));
    frames.push_back(Frame({0x0A, 0, image[76], image[77], image[78], image[79], 0}));
    frames.push_back(Frame({0x0A, 1, image[76], image[77], image[78], image[79], 0}));
    frames.push_back(Frame({0x0A, 2, image[156], image[157], image[158], image[159], 0}));
    return frames;
}

TEST(MemoryDump, FrameSequenceForUsedAndUnusedPositions) {
    struct Case {
        std::vector<int> usedK;
    };
    for (const Case& c : {Case{{}}, Case{{2, 7}}, Case{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}}) {
        SimRig rig;
        for (int k : c.usedK) StoreName(rig.memory, k, "NAME" + std::to_string(10 + k) + "  ");
        model::PresetImage image{};
        image[160] = 0x77;
        model::PresetLibrary library;
        const auto run = RunDump(rig, image, library);

        const auto expected = ExpectedFrames(c.usedK, image);
        ASSERT_EQ(rig.port.writes.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(Hex(rig.port.writes[i]), Hex(expected[i])) << "frame " << i;
        EXPECT_EQ(rig.port.writes.size(),
                  static_cast<std::size_t>(devlink::DumpFrameCount(static_cast<int>(c.usedK.size()))));

        for (int p = 1; p <= 4; ++p) EXPECT_TRUE(library.used[p - 1]);
        EXPECT_EQ(library.names[0], U"Preset01");
        EXPECT_EQ(library.names[3], U"Preset04");
        for (int k = 0; k < 16; ++k) {
            const bool used = std::find(c.usedK.begin(), c.usedK.end(), k) != c.usedK.end();
            EXPECT_EQ(library.used[4 + k], used) << k;
            if (used) {
                const std::string name = "NAME" + std::to_string(10 + k) + "  ";
                EXPECT_EQ(library.names[4 + k], std::u32string(name.begin(), name.end()));
            } else {
                EXPECT_EQ(library.names[4 + k], U" Empty  ");
            }
        }
        EXPECT_EQ(library.programName, U"SIM 4480");
        for (int i = 0; i < 160; ++i) EXPECT_EQ(image[i], rig.device.settings()[i]) << i;
        EXPECT_EQ(image[160], 0x77) << "the spare byte is not the device's";
        EXPECT_EQ(run.status, std::vector<std::string>{"Dumping memory: please wait "});
        ASSERT_FALSE(run.progress.empty());
        EXPECT_EQ(run.progress.back().first, run.progress.back().second);
        for (std::size_t i = 1; i < run.progress.size(); ++i)
            EXPECT_GE(run.progress[i].first, run.progress[i - 1].first);
        EXPECT_TRUE(rig.end.messages.empty());
    }
}

TEST(MemoryDump, TheEditorIsFilledAfterTheBlockAndBeforeTheClosingFrames) {
    SimRig rig;
    model::PresetImage image{};
    model::PresetLibrary library;
    std::size_t writesAtFill = 0;
    devlink::DumpHooks hooks;
    hooks.fillEditor = [&] {
        writesAtFill = rig.port.writes.size();
        image[76] = 3;  // what the editor leaves in the image is what the closing frames carry
    };
    rig.connect();
    const std::size_t before = rig.port.writes.size();
    devlink::RunToEnd(devlink::DumpDeviceMemory(rig.link, image, library, hooks));
    EXPECT_EQ(writesAtFill - before, 16u + 8u + 1u);
    EXPECT_EQ(rig.port.writes.back()[3], 2);
    EXPECT_EQ(rig.port.writes[rig.port.writes.size() - 3][4], 3);
}

TEST(MemoryDump, ANameIsTakenByteForByteWhateverItHolds) {
    SimRig rig;
    rig.memory.write(0x0030 + 15, 0x55);
    const std::uint8_t raw[] = {0x00, 0x0A, 0xFF, 'A', 0x7F, 0x80, ' ', 0x0D};
    for (int j = 0; j < 8; ++j) rig.memory.write(0x0F20 + 8 * 15 + j, raw[j]);
    rig.memory.write(0x0030 + 3, 0x54);  // anything but 0x55 is empty
    model::PresetImage image{};
    model::PresetLibrary library;
    rig.connect();
    devlink::RunToEnd(devlink::DumpDeviceMemory(rig.link, image, library, {}));
    EXPECT_EQ(library.names[19], std::u32string(U"\u0000\u000A\u00FFA\u007F\u0080 \u000D", 8));
    EXPECT_FALSE(library.used[7]);
    EXPECT_EQ(library.names[7], U" Empty  ");
}

}  // namespace
