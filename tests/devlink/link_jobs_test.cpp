// Jobs as the editor and the command-line tool drive them: from an event
// loop, where a wait hands control back to the loop and the job goes on
// when it is woken, and in place, where every wait blocks. What a job
// awaits gives it the same answer either way; what is asked for while a job
// waits goes out after it, in order, or is refused.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>

#include "devlink/commands.h"
#include "devlink/job_wait_port.h"
#include "support/stepping_link.h"

using namespace devlink;
using testing_support::Bytes;

namespace {

using Rig = testing_support::SteppingLink;

const Payload kNotchA = SetNotchPayload(0, 1, 100, 3, 20);
const Payload kNotchA2 = SetNotchPayload(0, 1, 110, 3, 20);
const Payload kNotchB = SetNotchPayload(0, 2, 200, 3, 20);
const Payload kStop = SearchControlPayload(0, {4, 1, 0, 6}, false);
constexpr char kFailure[] = "no such preset";

std::vector<Bytes> FramesOf(const std::vector<Payload>& payloads) {
    std::vector<Bytes> frames;
    for (const Payload& p : payloads) {
        const Frame f = BuildFrame(p);
        frames.emplace_back(f.begin(), f.end());
    }
    return frames;
}

// Qt's own loop, through the same post the editor uses; the test runs what
// it holds rather than waiting for it.
class QtLoop {
public:
    void attach(Rig& rig) {
        rig.jobs.driveFromLoop([this, through = PostThrough(context_)](std::function<void()> call) {
            ++pending_;
            through([this, call = std::move(call)] {
                --pending_;
                call();
            });
        });
        rig.otherLoop = [this] {
            if (pending_ == 0) return false;
            QCoreApplication::sendPostedEvents(&context_);
            return true;
        };
    }

private:
    QObject context_;
    int pending_ = 0;
};

// How the jobs are driven. The rig is made after its driver and goes first.
struct Driver {
    const char* name;
    bool fromLoop;
    bool qt;
};
const Driver kDrivers[] = {
    {"in place", false, false},
    {"from a loop the test drains", true, false},
    {"from Qt's event loop", true, true},
};

struct DrivenRig {
    explicit DrivenRig(const Driver& driver) : rig(driver.fromLoop) {
        if (driver.qt) qt.attach(rig);
        // A device that answers every frame at the line's pace, so that
        // every reply is waited for.
        rig.line.linePace = true;
        rig.line.peer = [](const Bytes&) { return testing_support::FramedReply(); };
    }
    // Runs the loop until no job is left; how many waits it stepped over.
    int finish() { return rig.stepAll(); }

    QtLoop qt;
    Rig rig;
};

class NoteTrace final : public LinkTrace {
public:
    void record(std::int64_t, TraceEvent, std::span<const std::uint8_t>, std::string_view note) override {
        notes.emplace_back(note);
    }
    std::vector<std::string> notes;
};

TEST(LinkJobs, WhatAJobAwaitsGivesTheSameAnswerDrivenInPlaceOrFromALoop) {
    struct Case {
        const char* what;
        std::function<void(Rig&)> arrange;  // the line, before the job starts
        std::function<Task<bool>(Rig&)> awaited;
        bool answer;                    // what the awaited step gave
        bool after;                     // what a command after it gave
        std::vector<Payload> expected;  // every frame written, in order
        bool lost;
    };
    const auto notchA = [](Rig& r) { return r.link.command(kNotchA); };
    const std::vector<Case> cases = {
        {"a reply", [](Rig&) {}, notchA, true, true, {kNotchA, kNotchB}, false},
        {"a time-out: six writes, then the link is lost",
         [](Rig& r) { r.line.peer = [](const Bytes&) { return Bytes{}; }; }, notchA, false, false,
         std::vector<Payload>(kMaxWrites, kNotchA), true},
        {"a broken port: the link is lost",
         [](Rig& r) { r.line.breakAtNextWait = true; },
         notchA,
         false,
         false,
         {kNotchA},
         true},
        {"a cancel: this job's work ends, the link stays",
         [](Rig& r) { r.line.duringWait = [&r] { r.link.cancelJobs(); }; },
         notchA,
         false,
         false,
         {kNotchA},
         false},
        {"the user's answer",
         [](Rig&) {},
         [](Rig& r) -> Task<bool> {
             std::function<void(std::function<void(bool)>)> ask = [&r](const std::function<void(bool)>& given) {
                 // Asked from the loop the question is no part of the job.
                 EXPECT_EQ(r.jobs.running(), !r.jobs.fromLoop());
                 given(true);
             };
             const bool reply = co_await r.jobs.answer<bool>(std::move(ask));
             co_return reply;
         },
         true,
         true,
         {kNotchB},
         false},
    };
    for (const Driver& driver : kDrivers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(driver.name) + ": " + c.what);
            DrivenRig driven(driver);
            Rig& rig = driven.rig;
            c.arrange(rig);
            std::optional<bool> answer, after;
            rig.jobs.run([&]() -> Task<void> {
                answer = co_await c.awaited(rig);
                after = co_await rig.link.command(kNotchB);
            });
            EXPECT_EQ(rig.jobs.busy(), driver.fromLoop) << "from a loop the job waits; in place it has ended";
            const int steps = driven.finish();
            EXPECT_EQ(steps > 0, driver.fromLoop);
            EXPECT_FALSE(rig.jobs.busy());
            EXPECT_EQ(answer, c.answer);
            EXPECT_EQ(after, c.after);
            EXPECT_EQ(rig.line.writes, FramesOf(c.expected));
            EXPECT_EQ(rig.end.messages.size(), c.lost ? 1U : 0U);
            EXPECT_EQ(rig.link.lost(), c.lost);
            EXPECT_FALSE(rig.link.cancelling()) << "the next job starts clean";
        }
    }
}

TEST(LinkJobs, AnErrorInAJobReachesTheCallerInPlaceAndEndsOnlyThatJobFromALoop) {
    struct Case {
        const char* what;
        std::function<Task<void>(Rig&)> failing;
        std::vector<Payload> expected;  // with the edit asked for next
    };
    const std::vector<Case> cases = {
        {"thrown before its first frame",
         [](Rig&) -> Task<void> {
             throw std::runtime_error(kFailure);
             co_return;
         },
         {kNotchB}},
        {"thrown after a wait for the device",
         [](Rig& r) -> Task<void> {
             co_await r.link.command(kStop);
             throw std::runtime_error(kFailure);
         },
         {kStop, kNotchB}},
    };
    for (const Driver& driver : kDrivers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(driver.name) + ": " + c.what);
            DrivenRig driven(driver);
            Rig& rig = driven.rig;
            NoteTrace trace;
            rig.link.setTrace(&trace);
            std::vector<std::string> told;
            rig.link.setWhenJobFailed([&told](const std::string& why) { told.push_back(why); });
            const JobRunner::Job job = [&]() { return c.failing(rig); };
            if (driver.fromLoop) {
                rig.jobs.run(job);
            } else {
                try {
                    rig.jobs.run(job);
                    ADD_FAILURE() << "the error should have reached the caller";
                } catch (const std::runtime_error& error) {
                    EXPECT_STREQ(error.what(), kFailure);
                }
            }
            rig.link.sendCommand(kNotchB);  // from a loop: queued behind the failing job
            driven.finish();
            const auto endedLine = std::count(trace.notes.begin(), trace.notes.end(),
                                              std::string("device work ended by an error: ") + kFailure);
            if (driver.fromLoop) {
                EXPECT_EQ(told, std::vector<std::string>{kFailure});
                EXPECT_EQ(endedLine, 1);
            } else {
                EXPECT_TRUE(told.empty()) << "the caller has it";
                EXPECT_EQ(endedLine, 0);
            }
            EXPECT_FALSE(rig.jobs.busy());
            EXPECT_EQ(rig.line.writes, FramesOf(c.expected)) << "the next job ran";
            EXPECT_TRUE(rig.end.messages.empty()) << "the link goes on";
            rig.link.sendCommand(kNotchA);
            driven.finish();
            EXPECT_EQ(rig.line.writes.back(), FramesOf({kNotchA}).front()) << "and still works";
        }
    }
}

TEST(LinkJobs, AJobWaitingForItsReplyHandsTheLoopBackAndWhatComesMeanwhileWaitsItsTurn) {
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
             r.jobs.run([&r]() -> Task<void> {
                 co_await r.link.command(kStop);
                 co_await r.link.command(kStop);  // a repeat meant as one: both go out
             });
             r.link.sendCommand(kNotchB);
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"an edit while a job of several frames waits: after the whole job",
         [](Rig& r) {
             r.jobs.run([&r]() -> Task<void> {
                 co_await r.link.command(kStop);
                 co_await r.link.command(kStop);
             });
             r.answer();  // the edit's reply: the job starts and waits on its first frame
             r.link.sendCommand(kNotchB);
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"an edit from the event loop while the job waits for a question's answer: after the job",
         [](Rig& r) {
             r.jobs.run([&r]() -> Task<void> {
                 co_await r.link.command(kStop);
                 std::function<void(std::function<void(bool)>)> ask = [&r](const std::function<void(bool)>& reply) {
                     r.link.sendCommand(kNotchB);
                     reply(true);
                 };
                 const bool answered = co_await r.jobs.answer<bool>(std::move(ask));
                 EXPECT_TRUE(answered);
                 co_await r.link.command(kStop);
             });
         },
         {kNotchA, kStop, kStop, kNotchB}},
        {"a search start queued, then its channel's settings: both, the start first",
         [](Rig& r) {
             r.link.sendCommand(SearchControlPayload(1, {4, 1, 0, 6}, true));
             r.link.sendCommand(SearchControlPayload(1, {4, 1, 0, 7}, false));
         },
         {kNotchA, SearchControlPayload(1, {4, 1, 0, 6}, true), SearchControlPayload(1, {4, 1, 0, 7}, false)}},
        {"a request while an exchange waits: refused, never left to run later",
         [](Rig& r) { EXPECT_FALSE(RunToEnd(r.link.request(kNotchB)).has_value()); },
         {kNotchA}},
        {"an edit while a transfer holds the device: refused",
         [](Rig& r) {
             auto hold = std::make_shared<std::optional<DeviceWork::Hold>>(r.link.work().tryHold("storing a preset"));
             r.jobs.run([&r, hold]() -> Task<void> {
                 co_await r.link.command(kStop);
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
        EXPECT_FALSE(rig.jobs.running()) << "and the caller is out of it";
        c.meanwhile(rig);
        for (int guard = 0; rig.jobs.busy() && guard < 20; ++guard) rig.answer();
        EXPECT_FALSE(rig.jobs.busy());
        const std::vector<Bytes> expected = FramesOf(c.expected);
        EXPECT_EQ(rig.line.writes, expected);
        EXPECT_EQ(refusals, c.refusals);
        EXPECT_TRUE(rig.end.messages.empty());
    }
}

TEST(LinkJobs, CancellingEndsTheWaitingJobAndForgetsTheQueuedOnesWithoutLosingTheLink) {
    Rig rig;
    bool secondStep = false, queuedRan = false, idleTold = false;
    const auto watch = rig.link.work().watch(
        [&](DeviceWork::WorkEvent e) { idleTold = idleTold || e == DeviceWork::WorkEvent::Free; });
    rig.jobs.run([&]() -> Task<void> {
        co_await rig.link.command(kNotchA);
        secondStep = !rig.link.ended();
        co_await rig.link.command(kNotchB);  // must not go out
    });
    rig.jobs.run([&]() -> Task<void> {
        queuedRan = true;
        co_return;
    });
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
    rig.jobs.run([&]() -> Task<void> {
        queuedRan = true;
        co_return;
    });
    // The reply resumes the edit's job and it ends; the next job's start is
    // posted, not yet run.
    rig.line.deliver(testing_support::FramedReply());
    rig.jobs.wake();
    auto resume = std::move(rig.posted.front());
    rig.posted.pop_front();
    resume();
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

TEST(LinkJobs, AtLinePaceEveryByteResumesTheWaitingJobAndTheFramesStayTheSame) {
    const Bytes reply = testing_support::FramedReply();
    struct Case {
        const char* what;
        std::function<Bytes(int write)> device;  // its answer to the write (0, 1, ...); empty: silence
        std::vector<Payload> expected;
    };
    const std::vector<Case> cases = {
        {"every reply at 4800 baud", [&](int) { return Bytes(reply); }, {kNotchA, kStop, kStop, kNotchB}},
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
        rig.jobs.run([&rig]() -> Task<void> {
            co_await rig.link.command(kStop);
            co_await rig.link.command(kStop);
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
