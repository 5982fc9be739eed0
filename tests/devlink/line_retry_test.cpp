// A line that says "not now" (EAGAIN, EWOULDBLOCK, EINTR) to a write or a
// read is still a healthy line: the exchange goes on with the same frame and
// ends with the device's answer. A real I/O error or a hang-up loses it.
#include <gtest/gtest.h>

#include <cerrno>

#include "devlink/commands.h"
#include "devlink/line_retry.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

constexpr char kLost[] =
    "The connection to the device on port 1 (/dev/qrn-sim) was lost (device removed). Check the cable and the "
    "serial adapter: the editor keeps your settings and reconnects by itself when the device answers again.";

TEST(LineRetry, RefusalsForNowAreWaitedOutAndRealFailuresLoseTheLine) {
    struct Case {
        const char* what;
        std::deque<int> writeRefusals;
        std::deque<int> readRefusals;
        bool lost;
        std::size_t framesOut;  // a frame the line never took is not out
    };
    const Case cases[] = {
        {"write: buffer full three times", {EAGAIN, EAGAIN, EAGAIN}, {}, false, 1},
        {"write: interrupted, then would block", {EINTR, EWOULDBLOCK}, {}, false, 1},
        {"read: nothing yet three times", {}, {EAGAIN, EAGAIN, EAGAIN}, false, 1},
        {"read: interrupted", {}, {EINTR}, false, 1},
        {"both", {EAGAIN}, {EAGAIN, EINTR}, false, 1},
        {"write: I/O error", {EIO}, {}, true, 0},
        {"write: not now, then the adapter is gone", {EAGAIN, ENXIO}, {}, true, 0},
        {"read: not now, then I/O error", {}, {EAGAIN, EIO}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimRig rig;
        rig.port.linePace = true;
        rig.connect();
        rig.takeWrites();
        rig.port.writeRefusals = c.writeRefusals;
        rig.port.readRefusals = c.readRefusals;
        const std::int64_t before = rig.clock.now;
        const auto reply = devlink::RunToEnd(rig.link.request(devlink::ReadMemoryBytePayload(0x0070)));
        // At most once: a refusal is no reason to resend.
        EXPECT_EQ(rig.takeWrites(), std::vector<Bytes>(c.framesOut, Frame({0x10, 0x00, 0x70, 0, 0, 0, 0})));
        if (c.lost) {
            EXPECT_EQ(rig.end.messages, std::vector<std::string>{kLost});
            continue;
        }
        EXPECT_TRUE(rig.end.messages.empty());
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ((*reply)[6], 'S');
        // Answered at line pace, not after a time-out.
        EXPECT_LT(rig.clock.now - before, 100);
    }
}

TEST(LineRetry, TheWriteLoopGivesUpOnlyWhenItsTimeIsUp) {
    FakeClock clock;
    std::vector<int> waits;
    // A line that never takes the bytes: each try waits what is left.
    const bool out = devlink::WriteUntilOut(
        [&](int waitMs) {
            waits.push_back(waitMs);
            clock.advance(std::min(waitMs, 1000));
            return devlink::WriteProgress{};
        },
        clock);
    EXPECT_FALSE(out);
    EXPECT_EQ(waits, (std::vector<int>{3168, 2168, 1168, 168, 0}));
}

}  // namespace
