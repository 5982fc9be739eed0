#include <gtest/gtest.h>

#include <map>
#include <set>

#include "connection/port_search.h"
#include "devlink/commands.h"
#include "support/fake_port_factory.h"

using namespace devlink;
using testing_support::Bytes;
using testing_support::FakeClock;
using testing_support::FakePort;
using testing_support::FakePortFactory;

namespace {

class NoEnd final : public LinkEnd {
public:
    void linkLost(const std::string& message) override { ADD_FAILURE() << message; }
};

std::string PortName(int n) { return "/dev/p" + std::to_string(n); }

PortTable ThirtyFivePorts() {
    PortTable table;
    for (int n = 1; n <= 35; ++n) table.set(n, PortName(n));
    return table;
}

struct SearchRig {
    explicit SearchRig(std::set<int> answering) : port(clock), link(port, clock, end, ThirtyFivePorts()) {
        port.peer = [this, answering](const Bytes&) {
            for (int n : answering)
                if (port.name() == PortName(n)) return Bytes{0xF0, 0x5B, 0, 0x5B, 0, 0, 0, 0, 0, 0xF7};
            return Bytes{};
        };
    }
    std::vector<std::string> opened() const {
        // SetReceiveSize reopens the port it has; count each port once per try.
        std::vector<std::string> tries;
        for (const auto& name : port.opens)
            if (tries.empty() || tries.back() != name) tries.push_back(name);
        return tries;
    }
    FakeClock clock;
    FakePort port;
    NoEnd end;
    DeviceLink link;
};

TEST(PortSearch, StoredPortThatAnswersIsTheOnlyOneOpened) {
    SearchRig rig({7, 1});
    const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, 7));
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.portNumber, 7);
    EXPECT_EQ(rig.opened(), std::vector<std::string>{PortName(7)});
    EXPECT_TRUE(rig.port.isOpen());
    ASSERT_EQ(rig.port.writes.size(), 1u);
    EXPECT_EQ(rig.port.writes[0], (Bytes{0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
}

TEST(PortSearch, FailedStoredPortIsSkippedAndTheLowestAnsweringPortWins) {
    SearchRig rig({1, 5});
    const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, 3));
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.portNumber, 1);
    EXPECT_EQ(rig.opened(), (std::vector<std::string>{PortName(3), PortName(1)}));
    EXPECT_EQ(rig.port.name(), PortName(1));
}

TEST(PortSearch, NoAnswerTriesEveryPortOnceAndEndsOnTheLastTried) {
    // The stored port first when it is one of 1..35, then the others upwards.
    struct Case {
        int stored;
        int first;
        int last;
    };
    for (const Case c :
         {Case{3, 3, 35}, Case{35, 35, 34}, Case{1, 1, 35}, Case{0, 1, 35}, Case{-7, 1, 35}, Case{99, 1, 35}}) {
        SearchRig rig({});
        const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, c.stored));
        EXPECT_FALSE(result.found);
        EXPECT_EQ(result.portNumber, c.last) << c.stored;
        std::vector<std::string> expected{PortName(c.first)};
        for (int n = 1; n <= 35; ++n)
            if (n != c.first) expected.push_back(PortName(n));
        EXPECT_EQ(rig.opened(), expected) << c.stored;
        // A port that opened but stayed silent is not kept open.
        EXPECT_FALSE(rig.port.isOpen()) << c.stored;
        EXPECT_FALSE(rig.link.flags().portReady);
    }
}

TEST(PortSearch, PortsRefusedForLackOfPermissionOrHeldElsewhereAreNamed) {
    SearchRig rig({});
    rig.port.refused[PortName(5)] = PortFault::Permission;
    rig.port.refused[PortName(6)] = PortFault::NotFound;
    rig.port.refused[PortName(9)] = PortFault::InUse;
    rig.port.refused[PortName(21)] = PortFault::Permission;
    const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, 5));
    EXPECT_EQ(result.permissionDenied, (std::vector<int>{5, 21}));
    EXPECT_EQ(result.inUse, std::vector<int>{9});
}

TEST(PortSearch, AProbeReplyWithoutTheTagDoesNotCount) {
    SearchRig rig({});
    rig.port.peer = [](const Bytes&) { return Bytes(10, 0x00); };
    EXPECT_FALSE(devlink::RunToEnd(connection::SearchDevicePorts(rig.link, 1)).found);
}

// With a port factory the remembered port is probed alone; when it stays
// silent (or none is remembered) every other port is probed at once: one
// probe time however many silent ports come first, the winner the one the
// search above would have stopped at.
struct ParallelSearchRig {
    ParallelSearchRig(std::set<int> answering, bool linePace) : factory(port, clock) {
        factory.linePace = linePace;
        factory.answer = [answering](FakePort& line, const Bytes&) {
            for (int n : answering)
                if (line.name() == PortName(n)) return Bytes{0xF0, 0x5B, 0, 0x5B, 0, 0, 0, 0, 0, 0xF7};
            return Bytes{};
        };
        // The line the link adopts answers as it did to the probe.
        port.peer = [this](const Bytes& written) { return factory.answer(port, written); };
        link.setPortFactory(&factory);
    }
    FakeClock clock;
    FakePort port{clock};
    FakePortFactory factory;
    NoEnd end;
    DeviceLink link{port, clock, end, ThirtyFivePorts()};
};

TEST(ParallelPortSearch, TheRememberedPortAloneFirstThenEveryOtherPortOnce) {
    const Bytes probe{0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7};
    const std::int64_t probeTime = kReplyTimeoutMs + 1;
    struct Case {
        const char* what;
        int stored;
        std::set<int> answering;
        bool linePace;
        int winner;  // 0: none
        std::size_t probed;
        std::int64_t maxWaitMs;
    };
    const Case cases[] = {
        {"the remembered port before a lower one", 7, {1, 7}, false, 7, 1, 0},
        {"a silent remembered port, then the lowest", 3, {5, 1}, false, 1, 35, 2 * probeTime},
        {"four silent ports before the device, first start", 0, {5, 30}, false, 5, 35, probeTime},
        {"the same at line pace", 0, {5, 30}, true, 5, 35, probeTime},
        {"the remembered port at line pace", 35, {35}, true, 35, 1, 2 * kFrameLineMs},
        {"a remembered number beyond the ports", 99, {2}, false, 2, 35, probeTime},
        {"nobody answers: the last port tried", 35, {}, false, 0, 35, 2 * probeTime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParallelSearchRig rig(c.answering, c.linePace);
        const std::int64_t start = rig.clock.now;
        const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, c.stored));
        EXPECT_LE(rig.clock.now - start, c.maxWaitMs);
        EXPECT_EQ(result.found, c.winner != 0);
        EXPECT_EQ(result.portNumber, c.winner != 0 ? c.winner : 34);

        std::map<std::string, int> probes;
        for (const auto& [name, frame] : rig.factory.writes) {
            EXPECT_EQ(frame, probe) << name;
            ++probes[name];
        }
        ASSERT_EQ(probes.size(), c.probed);
        for (const auto& [name, count] : probes) EXPECT_EQ(count, 1) << name;
        const std::string first = c.stored >= 1 && c.stored <= 35 ? PortName(c.stored) : PortName(1);
        EXPECT_EQ(rig.factory.writes.front().first, first) << "the remembered port is probed first";

        EXPECT_EQ(rig.link.flags().portReady, c.winner != 0);
        if (c.winner == 0) {
            EXPECT_FALSE(rig.port.isOpen());
            continue;
        }
        // The link holds the winner's line: its probe was the first and only
        // one, and the next frame goes out on it.
        EXPECT_EQ(rig.port.name(), PortName(c.winner));
        EXPECT_EQ(rig.link.portNumber(), c.winner);
        EXPECT_EQ(rig.port.writes, std::vector<Bytes>{probe});
        rig.link.sendCommand(ReadMemoryBytePayload(0x0070));
        ASSERT_EQ(rig.port.writes.size(), 2u);
        EXPECT_EQ(rig.port.writes[1][2], 0x10);
    }
}

TEST(ParallelPortSearch, RefusedPortsAreNamedAndTheRestStillProbed) {
    ParallelSearchRig rig({}, false);
    rig.factory.refused = {{PortName(5), PortFault::Permission},
                           {PortName(6), PortFault::NotFound},
                           {PortName(9), PortFault::InUse},
                           {PortName(21), PortFault::Permission}};
    const auto result = devlink::RunToEnd(connection::SearchDevicePorts(rig.link, 9));
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.permissionDenied, (std::vector<int>{5, 21}));
    EXPECT_EQ(result.inUse, std::vector<int>{9});
    EXPECT_EQ(rig.factory.writes.size(), 31u);
}

TEST(PortSearch, AHeldPortIsNamedWithItsPath) {
    struct Case {
        int port;
        std::string path;
        std::string text;
    };
    for (const Case& c : {Case{5, "/dev/ttyUSB0", "Port 5 (/dev/ttyUSB0) is in use by another program."},
                          Case{36, "", "Port 36 is in use by another program."}})
        EXPECT_EQ(connection::PortInUseMessage(c.port, c.path), c.text);
}

}  // namespace
