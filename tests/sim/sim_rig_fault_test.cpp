// The in-process rig plays the same fault scripts as the program, on the
// fake clock: a late answer arrives when the clock reaches it, an unplug
// breaks the port.
#include <gtest/gtest.h>

#include "sim_frames.h"
#include "support/sim_rig.h"

namespace {

struct RigCase {
    const char* name;
    std::vector<std::string> faults;
    std::int64_t waitedMs;  // until the answer, or the break
    sim_test::Bytes input;
    bool broken;
};

TEST(SimRigFaults, AnswersOnTheFakeClockAsScripted) {
    const sim_test::Bytes answer = sim_test::answer(0x00, 0, 0, 0);
    const std::vector<RigCase> cases = {
        {"no faults", {}, 0, answer, false},
        {"late", {"frame=1:late=300"}, 300, answer, false},
        {"duplicate", {"frame=1:duplicate"}, 0, sim_test::concat({answer, answer}), false},
        {"mute", {"frame=1:mute"}, 1000, {}, false},
        {"close", {"frame=1:close"}, 0, {}, true},
    };
    for (const RigCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::SimRig rig;
        rig.useFaults(c.faults);
        ASSERT_TRUE(rig.port.open(testing_support::kSimPortName));
        const std::int64_t start = rig.clock.now;
        ASSERT_TRUE(rig.port.write(sim_test::kProbe));
        if (rig.port.bytesWaiting() == 0) rig.port.waitForBytes(1000);
        EXPECT_EQ(rig.clock.now - start, c.waitedMs);
        EXPECT_EQ(rig.port.input(), c.input);
        EXPECT_EQ(rig.port.fault() != devlink::PortFault::None, c.broken);
    }
}

}  // namespace
