// Jobs on stacks of their own, as the editor runs them: a wait steps out to
// the caller (the event loop) and a wake steps back in. What is asked for
// while a job waits goes out after it, in order, or is refused.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "devlink/commands.h"
#include "support/stepping_link.h"

using namespace devlink;
using testing_support::Bytes;

namespace {

using Rig = testing_support::SteppingLink;

const Payload kNotchA = SetNotchPayload(0, 1, 100, 3, 20);
const Payload kNotchA2 = SetNotchPayload(0, 1, 110, 3, 20);
const Payload kNotchB = SetNotchPayload(0, 2, 200, 3, 20);
const Payload kStop = SearchControlPayload(0, {4, 1, 0, 6}, false);

std::vector<Bytes> FramesOf(const std::vector<Payload>& payloads) {
    std::vector<Bytes> frames;
    for (const Payload& p : payloads) {
        const Frame f = BuildFrame(p);
        frames.emplace_back(f.begin(), f.end());
    }
    return frames;
}

TEST(LinkJobs, AJobWaitingForItsReplyStepsOutAndWhatComesMeanwhileWaitsItsTurn) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> meanwhile;  // while the first edit waits for its reply
        std::vector<Payload> expected;        // every frame written, in order
        int refusals = 0;
    };
    const std::vector<Case> cases = {
        {"another notch: after the first", [](Rig& r) { r.link.sendCommand(kNotchB); }, {kNotchA, kNotchB}},
        {"the same notch twice: the latest value only",
         [](Rig& r) {
             r.link.sendCommand(kNotchA2);
             r.link.sendCommand(kNotchB);
             r.link.sendCommand(SetNotchPayload(0, 1, 120, 3, 20));
         },
         {kNotchA, SetNotchPayload(0, 1, 120, 3, 20), kNotchB}},
        {"moved back to the value on the line: nothing more", [](Rig& r) { r.link.sendCommand(kNotchA); }, {kNotchA}},
        {"a job of several frames: whole, after the edit",
         [](Rig& r) {
             r.jobs.run([&r] {
                 r.link.sendCommand(kStop);
                 r.link.sendCommand(kStop);  // a repeat meant as one: both go out
             });
             r.link.sendCommand(kNotchB);
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"an edit while a job of several frames waits: after the whole job",
         [](Rig& r) {
             r.jobs.run([&r] {
                 r.link.sendCommand(kStop);
                 r.link.sendCommand(kStop);
             });
             r.answer();  // the edit's reply: the job starts and waits on its first frame
             r.link.sendCommand(kNotchB);
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"an edit from the event loop while the job waits for a question's answer: after the job",
         [](Rig& r) {
             r.jobs.run([&r] {
                 r.link.sendCommand(kStop);
                 EXPECT_TRUE(r.jobs.awaitFromLoop([&r](const JobRunner::Done& answered) {
                     EXPECT_FALSE(r.jobs.onOwnStack()) << "the question opens from the event loop";
                     r.link.sendCommand(kNotchB);
                     answered();
                 }));
                 r.link.sendCommand(kStop);
             });
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"a search start queued, then its channel's settings: both, the start first",
         [](Rig& r) {
             r.link.sendCommand(SearchControlPayload(1, {4, 1, 0, 6}, true));
             r.link.sendCommand(SearchControlPayload(1, {4, 1, 0, 7}, false));
         },
         {kNotchA, SearchControlPayload(1, {4, 1, 0, 6}, true), SearchControlPayload(1, {4, 1, 0, 7}, false)}},
        {"a request from outside a job: refused, never left to run later",
         [](Rig& r) { EXPECT_FALSE(r.link.request(kNotchB).has_value()); },
         {kNotchA}},
        {"an edit while a transfer holds the device: refused",
         [](Rig& r) {
             auto hold = std::make_shared<std::optional<DeviceWork::Hold>>(r.link.work().tryHold("storing a preset"));
             r.jobs.run([&r, hold] {
                 r.link.sendCommand(kStop);
                 hold->reset();
             });
             r.link.sendCommand(kNotchB);
         },
         {kNotchA, kStop},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        int refusals = 0;
        const auto watch =
            rig.link.work().watch([&](DeviceWork::WorkEvent e) { refusals += e == DeviceWork::WorkEvent::Refused; });
        rig.link.sendCommand(kNotchA);
        ASSERT_TRUE(rig.jobs.busy()) << "the edit's job waits for its reply";
        EXPECT_FALSE(rig.jobs.inJob()) << "and the caller is out of it";
        c.meanwhile(rig);
        for (int guard = 0; rig.jobs.busy() && guard < 20; ++guard) rig.answer();
        EXPECT_FALSE(rig.jobs.busy());
        const std::vector<Bytes> expected = FramesOf(c.expected);
        EXPECT_EQ(rig.line.writes, expected);
        EXPECT_EQ(refusals, c.refusals);
        EXPECT_TRUE(rig.end.messages.empty());
    }
}

TEST(LinkJobs, AJobEndedByAnErrorIsToldAndTheNextJobRuns) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> failing;
        std::vector<Payload> expected;
    };
    const std::vector<Case> cases = {
        {"before its first frame", [](Rig&) { throw std::runtime_error("no such preset"); }, {kNotchB}},
        {"after a wait for the device",
         [](Rig& r) {
             r.link.sendCommand(kStop);
             throw std::runtime_error("no such preset");
         },
         {kStop, kNotchB}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        std::vector<std::string> told;
        rig.link.setWhenJobFailed([&told](const std::string& why) { told.push_back(why); });
        rig.jobs.run([&rig, &c] { c.failing(rig); });
        rig.link.sendCommand(kNotchB);
        rig.answerAll();
        EXPECT_EQ(told, std::vector<std::string>{"no such preset"});
        EXPECT_FALSE(rig.jobs.busy());
        const std::vector<Bytes> expected = FramesOf(c.expected);
        EXPECT_EQ(rig.line.writes, expected);
        EXPECT_TRUE(rig.end.messages.empty()) << "the link goes on";
    }
}

TEST(LinkJobs, CancellingEndsTheWaitingJobAndForgetsTheQueuedOnesWithoutLosingTheLink) {
    Rig rig;
    bool secondStep = false, queuedRan = false, idleTold = false;
    const auto watch = rig.link.work().watch(
        [&](DeviceWork::WorkEvent e) { idleTold = idleTold || e == DeviceWork::WorkEvent::Free; });
    rig.jobs.run([&] {
        rig.link.sendCommand(kNotchA);
        secondStep = !rig.link.ended();
        rig.link.sendCommand(kNotchB);  // must not go out
    });
    rig.jobs.run([&] { queuedRan = true; });
    rig.link.cancelJobs();
    rig.runPosted();
    EXPECT_FALSE(rig.jobs.busy());
    EXPECT_FALSE(secondStep) << "the job saw its work end";
    EXPECT_FALSE(queuedRan);
    EXPECT_EQ(rig.line.writes.size(), 1u);
    EXPECT_TRUE(idleTold);
    EXPECT_FALSE(rig.link.cancelling()) << "the next job starts clean";
    EXPECT_FALSE(rig.link.lost());
    EXPECT_TRUE(rig.end.messages.empty());
    rig.link.sendCommand(kNotchB);
    rig.answer();
    EXPECT_EQ(rig.line.writes.size(), 2u);
}

TEST(LinkJobs, CancellingWhenOnlyAQueuedJobIsLeftEndsTheCancelAtOnce) {
    Rig rig;
    bool queuedRan = false, idleTold = false;
    const auto watch = rig.link.work().watch(
        [&](DeviceWork::WorkEvent e) { idleTold = idleTold || e == DeviceWork::WorkEvent::Free; });
    rig.link.sendCommand(kNotchA);
    rig.jobs.run([&] { queuedRan = true; });
    // The reply steps the edit's job back in and it ends; the next job's
    // start is posted, not yet run.
    rig.line.deliver(testing_support::FramedReply());
    rig.jobs.wake();
    auto stepIn = std::move(rig.posted.front());
    rig.posted.pop_front();
    stepIn();
    ASSERT_TRUE(rig.jobs.busy());
    idleTold = false;
    rig.link.cancelJobs();
    rig.runPosted();
    EXPECT_FALSE(queuedRan);
    EXPECT_TRUE(idleTold);
    EXPECT_FALSE(rig.link.cancelling()) << "nothing is left to end the cancel later";
    rig.link.sendCommand(kNotchB);
    rig.answer();
    EXPECT_EQ(rig.line.writes.size(), 2u) << "the next edit goes out";
}

TEST(LinkJobs, AtLinePaceEveryByteStepsTheWaitingJobBackInAndTheFramesStayTheSame) {
    const Bytes reply = testing_support::FramedReply();
    struct Case {
        const char* what;
        std::function<Bytes(int write)> device;  // its answer to the write (0, 1, ...); empty: silence
        std::vector<Payload> expected;
    };
    const std::vector<Case> cases = {
        {"every reply at 4800 baud", [&](int) { return reply; }, {kNotchA, kStop, kStop, kNotchB}},
        {"noise ahead of every reply",
         [&](int) {
             Bytes noisy{0x13, 0xF0, 0x77};
             noisy.insert(noisy.end(), reply.begin(), reply.end());
             return noisy;
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"the first reply never comes: that frame once more, the rest as before",
         [&](int write) { return write == 0 ? Bytes{} : reply; },
         {kNotchA, kNotchA, kStop, kStop, kNotchB}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.line.linePace = true;
        int writes = 0;
        rig.line.peer = [&](const Bytes&) { return c.device(writes++); };
        rig.link.sendCommand(kNotchA);
        rig.jobs.run([&rig] {
            rig.link.sendCommand(kStop);
            rig.link.sendCommand(kStop);
        });
        rig.link.sendCommand(kNotchB);
        const int steps = rig.stepAll();
        EXPECT_FALSE(rig.jobs.busy());
        EXPECT_GE(steps, 40) << "a step for each byte, not one for each reply";
        const std::vector<Bytes> expected = FramesOf(c.expected);
        EXPECT_EQ(rig.line.writes, expected);
        EXPECT_TRUE(rig.end.messages.empty());
    }
}

}  // namespace
