// A feedback search left running against the simulated device at line pace
// with reports back to back: how many reports the device sent, how many the
// editor took and applied, and whether a healthy line was ever taken for a
// lost one. QRN_SOAK_SECONDS sets the length (default 600). The second run
// also stops the device's reader for a second every 30 s, as a loaded
// machine does, while the editor keeps acknowledging. "unaccounted" is what
// the device wrote before it took the stop and the editor never applied.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <fstream>

#include "bench/support/program_rig.h"
#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "sim/fault_options.h"

namespace {

constexpr long kBurst = 256;  // the most one burst fault takes

class ReportCounter final : public devlink::LinkTrace {
public:
    void record(std::int64_t, devlink::TraceEvent event, std::span<const std::uint8_t>, std::string_view) override {
        if (event == devlink::TraceEvent::Report) ++reports;
        if (event == devlink::TraceEvent::Dropped) ++drops;
    }
    long reports = 0;
    long drops = 0;
};

// What the device's log says of the line from one line of it on. Reports
// written once the device had taken the search's stop were sent to an
// editor that had stopped listening: the burst fault queues hundreds at
// once, which a device that waits for each acknowledgement never does.
struct LineCounts {
    long lines = 0;
    long reportsSent = 0;
    long reportsAfterStop = 0;
    long acksReceived = 0;
};

LineCounts CountLine(const std::string& logPath, long fromLine = 0) {
    std::ifstream log(logPath);
    LineCounts counts;
    bool started = false;
    bool stopped = false;
    for (std::string line; std::getline(log, line); ++counts.lines) {
        if (counts.lines < fromLine) continue;
        if (line.find("out  FE") != std::string::npos || line.find("out  FD") != std::string::npos) {
            ++counts.reportsSent;
            if (stopped) ++counts.reportsAfterStop;
        }
        if (line.find("in   F0 5B 30") != std::string::npos) ++counts.acksReceived;
        // SearchControl, its run flag last: "in   F0 5B 0A .. .. .. .. .. 01 F7".
        if (line.find("in   F0 5B 0A") == std::string::npos || line.size() < 5) continue;
        const bool run = line.compare(line.size() - 5, 5, "01 F7") == 0;
        stopped = stopped || (started && !run);
        started = started || run;
    }
    return counts;
}

void BM_SearchAtLinePace(benchmark::State& state) {
    const char* env = std::getenv("QRN_SOAK_SECONDS");
    const int seconds = env ? std::atoi(env) : 600;
    const std::string logPath = "/tmp/qrn-soak-sim.log";
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.reportIntervalMs = 1;
    options.logFile = logPath;
    // The device waits for each acknowledgement; bursts that do not keep the
    // line full, about 48 reports a second.
    for (long first = 1; first <= 48L * seconds; first += kBurst)
        sim::applyFaultOption("--fault", "report=" + std::to_string(first) + ":burst=" + std::to_string(kBurst),
                              options.faults, nullptr);
    const long stallEverySeconds = state.range(0);
    for (long at = stallEverySeconds; stallEverySeconds > 0 && at < seconds; at += stallEverySeconds)
        sim::applyFaultOption("--fault", "time=" + std::to_string(at * 1000) + ":stall=1000", options.faults, nullptr);
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, options, state)) return;
    bench_support::ProgramRig rig(simulator.portPath());
    ReportCounter counter;
    rig.link->setTrace(&counter);
    bool loaded = false;
    rig.runJob([&]() -> devlink::Task<void> { loaded = co_await rig.window->load(rig.splash); });
    if (!loaded) {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state) {
        const LineCounts before = CountLine(logPath);
        rig.window->editor().controls().searchButtons[0]->click();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const bool stillRunning = rig.window->editor().flags().searchRunning;
        rig.window->editor().controls().searchButtons[0]->click();
        rig.waitUntilIdle();
        // The burst the stop cut into goes on leaving the device's side for
        // up to a burst's line time: counted once it has.
        QTimer::singleShot(static_cast<int>(kBurst * devlink::kFrameLineMs) + 1000, &loop, &QEventLoop::quit);
        loop.exec();
        state.counters["seconds"] = seconds;
        const LineCounts after = CountLine(logPath, before.lines);
        state.counters["reports_sent"] = static_cast<double>(after.reportsSent);
        state.counters["reports_sent_after_stop"] = static_cast<double>(after.reportsAfterStop);
        state.counters["acks_received"] = static_cast<double>(after.acksReceived);
        state.counters["reports_applied"] = static_cast<double>(counter.reports);
        state.counters["unaccounted"] =
            static_cast<double>(after.reportsSent - after.reportsAfterStop - counter.reports);
        state.counters["per_second"] = static_cast<double>(counter.reports) / seconds;
        state.counters["bytes_dropped_events"] = static_cast<double>(counter.drops);
        state.counters["connection_lost"] = rig.end.losses;
        state.counters["search_still_running"] = stillRunning;
    }
    if (rig.end.losses > 0) state.SetLabel(rig.end.lastMessage);
}
BENCHMARK(BM_SearchAtLinePace)
    ->Arg(0)
    ->Arg(30)
    ->ArgName("stall_every_s")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
