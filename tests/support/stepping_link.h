#pragma once
// A link whose jobs are driven from a loop, as the editor's and `qrn4480
// serve`'s are, over the fake line: a wait inside a job hands control back
// to the test (standing for the event loop), which hands the device's
// replies over one at a time and runs what was posted.
#include <deque>
#include <functional>

#include "devlink/device_link.h"
#include "devlink/forwarding_port.h"
#include "support/fake_port.h"
#include "support/recording_link_end.h"

namespace testing_support {

// The fake line, except that a job's wait on it hands control back to the
// test, which wakes the job when it has let the line move on.
class SteppingPort final : public devlink::ForwardingPort, private devlink::WakingPort {
public:
    SteppingPort(FakePort& line, devlink::JobRunner& jobs) : ForwardingPort(line), jobs_(jobs) {}
    devlink::WakingPort* waking() override { return this; }
    int waitedMs = 0;  // the time the last wait gave the line

private:
    devlink::JobRunner& waitingJobs() override { return jobs_; }
    void wakeOn(int timeoutMs) override { waitedMs = timeoutMs; }
    void stopWaking() override {}

    devlink::JobRunner& jobs_;
};

// The reply a device gives any frame.
inline Bytes FramedReply() {
    Bytes reply(10, 0);
    reply[0] = 0xF0;
    reply[1] = 0x5B;
    reply[3] = devlink::kFrameTag;
    reply[9] = 0xF7;
    return reply;
}

struct SteppingLink {
    // Driven from the queue `posted` the test drains, or, the same link
    // with no loop at all, in place (as the command-line tool drives it).
    explicit SteppingLink(bool fromLoop = true) {
        if (fromLoop) jobs.driveFromLoop([this](std::function<void()> call) { posted.push_back(std::move(call)); });
        EXPECT_TRUE(link.openPort(1));
    }
    // The event loop: runs what was posted until nothing is.
    void runPosted() {
        for (;;) {
            if (!posted.empty()) {
                auto call = std::move(posted.front());
                posted.pop_front();
                call();
            } else if (!otherLoop || !otherLoop()) {
                return;
            }
        }
    }
    // The device answers the frame on the line; the job goes on.
    void answer() {
        line.deliver(FramedReply());
        jobs.wake();
        runPosted();
    }
    // What the event loop does while a job waits on the real line: time
    // passes until the next byte arrives or the wait's time is up (the fake
    // line's peer and schedule say which), and the job goes on.
    void step() {
        line.waitForBytes(port.waitedMs);
        jobs.wake();
        runPosted();
    }
    // Steps until no job is left; how many steps it took (a bounded number).
    int stepAll() {
        runPosted();
        int steps = 0;
        for (; jobs.busy() && steps < 5000; ++steps) step();
        return steps;
    }
    // Answers every frame until no job is left (a bounded number).
    void answerAll() {
        runPosted();
        for (int guard = 0; jobs.busy() && guard < 100; ++guard) answer();
    }

    FakeClock clock;
    FakePort line{clock};
    devlink::JobRunner jobs;
    SteppingPort port{line, jobs};
    RecordingLinkEnd end;
    devlink::DeviceLink link{port, clock, end, devlink::PortTable::fromList("/dev/a", ':'), jobs};
    std::deque<std::function<void()>> posted;
    // Where the jobs are driven through another loop (Qt's): runs what it
    // holds; false when it held nothing.
    std::function<bool()> otherLoop;
};

}  // namespace testing_support
