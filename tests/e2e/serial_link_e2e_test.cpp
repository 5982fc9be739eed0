#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "devlink/commands.h"
#include "devlink/device_link.h"
#include "devlink/forwarding_port.h"
#include "devlink/qt_serial_port.h"
#include "model/value_tables.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulator_thread.h"
#include "support/recording_link_end.h"

using namespace devlink;

namespace {

// Time runs a hundred times faster for the link, and the port's waits are
// shortened to match, so a 19 s time-out takes a fifth of a second.
constexpr int kSpeedUp = 100;

class FastClock final : public MonotonicClock {
public:
    std::int64_t nowMs() override { return real_.nowMs() * kSpeedUp; }

private:
    SteadyClock real_;
};

class FastWaitPort final : public ForwardingPort {
public:
    using ForwardingPort::ForwardingPort;
    void waitForBytes(int timeoutMs) override { ForwardingPort::waitForBytes(timeoutMs / kSpeedUp + 1); }
};

struct RealLink {
    explicit RealLink(const std::string& path) : link(port, clock, end, PortTable::fromList(path, ':')) {}
    QtSerialPort port;
    SteadyClock clock;
    testing_support::RecordingLinkEnd end;
    DeviceLink link;
};

TEST(SerialLinkEndToEnd, ProbeCommandsAndBlockReadOverAPseudoTerminal) {
    sim::SimulatorThread simulator;
    std::string error;
    ASSERT_TRUE(simulator.start({}, &error)) << error;
    RealLink real(simulator.portPath());
    ASSERT_TRUE(real.link.openPort(1));
    real.link.setReceiveSize(kReplySize);
    ASSERT_TRUE(devlink::RunToEnd(real.link.probeDevice(ProbePayload())));

    std::string programName;
    for (int j = 0; j < 8; ++j) {
        const std::optional<Reply> reply = devlink::RunToEnd(real.link.request(ReadMemoryBytePayload(0x0070 + j)));
        ASSERT_TRUE(reply.has_value());
        programName.push_back(static_cast<char>((*reply)[6]));
    }
    EXPECT_EQ(programName, "SIM 4480");

    real.link.sendCommand({0x07, 1, 3, 0x02, 0xD9, 3, 7});
    real.link.setReceiveSize(kBlockReplySize);
    const std::optional<Block> read =
        devlink::RunToEnd(real.link.readBlock(ReadPresetBlockPayload(kCurrentSettingsBlock)));
    ASSERT_TRUE(read.has_value());
    real.link.setReceiveSize(kReplySize);
    const Block& block = *read;
    const int r = model::NotchRecordOffset[15];
    EXPECT_EQ(block[r], 7);
    EXPECT_EQ(block[r + 1], 0x02);
    EXPECT_EQ(block[r + 2], 0xD9);
    EXPECT_EQ(block[r + 3], 3);
    EXPECT_EQ(block[0], model::DefaultImage[0]);
    EXPECT_TRUE(real.end.messages.empty());
}

TEST(SerialLinkEndToEnd, ReportsArriveAndEachIsAcknowledged) {
    sim::PtyOptions options;
    options.reportIntervalMs = 1;
    sim::SimulatorThread simulator;
    std::string error;
    ASSERT_TRUE(simulator.start(options, &error)) << error;
    RealLink real(simulator.portPath());
    ASSERT_TRUE(real.link.openPort(1));
    real.link.setReceiveSize(kReplySize);
    real.link.sendCommand(SearchControlPayload(kSearchLeft, {4, 1, 0, 6}, true));

    std::vector<std::vector<std::uint8_t>> reports;
    // The device sends its next report only after the last one's
    // acknowledgement, so three reports prove three acknowledgements arrived.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (reports.size() < 3) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "reports stopped coming";
        real.port.waitForBytes(2000);
        ASSERT_TRUE(real.port.isOpen());
        real.link.pollSearchReports(
            [&](std::span<const std::uint8_t, kReportSize> r) { reports.emplace_back(r.begin(), r.end()); });
    }
    for (const auto& report : reports) {
        EXPECT_TRUE(report[0] == 0xFE || report[0] == 0xFD);
        EXPECT_EQ(report[1], 0) << "a Left search reports Left notches";
        EXPECT_LT(report[2], 4) << "only the automatic rows";
    }
    real.link.sendCommand(SearchControlPayload(kSearchBoth, {4, 1, 0, 6}, false));
    EXPECT_TRUE(real.end.messages.empty());
}

TEST(SerialLinkEndToEnd, AMutedDeviceEndsInTimeOutAfterSixWrites) {
    sim::PtyOptions options;
    options.mute = true;
    sim::SimulatorThread simulator;
    std::string error;
    ASSERT_TRUE(simulator.start(options, &error)) << error;
    QtSerialPort qport;
    FastWaitPort port(qport);
    FastClock clock;
    testing_support::RecordingLinkEnd end;
    DeviceLink link(port, clock, end, PortTable::fromList(simulator.portPath(), ':'));
    ASSERT_TRUE(link.openPort(1));
    EXPECT_FALSE(devlink::RunToEnd(link.probeDevice(ProbePayload())));
    link.sendCommand(CloseLinkPayload());
    EXPECT_EQ(end.messages, std::vector<std::string>{"Time out"});
}

TEST(SerialLinkEndToEnd, ATerminalClosedMidExchangeGivesThePortErrorMessage) {
    auto pty = std::make_unique<sim::PseudoTerminal>();
    std::string error;
    ASSERT_TRUE(pty->open(&error)) << error;
    const int master = pty->masterFd();
    const std::string path = pty->slavePath();
    // The far end hangs up as soon as the first frame reaches it.
    std::thread farEnd([&] {
        pollfd fd{master, POLLIN, 0};
        ::poll(&fd, 1, 10000);
        pty->close();
    });
    RealLink real(path);
    ASSERT_TRUE(real.link.openPort(1));
    real.link.sendCommand(ReadMemoryBytePayload(0x0070));
    farEnd.join();
    ASSERT_EQ(real.end.messages.size(), 1u);
    EXPECT_NE(real.end.messages[0].find("port 1 (" + path + ")"), std::string::npos) << real.end.messages[0];
    EXPECT_TRUE(real.link.ended());
}

}  // namespace
