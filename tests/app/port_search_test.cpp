#include <gtest/gtest.h>

#include <set>

#include "app/port_search.h"
#include "support/fake_port.h"

using namespace devlink;
using testing_support::Bytes;
using testing_support::FakeClock;
using testing_support::FakePort;

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
    const auto result = app::SearchDevicePorts(rig.link, 7);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.portNumber, 7);
    EXPECT_EQ(rig.opened(), std::vector<std::string>{PortName(7)});
    EXPECT_TRUE(rig.port.isOpen());
    ASSERT_EQ(rig.port.writes.size(), 1u);
    EXPECT_EQ(rig.port.writes[0], (Bytes{0xF0, 0x5B, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
}

TEST(PortSearch, FailedStoredPortIsSkippedAndTheLowestAnsweringPortWins) {
    SearchRig rig({1, 5});
    const auto result = app::SearchDevicePorts(rig.link, 3);
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
        const auto result = app::SearchDevicePorts(rig.link, c.stored);
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

TEST(PortSearch, PortsRefusedForLackOfPermissionAreNamed) {
    SearchRig rig({});
    rig.port.refused[PortName(5)] = PortFault::Permission;
    rig.port.refused[PortName(6)] = PortFault::NotFound;
    rig.port.refused[PortName(21)] = PortFault::Permission;
    const auto result = app::SearchDevicePorts(rig.link, 5);
    EXPECT_EQ(result.permissionDenied, (std::vector<int>{5, 21}));
}

TEST(PortSearch, AProbeReplyWithoutTheTagDoesNotCount) {
    SearchRig rig({});
    rig.port.peer = [](const Bytes&) { return Bytes(10, 0x00); };
    EXPECT_FALSE(app::SearchDevicePorts(rig.link, 1).found);
}

}  // namespace
