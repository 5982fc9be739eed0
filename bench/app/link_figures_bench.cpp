// The editor as the program runs it, against the simulated device: how long
// the window goes unpainted while the link works, how fast a key reaches the
// line, how long the port search takes with silent ports first, the
// start-up read and a store against their line time, and the CPU an offline
// editor spends reconnecting.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <functional>
#include <optional>

#include "bench/support/cpu_time.h"
#include "bench/support/program_rig.h"
#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "connection/port_search.h"
#include "presets/store_preset_dialog.h"
#include "sim/fault_script.h"
#include "sim/memory_file.h"
#include "sim/pseudo_terminal.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kByteMs = 10.0 / 4.8;  // 2.083 ms a byte at 4800 baud
const std::string kLinkPath = "/tmp/qrn-figures-tty";

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// Bytes on the line, and when the last frame went out.
class LineCounter final : public devlink::LinkTrace {
public:
    void record(std::int64_t, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                std::string_view) override {
        if (event == devlink::TraceEvent::Out) lastOut = Clock::now();
        if (event == devlink::TraceEvent::In && bytes.size() == 10) {
            replyMs += MsSince(lastOut);
            ++replies;
        }
        if (event == devlink::TraceEvent::Out || event == devlink::TraceEvent::In) this->bytes += bytes.size();
    }
    double replyMs = 0;
    int replies = 0;
    std::size_t bytes = 0;
    Clock::time_point lastOut;
};

// Asks a widget to repaint every 10 ms and keeps the longest time between
// two paints it really got.
class PaintGapMeter final : public QObject {
public:
    explicit PaintGapMeter(QWidget& widget) : widget_(widget) {
        widget.installEventFilter(this);
        QObject::connect(&ticker_, &QTimer::timeout, &widget, [&widget] { widget.update(); });
        ticker_.start(10);
        last_ = Clock::now();
    }
    ~PaintGapMeter() override { widget_.removeEventFilter(this); }
    double longestMs() const { return longest_; }
    // Once the window has painted itself the first time (a new window's
    // first paint lays it out and loads its fonts, whatever the link does).
    double longestAfterFirstPaintMs() const { return longestAfterFirst_; }
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            longest_ = std::max(longest_, MsSince(last_));
            if (paints_ > 0) longestAfterFirst_ = std::max(longestAfterFirst_, MsSince(last_));
            last_ = Clock::now();
            ++paints_;
        }
        return false;
    }

private:
    QWidget& widget_;
    QTimer ticker_;
    Clock::time_point last_;
    double longest_ = 0;
    double longestAfterFirst_ = 0;
    int paints_ = 0;
};

// The program's CPU; `who` RUSAGE_THREAD: the window's thread alone, without
// the simulated device's thread that runs in this process too.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) QTest::qWait(10);
    return done();
}

// A device with all sixteen positions used: the longest start-up read.
sim::PtyOptions FullDeviceAtLineRate() {
    sim::DeviceMemory memory;
    for (int slot = 0; slot < sim::memory_map::kStoredPositions; ++slot) {
        memory.write(sim::memory_map::markerAddress(slot), sim::memory_map::kStoreMarker);
        for (int j = 0; j < sim::memory_map::kNameLength; ++j)
            memory.write(sim::memory_map::presetNameAddress(slot) + j, static_cast<std::uint8_t>("FULLDEV "[j]));
    }
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.memoryFile = "/tmp/qrn-figures-full.mem";
    sim::saveMemoryFile(options.memoryFile, memory, nullptr);
    options.linkPath = kLinkPath;
    return options;
}

void BM_StartUpReadAndStore(benchmark::State& state) {
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, FullDeviceAtLineRate(), state)) return;
    bench_support::ProgramRig rig(kLinkPath);
    LineCounter line;
    rig.link->setTrace(&line);
    // The meter repaints every 10 ms, which costs time of its own: the line
    // ratios without it are the fair ones.
    const bool measurePaints = state.range(0) == 1;
    for (auto _ : state) {
        rig.splash.show();
        double loadMs = 0;
        {
            std::optional<PaintGapMeter> meter;
            if (measurePaints) meter.emplace(rig.splash);
            const auto start = Clock::now();
            rig.runJob([&]() -> devlink::Task<void> { co_await rig.window->load(rig.splash); });
            loadMs = MsSince(start);
            if (meter) state.counters["startup_longest_paint_gap_ms"] = meter->longestMs();
            if (meter) state.counters["startup_gap_after_first_paint_ms"] = meter->longestAfterFirstPaintMs();
        }
        state.counters["startup_s"] = loadMs / 1000;
        state.counters["startup_line_ratio"] = loadMs / (static_cast<double>(line.bytes) * kByteMs);
        rig.splash.close();
        rig.window->show();

        presets::StorePresetDialog store(rig.session.library, rig.session.image, *rig.link, rig.window->editor(),
                                         rig.dialogs, &*rig.window);
        store.nameBox()->setText("FIGURES");
        store.positionBox()->setCurrentIndex(2);
        store.show();
        line.bytes = 0;
        std::optional<PaintGapMeter> meter;
        if (measurePaints) meter.emplace(store);
        const auto start = Clock::now();
        const double cpuBefore = CpuSeconds();
        store.storeToDevice();
        rig.waitUntilIdle();
        const double storeMs = MsSince(start);
        state.counters["store_cpu_percent_of_a_core"] = 100 * (CpuSeconds() - cpuBefore) / (storeMs / 1000);
        if (meter) state.counters["store_longest_paint_gap_ms"] = meter->longestMs();
        if (meter) state.counters["store_gap_after_first_paint_ms"] = meter->longestAfterFirstPaintMs();
        state.counters["store_s"] = storeMs / 1000;
        state.counters["store_reply_ms"] = line.replies ? line.replyMs / line.replies : 0;
        state.counters["store_line_ratio"] = storeMs / (static_cast<double>(line.bytes) * kByteMs);
    }
    if (rig.end.losses) state.SkipWithError(rig.end.lastMessage.c_str());
}
BENCHMARK(BM_StartUpReadAndStore)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_KeyPressToFrameOnTheLine(benchmark::State& state) {
    sim::PtyOptions options;
    options.linkPath = kLinkPath;
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, options, state)) return;
    bench_support::ProgramRig rig(kLinkPath);
    rig.runJob([&]() -> devlink::Task<void> { co_await rig.window->load(rig.splash); });
    rig.window->show();
    LineCounter line;
    rig.link->setTrace(&line);
    QScrollBar* gain = rig.window->editor().controls().rows[11].gainBar;
    gain->setFocus();
    gain->setValue(20);
    bool up = true;
    for (auto _ : state) {
        const auto pressed = Clock::now();
        QTest::keyClick(gain, up ? Qt::Key_Up : Qt::Key_Down);
        up = !up;
        state.SetIterationTime(std::chrono::duration<double>(line.lastOut - pressed).count());
        // The reply comes while the window runs; the next key starts anew.
        rig.waitUntilIdle();
    }
    if (rig.end.losses) state.SkipWithError(rig.end.lastMessage.c_str());
}
BENCHMARK(BM_KeyPressToFrameOnTheLine)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

// Four ports that exist and stay silent, the device on the fifth. First
// arg 1: every port probed at once (the program); 0: one after the other.
// Second arg: the port remembered from the last run (0: none; 2: the
// device has moved from silent port 2 to port 5).
void BM_FirstStartSearch(benchmark::State& state) {
    sim::PseudoTerminal silent[4];
    std::string list;
    std::string error;
    for (auto& pty : silent) {
        if (!pty.open(&error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        list += pty.slavePath() + ":";
    }
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.linkPath = kLinkPath;
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, options, state)) return;
    for (auto _ : state) {
        bench_support::ProgramRig rig(list + kLinkPath);
        if (state.range(0) == 0) rig.link->setPortFactory(nullptr);
        const auto start = Clock::now();
        connection::PortSearchResult result;
        rig.runJob([&]() -> devlink::Task<void> {
            result = co_await connection::SearchDevicePorts(*rig.link, static_cast<int>(state.range(1)));
        });
        state.SetIterationTime(MsSince(start) / 1000);
        state.counters["found_port"] = result.found ? result.portNumber : 0;
    }
}
BENCHMARK(BM_FirstStartSearch)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 2})
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// Offline for QRN_OFFLINE_SECONDS (default 20) after the device went away.
// Arg 0: its port is gone (each attempt fails to open); 1: the port is back
// but the device stays silent (each attempt writes a probe nobody answers).
void BM_OfflineReconnectingCpu(benchmark::State& state) {
    const char* env = std::getenv("QRN_OFFLINE_SECONDS");
    const int seconds = env ? std::atoi(env) : 20;
    sim::PtyOptions options;
    options.linkPath = kLinkPath;
    std::optional<sim::SimulatorThread> simulator(std::in_place);
    if (!bench_support::StartOrSkip(*simulator, options, state)) return;
    bench_support::ProgramRig rig(kLinkPath);
    rig.runJob([&]() -> devlink::Task<void> { co_await rig.window->load(rig.splash); });
    rig.window->show();
    simulator.reset();
    if (!WaitFor([&] { return rig.link->ended(); }, 5000)) {
        state.SkipWithError("the editor did not go offline");
        return;
    }
    if (state.range(0) == 1) {
        options.mute = true;
        simulator.emplace();
        std::string error;
        simulator->start(options, &error);
    }
    for (auto _ : state) {
        const double cpuBefore = CpuSeconds();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = CpuSeconds() - cpuBefore;
        state.counters["cpu_percent_of_a_core"] = 100 * cpu / seconds;
        state.counters["still_offline"] = rig.link->ended();
    }
}
BENCHMARK(BM_OfflineReconnectingCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// An edit to a device that has gone silent: the job waits (and resends)
// for QRN_OFFLINE_SECONDS (default 20, the wait lasts up to 19 s) while the
// window's loop runs; what that wait costs.
void BM_WaitingForASilentDeviceCpu(benchmark::State& state) {
    const char* env = std::getenv("QRN_OFFLINE_SECONDS");
    const int seconds = std::min(env ? std::atoi(env) : 15, 18);
    sim::PtyOptions options;
    options.linkPath = kLinkPath;
    sim::Fault mute;  // the first notch sent is never answered
    sim::parseFault("cmd=0x07#1:mute", mute, nullptr);
    options.faults.faults.push_back(mute);
    sim::SimulatorThread simulator;
    if (!bench_support::StartOrSkip(simulator, options, state)) return;
    bench_support::ProgramRig rig(kLinkPath);
    rig.runJob([&]() -> devlink::Task<void> { co_await rig.window->load(rig.splash); });
    rig.window->show();
    QScrollBar* gain = rig.window->editor().controls().rows[11].gainBar;
    for (auto _ : state) {
        gain->setValue((gain->value() + 3) % (gain->maximum() + 1));
        const bool waiting = rig.jobs.busy();
        const double cpuBefore = CpuSeconds(RUSAGE_THREAD);
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        state.counters["editor_thread_cpu_percent_of_a_core"] = 100 * (CpuSeconds(RUSAGE_THREAD) - cpuBefore) / seconds;
        state.counters["was_waiting"] = waiting;
        state.counters["still_waiting"] = rig.jobs.busy();
    }
}
BENCHMARK(BM_WaitingForASilentDeviceCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
