// The link over a network port: the program's own port object (AnyPort, so
// TcpPort behind it) against the simulator serving TCP on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>

#include "devlink/any_port.h"
#include "devlink/commands.h"
#include "devlink/device_link.h"
#include "model/value_tables.h"
#include "sim/fault_options.h"
#include "sim/simulator_thread.h"
#include "support/recording_link_end.h"

using namespace devlink;

namespace {

struct NetworkLink {
    // Port 0: the simulator binds a free port itself and names it, so no
    // other program can take it between the choice and the listen.
    explicit NetworkLink(sim::PtyOptions options = {}) {
        options.tcpPort = 0;
        std::string error;
        started = simulator.start(options, &error);
        EXPECT_TRUE(started) << error;
        link.emplace(port, clock, end, PortTable::fromList(simulator.portPath(), ':'));
    }
    sim::SimulatorThread simulator;
    bool started = false;
    AnyPort port;
    SteadyClock clock;
    testing_support::RecordingLinkEnd end;
    std::optional<DeviceLink> link;
};

TEST(TcpLinkEndToEnd, ProbeCommandBlockReadAndReportsOverTcp) {
    sim::PtyOptions options;
    options.reportIntervalMs = 1;
    NetworkLink net(options);
    ASSERT_TRUE(net.started);
    DeviceLink& link = *net.link;
    ASSERT_EQ(link.ports().name(1), net.simulator.portPath());
    ASSERT_TRUE(link.openPort(1));
    EXPECT_TRUE(net.port.isNetworkPort());
    link.setReceiveSize(kReplySize);
    ASSERT_TRUE(devlink::RunToEnd(link.probeDevice(ProbePayload())));

    link.sendCommand({0x07, 1, 3, 0x02, 0xD9, 3, 7});
    const std::optional<Reply> letter = devlink::RunToEnd(link.request(ReadMemoryBytePayload(0x0070)));
    ASSERT_TRUE(letter.has_value());
    EXPECT_EQ((*letter)[6], 'S') << "first letter of the program name";

    // Changing the receive size keeps the connection.
    link.setReceiveSize(kBlockReplySize);
    const std::optional<Block> block = devlink::RunToEnd(link.readBlock(ReadPresetBlockPayload(kCurrentSettingsBlock)));
    ASSERT_TRUE(block.has_value());
    link.setReceiveSize(kReplySize);
    const int r = model::NotchRecordOffset[15];
    EXPECT_EQ(std::vector<int>(block->begin() + r, block->begin() + r + 4), (std::vector<int>{7, 0x02, 0xD9, 3}));

    link.sendCommand(SearchControlPayload(kSearchLeft, {4, 1, 0, 6}, true));
    // The device sends its next report only after the last one's
    // acknowledgement: two reports prove the first acknowledgement crossed.
    int reports = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (reports < 2) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "reports stopped coming";
        net.port.waitForBytes(2000);
        ASSERT_TRUE(net.port.isOpen());
        link.pollSearchReports([&](std::span<const std::uint8_t, kReportSize> report) {
            EXPECT_TRUE(report[0] == 0xFE || report[0] == 0xFD);
            EXPECT_EQ(report[1], 0) << "a Left search reports Left notches";
            ++reports;
        });
    }
    link.sendCommand(SearchControlPayload(kSearchBoth, {4, 1, 0, 6}, false));
    EXPECT_TRUE(net.end.messages.empty());
}

TEST(TcpLinkEndToEnd, ADroppedConnectionBreaksThePortAndEndsTheLink) {
    sim::PtyOptions options;
    std::string error;
    ASSERT_TRUE(sim::applyFaultOption("--fault", "frame=2:close", options.faults, &error)) << error;
    NetworkLink net(options);
    ASSERT_TRUE(net.started);
    const std::string name = net.simulator.portPath();  // gone with the unplugged line
    ASSERT_TRUE(net.link->openPort(1));
    ASSERT_TRUE(devlink::RunToEnd(net.link->probeDevice(ProbePayload())));
    int brokenSignals = 0;
    QObject::connect(&net.port, &AnyPort::broken, [&] { ++brokenSignals; });
    net.link->sendCommand(ReadMemoryBytePayload(0x0070));
    EXPECT_EQ(net.port.fault(), PortFault::Broken);
    EXPECT_EQ(brokenSignals, 1);
    ASSERT_EQ(net.end.messages.size(), 1u);
    EXPECT_NE(net.end.messages[0].find("port 1 (" + name + ")"), std::string::npos) << net.end.messages[0];
}

TEST(TcpLinkEndToEnd, AnAddressNobodyServesIsNotFound) {
    // Bound and closed again: nothing listens there now.
    std::string free;
    {
        NetworkLink net;
        free = net.simulator.portPath();
    }
    AnyPort port;
    struct Case {
        std::string name;
        PortFault fault;
        const char* says;
    };
    const char* const malformed = "not a network port of the form tcp://HOST:PORT";
    const Case cases[] = {{free, PortFault::NotFound, "connection refused"},
                          {"tcp://127.0.0.1", PortFault::NotFound, malformed},
                          {"tcp://127.0.0.1:70000", PortFault::NotFound, malformed},
                          {"tcp://:7000", PortFault::NotFound, malformed}};
    for (const Case& c : cases) {
        EXPECT_FALSE(port.open(c.name)) << c.name;
        EXPECT_EQ(port.fault(), c.fault) << c.name;
        EXPECT_EQ(port.faultText(), c.says) << c.name;
        EXPECT_FALSE(port.isOpen()) << c.name;
    }
}

}  // namespace
