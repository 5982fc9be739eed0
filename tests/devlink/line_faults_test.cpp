// The start-up read over a line that lies, at line pace (a byte every
// 2.083 ms, answers only after the frame has crossed): whatever the fault,
// the read ends with the device's truth, never with shifted values.
#include <gtest/gtest.h>

#include "devlink/memory_dump.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

struct Outcome {
    model::PresetImage image{};
    model::PresetLibrary library;
    std::vector<std::string> messages;
};

void StoreName(sim::DeviceMemory& memory, int k, const std::string& name) {
    memory.write(0x0030 + k, 0x55);
    for (int j = 0; j < 8; ++j) memory.write(0x0F20 + 8 * k + j, static_cast<std::uint8_t>(name[j]));
}

// Two stored presets and current settings that differ from the defaults, so
// a shifted reply shows as a wrong name, a lost position or a wrong notch.
void Prepare(SimRig& rig) {
    StoreName(rig.memory, 2, " PARTY  ");
    StoreName(rig.memory, 9, "Choir A ");
    rig.port.linePace = true;
    rig.connect();
    // Left notch 1 at 459.9 Hz, -36 dB: what the current settings hold.
    rig.port.peer(Frame({0x07, 0, 0, 0x00, 0xD5, 2, 9}));
    rig.port.writes.clear();
}

Outcome Dump(SimRig& rig) {
    Outcome out;
    devlink::DumpDeviceMemory(rig.link, out.image, out.library, {});
    out.messages = rig.end.messages;
    return out;
}

Outcome Truth() {
    SimRig rig;
    Prepare(rig);
    return Dump(rig);
}

TEST(LineFaults, TheStartUpReadShowsTheDevicesTruth) {
    const Outcome truth = Truth();
    ASSERT_TRUE(truth.messages.empty());
    ASSERT_EQ(truth.library.names[6], U" PARTY  ");
    struct Case {
        const char* what;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"a noise byte before a reply", {"cmd=0x10#3:noise=1"}},
        {"three bytes after a reply", {"cmd=0x10#3:extra=3"}},
        {"two extra bytes", {"cmd=0x10#20:extra=2"}},
        {"a reply 3.3 s late", {"cmd=0x10#3:late=3300"}},
        {"a duplicate reply", {"cmd=0x10#2:duplicate"}},
        {"a duplicate name byte", {"cmd=0x10#18:duplicate"}},
        {"a 7-byte reply", {"cmd=0x10#5:partial=7"}},
        {"noise before the block", {"cmd=0x0B#1:noise=1"}},
        {"a block repeated", {"cmd=0x0B#1:duplicate"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimRig rig;
        rig.useFaults(c.faults);
        Prepare(rig);
        const Outcome got = Dump(rig);
        EXPECT_TRUE(got.messages.empty()) << (got.messages.empty() ? "" : got.messages[0]);
        EXPECT_EQ(got.library.used, truth.library.used);
        EXPECT_EQ(got.library.names, truth.library.names);
        EXPECT_EQ(got.library.programName, truth.library.programName);
        EXPECT_EQ(got.image, truth.image);
    }
}

// A device still searching from an earlier session sends reports between
// its answers; none of them passes for a reply.
TEST(LineFaults, ReportsBetweenRepliesAreNotTakenForThem) {
    const Outcome truth = Truth();
    SimRig rig;
    Prepare(rig);
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
}

}  // namespace
