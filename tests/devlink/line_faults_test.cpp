// The start-up read over a line that lies, at line pace (a byte every
// 2.083 ms, answers only after the frame has crossed) and unpaced (answers
// at once and in one piece, as a pseudo-terminal or a network delivers):
// whatever the fault, the read ends with the device's truth, never with
// shifted values.
#include <gtest/gtest.h>

#include "devlink/memory_dump.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

struct Outcome {
    model::PresetImage image{};
    model::PresetLibrary library;
    std::vector<std::string> messages;
    std::size_t writes = 0;
};

struct Pace {
    const char* name;
    bool linePace;
};
constexpr Pace kPaces[] = {{"at line pace", true}, {"unpaced", false}};

void StoreName(sim::DeviceMemory& memory, int k, const std::string& name) {
    memory.write(0x0030 + k, 0x55);
    for (int j = 0; j < 8; ++j) memory.write(0x0F20 + 8 * k + j, static_cast<std::uint8_t>(name[j]));
}

// Two stored presets and current settings that differ from the defaults, so
// a shifted reply shows as a wrong name, a lost position or a wrong notch.
void Prepare(SimRig& rig, const Pace& pace) {
    StoreName(rig.memory, 2, " PARTY  ");
    StoreName(rig.memory, 9, "Choir A ");
    rig.port.linePace = pace.linePace;
    rig.connect();
    // Left notch 1 at 459.9 Hz, -36 dB: what the current settings hold.
    rig.port.peer(Frame({0x07, 0, 0, 0x00, 0xD5, 2, 9}));
    rig.port.writes.clear();
}

Outcome Dump(SimRig& rig) {
    Outcome out;
    devlink::RunToEnd(devlink::DumpDeviceMemory(rig.link, out.image, out.library, {}));
    out.messages = rig.end.messages;
    out.writes = rig.port.writes.size();
    return out;
}

Outcome Truth(const Pace& pace) {
    SimRig rig;
    Prepare(rig, pace);
    return Dump(rig);
}

TEST(LineFaults, TheStartUpReadShowsTheDevicesTruth) {
    struct Case {
        const char* what;
        std::vector<std::string> faults;
        // Frames written beyond the healthy read's, at line pace and unpaced.
        std::size_t resends[2];
    };
    const Case cases[] = {
        {"a noise byte before a reply", {"cmd=0x10#3:noise=1"}, {0, 0}},
        {"three bytes after a reply", {"cmd=0x10#3:extra=3"}, {0, 0}},
        {"two extra bytes", {"cmd=0x10#20:extra=2"}, {0, 0}},
        {"a reply 3.3 s late", {"cmd=0x10#3:late=3300"}, {1, 1}},
        {"a duplicate reply", {"cmd=0x10#2:duplicate"}, {0, 0}},
        {"a duplicate name byte", {"cmd=0x10#18:duplicate"}, {0, 0}},
        {"a 7-byte reply", {"cmd=0x10#5:partial=7"}, {1, 1}},
        {"noise before the block", {"cmd=0x0B#1:noise=1"}, {1, 1}},
        {"a block repeated", {"cmd=0x0B#1:duplicate"}, {1, 1}},
    };
    for (std::size_t p = 0; p < std::size(kPaces); ++p) {
        const Pace& pace = kPaces[p];
        const Outcome truth = Truth(pace);
        ASSERT_TRUE(truth.messages.empty());
        ASSERT_EQ(truth.library.names[6], U" PARTY  ");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + pace.name);
            SimRig rig;
            rig.useFaults(c.faults);
            Prepare(rig, pace);
            const Outcome got = Dump(rig);
            EXPECT_TRUE(got.messages.empty()) << (got.messages.empty() ? "" : got.messages[0]);
            EXPECT_EQ(got.library.used, truth.library.used);
            EXPECT_EQ(got.library.names, truth.library.names);
            EXPECT_EQ(got.library.programName, truth.library.programName);
            EXPECT_EQ(got.image, truth.image);
            EXPECT_EQ(got.writes, truth.writes + c.resends[p]);
        }
    }
}

// A device still searching from an earlier session sends reports between
// its answers; none of them passes for a reply.
TEST(LineFaults, ReportsBetweenRepliesAreNotTakenForThem) {
    for (const Pace& pace : kPaces) {
        SCOPED_TRACE(pace.name);
        const Outcome truth = Truth(pace);
        SimRig rig;
        Prepare(rig, pace);
        const Bytes report{0xFE, 0, 3, 0x01, 0x2C, 2, 0x20, 0, 0, 0xF7};
        auto answer = rig.port.peer;
        int count = 0;
        rig.port.peer = [&](const Bytes& written) {
            Bytes line = ++count % 3 == 0 ? report : Bytes{};
            const Bytes reply = answer(written);
            line.insert(line.end(), reply.begin(), reply.end());
            return line;
        };
        const Outcome got = Dump(rig);
        EXPECT_TRUE(got.messages.empty());
        EXPECT_EQ(got.library.names, truth.library.names);
        EXPECT_EQ(got.image, truth.image);
        EXPECT_EQ(got.writes, truth.writes);
    }
}

}  // namespace
