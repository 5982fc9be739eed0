// A search at line pace, reports back to back, while the device stops
// reading the line for a second: the editor's acknowledgements pile up in
// the terminal, and the link must wait that out, not call the device lost.
// The port and the report watcher are arranged as main() arranges them.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "app/report_watcher.h"
#include "devlink/any_port.h"
#include "devlink/commands.h"
#include "devlink/device_link.h"
#include "sim/fault_script.h"
#include "sim/simulator_thread.h"
#include "support/recording_link_end.h"

using namespace devlink;

namespace {

TEST(StalledReaderEndToEnd, ASearchGoesOnThroughAStalledReaderWithoutALoss) {
    constexpr int kStallAfterReport = 5;
    constexpr int kReportsWanted = 80;  // about a second and a half of reports after the stall
    sim::PtyOptions options;
    options.lineRate = true;
    options.reportIntervalMs = 1;
    sim::Fault stall;
    ASSERT_TRUE(sim::parseFault("report=" + std::to_string(kStallAfterReport) + ":stall=1000", stall, nullptr));
    options.faults.faults.push_back(stall);
    sim::SimulatorThread simulator;
    std::string error;
    ASSERT_TRUE(simulator.start(options, &error)) << error;

    AnyPort line;
    AnyPort& port = line;
    SteadyClock clock;
    testing_support::RecordingLinkEnd end;
    DeviceLink link(port, clock, end, PortTable::fromList(simulator.portPath(), ':'));
    ASSERT_TRUE(link.openPort(1));
    link.setReceiveSize(kReplySize);
    link.sendCommand(SearchControlPayload(kSearchLeft, {4, 1, 0, 6}, true));

    QEventLoop loop;
    int reports = 0;
    app::ReportWatcher watcher(line, link, [&] {
        while (link.pollSearchReports([&](auto) { ++reports; })) {}
        if (reports >= kReportsWanted || link.ended()) loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(30'000);
    loop.exec();

    EXPECT_TRUE(end.messages.empty()) << end.messages.front();
    EXPECT_GE(reports, kReportsWanted) << "reports stopped coming";
    link.sendCommand(SearchControlPayload(kSearchBoth, {4, 1, 0, 6}, false));
    EXPECT_TRUE(end.messages.empty());
    EXPECT_TRUE(line.isOpen());
}

}  // namespace
