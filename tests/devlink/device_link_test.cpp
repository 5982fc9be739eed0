#include <gtest/gtest.h>

#include <functional>

#include "devlink/commands.h"
#include "devlink/device_link.h"
#include "support/fake_port.h"
#include "support/recording_link_end.h"
#include "support/stepping_link.h"

using namespace devlink;
using testing_support::Bytes;
using testing_support::FakeClock;
using testing_support::FakePort;

namespace {

Bytes Reply(std::uint8_t byte3 = kFrameTag, std::size_t size = 10) {
    Bytes reply(size, 0);
    reply[0] = 0xF0;
    if (size > 3) reply[3] = byte3;
    return reply;
}

Bytes FrameBytes(const Payload& p) {
    const Frame f = BuildFrame(p);
    return Bytes(f.begin(), f.end());
}

class DeviceLinkTest : public ::testing::Test {
protected:
    DeviceLinkTest() : port(clock), link(port, clock, end, PortTable::fromList("/dev/a:/dev/b", ':')) {}

    void openAnswering(std::function<Bytes(const Bytes&)> peer) {
        port.peer = std::move(peer);
        ASSERT_TRUE(link.openPort(1));
    }

    FakeClock clock;
    FakePort port;
    testing_support::RecordingLinkEnd end;
    DeviceLink link;
};

const Payload kSetNotch{0x07, 1, 0, 0x02, 0xD9, 3, 45};

TEST_F(DeviceLinkTest, SilentDeviceGetsSixWritesAboutThreeSecondsApartThenTimeOut) {
    openAnswering({});
    std::vector<std::int64_t> times;
    port.peer = [&](const Bytes&) {
        times.push_back(clock.now);
        return Bytes{};
    };
    link.sendCommand(kSetNotch);
    ASSERT_EQ(port.writes.size(), 6u);
    for (const auto& w : port.writes) EXPECT_EQ(w, FrameBytes(kSetNotch));
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], kReplyTimeoutMs + 1);
    EXPECT_EQ(end.messages, std::vector<std::string>{"Time out"});
    EXPECT_TRUE(link.ended());
    // Nothing more reaches the line once the link has ended.
    link.sendCommand(kSetNotch);
    link.sendNoReply(kSetNotch);
    EXPECT_FALSE(RunToEnd(link.readBlock(kSetNotch)));
    EXPECT_EQ(port.writes.size(), 6u);
}

TEST_F(DeviceLinkTest, ReplyCompletesTheExchangeAndExtraBytesAreDiscarded) {
    struct Case {
        std::size_t waiting;
    };
    for (const Case c : {Case{10}, Case{12}, Case{25}}) {
        openAnswering([&](const Bytes&) {
            Bytes reply = Reply();
            reply.resize(c.waiting, 0xEE);
            reply[9] = 0x42;
            return reply;
        });
        const auto writesBefore = port.writes.size();
        const auto reply = RunToEnd(link.request(kSetNotch));
        EXPECT_EQ(port.writes.size(), writesBefore + 1) << c.waiting;
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ((*reply)[9], 0x42) << "ten bytes, the frame's";
        EXPECT_TRUE(port.input().empty()) << c.waiting;
        EXPECT_TRUE(end.messages.empty());
    }
}

TEST_F(DeviceLinkTest, ReplyJustInsideTheLimitNeedsNoResendOneJustOutsideDoes) {
    struct Case {
        std::int64_t delay;
        std::size_t writes;
    };
    for (const Case c : {Case{kReplyTimeoutMs, 1}, Case{kReplyTimeoutMs + 2, 2}}) {
        openAnswering({});
        port.writes.clear();
        bool first = true;
        port.peer = [&](const Bytes&) {
            if (first) port.deliverAt(clock.now + c.delay, Reply());
            first = false;
            return Bytes{};
        };
        link.sendCommand(kSetNotch);
        EXPECT_EQ(port.writes.size(), c.writes) << c.delay;
        EXPECT_TRUE(end.messages.empty());
    }
}

// A reply that begins as a frame (F0 5B) and ends otherwise was damaged on
// the line: it is not a reply, not even by the unframed rule when the time
// is up. The link resends by the rules and takes the next good frame.
TEST(DeviceLinkFraming, AFramedReplyWithAWrongEndIsNotAReply) {
    const Bytes good{0xF0, 0x5B, 0x07, 0x5B, 1, 2, 3, 4, 5, 0xF7};
    const Bytes damaged{0xF0, 0x5B, 0x07, 0x5B, 9, 9, 9, 9, 9, 0x00};
    auto cat = [](const Bytes& a, const Bytes& b) {
        Bytes all = a;
        all.insert(all.end(), b.begin(), b.end());
        return all;
    };
    struct Case {
        const char* what;
        std::vector<Bytes> answers;  // to each write in turn; silence after the last
        std::size_t writes;
        bool taken;  // the good frame completes the exchange; else "Time out"
    };
    const Case cases[] = {
        {"the resend answered well", {damaged, good}, 2, true},
        {"a good frame right behind it", {cat(damaged, good)}, 1, true},
        {"a noise byte ahead of it", {cat({0x13}, damaged), good}, 2, true},
        {"damaged every time", std::vector<Bytes>(6, damaged), 6, false},
    };
    for (const bool paced : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (paced ? ", at line pace" : ", unpaced"));
            FakeClock clock;
            FakePort port(clock);
            testing_support::RecordingLinkEnd end;
            DeviceLink link(port, clock, end, PortTable::fromList("/dev/a", ':'));
            std::size_t asked = 0;
            port.peer = [&](const Bytes&) { return asked < c.answers.size() ? c.answers[asked++] : Bytes{}; };
            port.linePace = paced;
            ASSERT_TRUE(link.openPort(1));
            const auto reply = RunToEnd(link.request(kSetNotch));
            EXPECT_EQ(port.writes, std::vector<Bytes>(c.writes, FrameBytes(kSetNotch)));
            EXPECT_EQ(reply.has_value(), c.taken);
            if (c.taken) {
                EXPECT_TRUE(end.messages.empty());
                EXPECT_EQ(Bytes(reply->begin(), reply->end()), good);
            } else {
                EXPECT_EQ(end.messages, std::vector<std::string>{"Time out"});
            }
        }
    }
}

TEST_F(DeviceLinkTest, ProbeValidatesOnlyTheFourthByteAndNeverResends) {
    struct Case {
        Bytes reply;
        bool found;
    };
    Bytes noise(10, 0x13);
    noise[3] = kFrameTag;
    const Case cases[] = {
        {Reply(kFrameTag), true}, {Reply(0x5A), false}, {noise, true}, {Reply(kFrameTag, 9), false}, {{}, false}};
    for (const auto& c : cases) {
        openAnswering([&](const Bytes&) { return c.reply; });
        port.writes.clear();
        EXPECT_EQ(RunToEnd(link.probeDevice({})), c.found);
        EXPECT_EQ(port.writes.size(), 1u);
        EXPECT_TRUE(end.messages.empty());
    }
}

TEST_F(DeviceLinkTest, ReadBlockWaitsForAllOneHundredSixtyBytes) {
    openAnswering({});
    link.setReceiveSize(160);
    EXPECT_EQ(port.readSize(), 160);
    Bytes block(160);
    for (int i = 0; i < 160; ++i) block[i] = static_cast<std::uint8_t>(i);
    bool first = true;
    port.peer = [&](const Bytes&) {
        if (first) {
            port.deliverAt(clock.now + 100, Bytes(block.begin(), block.begin() + 159));
            port.deliverAt(clock.now + 5000, Bytes(block.begin() + 159, block.end()));
        }
        first = false;
        return Bytes{};
    };
    const auto start = clock.now;
    const std::optional<Block> read = RunToEnd(link.readBlock({0x0B, 0xFF}));
    ASSERT_TRUE(read.has_value());
    EXPECT_GE(clock.now - start, 5000) << "159 bytes must not complete the read";
    EXPECT_EQ(port.writes.size(), 1u);
    for (int i = 0; i < 160; ++i) EXPECT_EQ((*read)[i], i);
    link.setReceiveSize(10);
    EXPECT_EQ(port.readSize(), 10);
}

TEST_F(DeviceLinkTest, ReadBlockTimesOutAfterEighteenSecondsPerWrite) {
    // What arrived before a resend stays waiting: 159 bytes never complete.
    openAnswering([&](const Bytes&) { return port.writes.size() == 1 ? Bytes(159, 1) : Bytes{}; });
    link.setReceiveSize(160);
    const auto start = clock.now;
    EXPECT_FALSE(RunToEnd(link.readBlock({0x0B, 0xFF})));
    EXPECT_EQ(port.writes.size(), 6u);
    EXPECT_EQ(clock.now - start, 6 * (kBlockTimeoutMs + 1));
    EXPECT_EQ(end.messages, std::vector<std::string>{"Time out"});
}

TEST_F(DeviceLinkTest, DemoModeAndSuppressSendTouchNothing) {
    for (int mode = 0; mode < 2; ++mode) {
        openAnswering([&](const Bytes&) { return Reply(); });
        port.writes.clear();
        link.flags().demoMode = mode == 0;
        link.flags().suppressSend = mode == 1;
        port.deliver(Bytes(10, 0xFE));
        link.sendCommand(kSetNotch);
        link.sendNoReply(kSetNotch);
        EXPECT_FALSE(RunToEnd(link.probeDevice({})));
        EXPECT_FALSE(RunToEnd(link.readBlock({0x0B})));
        EXPECT_TRUE(port.writes.empty()) << mode;
        link.flags().suppressSend = false;
        link.flags().demoMode = mode == 0;
        if (mode == 0) {
            EXPECT_FALSE(link.pollSearchReports([](auto) { ADD_FAILURE(); }));
            EXPECT_EQ(port.input().size(), 10u) << "demo mode reads nothing";
        }
        link.flags().demoMode = false;
        port.discardInput();
    }
}

TEST_F(DeviceLinkTest, PortNotReadyFailsProbeAndBlockWithoutWriting) {
    port.refused["/dev/a"] = PortFault::Permission;
    EXPECT_FALSE(link.openPort(1));
    EXPECT_EQ(link.lastOpenFault(), PortFault::Permission);
    EXPECT_FALSE(RunToEnd(link.probeDevice({})));
    EXPECT_FALSE(RunToEnd(link.readBlock({0x0B})));
    EXPECT_TRUE(port.writes.empty());
    EXPECT_FALSE(link.openPort(3)) << "a number the table leaves empty";
    EXPECT_EQ(link.lastOpenFault(), PortFault::NotFound);
    EXPECT_FALSE(link.openPort(0));
}

TEST_F(DeviceLinkTest, BytesLeftOnTheLineFromAnEarlierSessionDoNotAnswerTheProbe) {
    port.deliver(Bytes{0xFE, 0, 3, 1, 0x2C, 2, 0x20, 0, 0, 0xF7});  // a report nobody took
    port.peer = [](const Bytes&) { return Reply(); };
    ASSERT_TRUE(link.openPort(1));
    EXPECT_TRUE(RunToEnd(link.probeDevice({}))) << "the device's own answer is read, not the old report";
}

TEST_F(DeviceLinkTest, OpenPortClosesThePortOpenBefore) {
    openAnswering({});
    EXPECT_TRUE(link.openPort(2));
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(port.opens, (std::vector<std::string>{"/dev/a", "/dev/b"}));
}

TEST_F(DeviceLinkTest, PollTakesOneReportAndAcknowledgesIt) {
    openAnswering({});
    std::vector<Bytes> reports;
    const auto handle = [&](std::span<const std::uint8_t, kReportSize> r) { reports.emplace_back(r.begin(), r.end()); };

    port.deliver(Bytes(9, 0xFE));
    EXPECT_FALSE(link.pollSearchReports(handle)) << "nine bytes are no report yet";
    EXPECT_TRUE(port.writes.empty());
    port.deliver(Bytes{0x31});
    EXPECT_TRUE(link.pollSearchReports(handle)) << "a report with fields out of range is still the device's";
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0], (Bytes{0xF0, 0x5B, 0x30, 0, 0, 0, 0, 0, 0, 0xF7}));
}

struct DroppedBytes final : LinkTrace {
    void record(std::int64_t, TraceEvent event, std::span<const std::uint8_t> bytes, std::string_view) override {
        if (event == TraceEvent::Dropped) all.insert(all.end(), bytes.begin(), bytes.end());
    }
    Bytes all;
};

// Every report the device sends is acknowledged once, whatever its first
// byte: noise ahead of a well-formed report that starts within ten bytes is
// dropped, and ten bytes with no report start are one report of an unknown
// kind. At line pace the take runs at every byte, as the report watcher does.
TEST_F(DeviceLinkTest, EveryReportIsAcknowledgedOnceAndNoiseAheadOfOneIsDropped) {
    const Bytes notch{0xFE, 1, 3, 1, 0x2C, 2, 0x20, 9, 9, 9};
    const Bytes gain{0xFD, 0, 11, 0, 0, 0, 7, 0, 0, 0xF7};
    const Bytes unknown{0xAA, 0, 1, 1, 0, 1, 0x10, 0, 0, 0};
    const Bytes outOfRange{0xFE, 0, 12, 1, 0x2C, 2, 0x20, 0, 0, 0};  // notch 12 does not exist
    const Bytes reply{0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7};
    const Bytes lateFe{0xAA, 0, 0, 0, 0, 0, 0, 0, 0xFE, 1};  // its FE cannot start a report: nothing follows
    // An FE and fields in range inside it, and nothing after: one report.
    const Bytes innerFe{0xAA, 0xFE, 1, 3, 1, 0x2C, 2, 0x20, 0, 0};
    struct Case {
        const char* what;
        Bytes input;
        std::vector<Bytes> taken;
        Bytes dropped;
        // Bytes that come before a pause; the rest comes after polls found
        // nothing to take.
        std::size_t split = 0;
    };
    auto cat = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const Case cases[] = {
        {"one stray byte", cat({{0x13}, notch}), {notch}, {0x13}},
        {"three stray bytes between two", cat({notch, {0, 0xF7, 0x5B}, gain}), {notch, gain}, {0, 0xF7, 0x5B}},
        {"nine stray bytes", cat({Bytes(9, 0), gain}), {gain}, Bytes(9, 0)},
        {"an FE that starts nothing",
         cat({{0x00}, Bytes(outOfRange.begin(), outOfRange.begin() + 7), gain}),
         {gain},
         cat({{0x00}, Bytes(outOfRange.begin(), outOfRange.begin() + 7)})},
        {"a report of an unknown kind", unknown, {unknown}, {}},
        {"ten bytes with no start are a report", cat({Bytes(10, 0), notch}), {Bytes(10, 0), notch}, {}},
        {"a reply frame is a report of an unknown kind", cat({reply, notch}), {reply, notch}, {}},
        {"an unknown report ending in FE", lateFe, {lateFe}, {}},
        {"an unknown report with a report's start inside", innerFe, {innerFe}, {}},
        {"fields out of range", cat({outOfRange, gain}), {outOfRange, gain}, {}},
        {"nine bytes are nothing yet", Bytes(9, 0), {}, {}},
        {"a report split 3 + 7 after two noise bytes", cat({{0x13, 0xF0}, notch}), {notch}, {0x13, 0xF0}, 5},
        {"a report split 3 + 7 after seven noise bytes", cat({Bytes(7, 0x5B), gain}), {gain}, Bytes(7, 0x5B), 10},
        {"a report split 1 + 9 after nine noise bytes", cat({Bytes(9, 0x5B), gain}), {gain}, Bytes(9, 0x5B), 10},
    };
    // Within a frame time: a report's bytes come back to back.
    constexpr std::int64_t kSplitPauseMs = 15;
    for (const bool paced : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (paced ? ", at line pace" : ", unpaced"));
            openAnswering({});
            DroppedBytes dropped;
            link.setTrace(&dropped);
            port.writes.clear();
            std::vector<Bytes> reports;
            const std::int64_t start = clock.now;
            for (std::size_t i = 0; i < c.input.size(); ++i) {
                const std::int64_t paceMs = paced ? static_cast<std::int64_t>((i + 1) * 2083 / 1000) : 0;
                port.deliverAt(start + paceMs + (c.split > 0 && i >= c.split ? kSplitPauseMs : 0), {c.input[i]});
            }
            while (clock.now < start + 100) {
                while (link.pollSearchReports([&](auto r) { reports.emplace_back(r.begin(), r.end()); })) {}
                port.waitForBytes(1);
            }
            ASSERT_EQ(reports.size(), c.taken.size());
            for (std::size_t i = 0; i < reports.size(); ++i)
                EXPECT_EQ(reports[i], Bytes(c.taken[i].begin(), c.taken[i].begin() + 7));
            EXPECT_EQ(port.writes, std::vector<Bytes>(c.taken.size(), FrameBytes(ReportAckPayload())));
            EXPECT_EQ(dropped.all, c.dropped);
            link.setTrace(nullptr);
            port.discardInput();
        }
    }
}

TEST_F(DeviceLinkTest, UnpluggedAdapterEndsWithAMessageNamingThePort) {
    openAnswering({});
    port.breakAtNextWait = true;
    link.sendCommand(kSetNotch);
    ASSERT_EQ(end.messages.size(), 1u);
    EXPECT_NE(end.messages[0].find("port 1 (/dev/a)"), std::string::npos) << end.messages[0];
    EXPECT_NE(end.messages[0].find("device removed"), std::string::npos);
    EXPECT_EQ(port.writes.size(), 1u);
    link.sendCommand(kSetNotch);
    EXPECT_EQ(end.messages.size(), 1u) << "one message, never a loop";
}

TEST(DeviceLinkUnplug, AnAdapterUnpluggedOutsideAnExchangeIsReportedWhenThePortSaysSo) {
    struct Case {
        const char* what;
        std::function<void(DeviceLink&)> portSpoke;  // what the report watcher calls
    };
    const Case cases[] = {
        {"during a search: the next poll",
         [](DeviceLink& link) { link.pollSearchReports([](auto) { ADD_FAILURE(); }); }},
        {"while idle: at once", [](DeviceLink& link) { link.dropIdleInput(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClock clock;
        FakePort port(clock);
        testing_support::RecordingLinkEnd end;
        DeviceLink link(port, clock, end, PortTable::fromList("/dev/a", ':'));
        ASSERT_TRUE(link.openPort(1));
        port.breakAtNextWait = true;
        port.waitForBytes(1);  // the port notices and closes itself
        c.portSpoke(link);
        ASSERT_EQ(end.messages.size(), 1u);
        EXPECT_NE(end.messages[0].find("port 1 (/dev/a)"), std::string::npos);
        EXPECT_TRUE(port.writes.empty());
        c.portSpoke(link);
        EXPECT_EQ(end.messages.size(), 1u) << "one message, never a loop";
    }
}

TEST(DeviceLinkReadSize, OnlyALocalPortIsReopenedForANewReadSize) {
    struct Case {
        std::string name;
        std::size_t opens;  // after the first
    };
    for (const Case& c : {Case{"/dev/ttyUSB0", 2}, Case{"tcp://192.0.2.7:4001", 1}}) {
        FakeClock clock;
        FakePort port(clock);
        testing_support::RecordingLinkEnd end;
        DeviceLink link(port, clock, end, PortTable::fromList(c.name, ';'));
        ASSERT_TRUE(link.openPort(1));
        link.setReceiveSize(kBlockReplySize);
        EXPECT_EQ(port.opens.size(), c.opens) << c.name;
        EXPECT_EQ(port.readSize(), kBlockReplySize) << c.name;
        EXPECT_TRUE(link.flags().portReady) << c.name;
    }
}

TEST_F(DeviceLinkTest, WaitsGiveThePortTheRemainingTimeInsteadOfSpinning) {
    openAnswering({});
    link.sendCommand(kSetNotch);
    EXPECT_EQ(port.waits, 6) << "one blocking wait per write";
}

// Controls that move while the edit's job waits for its reply (the window's
// loop running meanwhile) queue their frames: the latest value of each
// parameter wins, in the order first changed, and a parameter moved back to
// the value on the line is not sent again.
TEST(DeviceLinkEdits, CommandsAskedForDuringAnExchangeAreCoalesced) {
    testing_support::SteppingLink rig;
    rig.line.peer = [](const Bytes&) { return Bytes{0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7}; };
    rig.line.linePace = true;
    const Payload notch3a{0x07, 0, 3, 0, 10, 1, 10}, notch5{0x07, 0, 5, 0, 20, 1, 20},
        notch3b{0x07, 0, 3, 0, 30, 1, 30}, search1{0x0A, 1, 3, 1, 0, 5, 0}, notch3Right{0x07, 1, 3, 0, 40, 1, 40},
        movedAway{0x07, 1, 0, 0x02, 0xD9, 3, 30};
    bool moved = false;
    rig.line.duringWait = [&] {
        if (moved) return;
        moved = true;
        for (const Payload& p : {notch3a, movedAway, notch5, search1, notch3b, kSetNotch, notch3Right})
            rig.link.sendCommand(p);
    };
    rig.link.sendCommand(kSetNotch);
    rig.stepAll();
    const std::vector<Bytes> expected = {FrameBytes(kSetNotch), FrameBytes(notch3b), FrameBytes(notch5),
                                         FrameBytes(search1), FrameBytes(notch3Right)};
    EXPECT_EQ(rig.line.writes, expected);
    EXPECT_TRUE(rig.end.messages.empty());
}

// A lost link leaves the program running; the device answering the probe
// again brings it back.
TEST_F(DeviceLinkTest, ALostLinkReconnectsWhenTheDeviceAnswersAgain) {
    bool answering = false;
    openAnswering([&](const Bytes&) { return answering ? Bytes{0xF0, 0x5B, 0, 0x5B, 0, 0, 0, 0, 0, 0xF7} : Bytes{}; });
    link.sendCommand(kSetNotch);
    ASSERT_TRUE(link.ended());
    port.writes.clear();
    EXPECT_TRUE(link.beginReconnect());
    EXPECT_FALSE(link.finishReconnect()) << "no answer yet";
    answering = true;
    EXPECT_TRUE(link.beginReconnect());
    EXPECT_TRUE(link.finishReconnect());
    EXPECT_FALSE(link.ended());
    EXPECT_EQ(port.writes, (std::vector<Bytes>{FrameBytes({0, 0, 0, 0, 0, 0, 0}), FrameBytes({0, 0, 0, 0, 0, 0, 0})}));
    link.sendCommand(kSetNotch);
    EXPECT_EQ(port.writes.size(), 3u) << "frames go out again";
}

}  // namespace
