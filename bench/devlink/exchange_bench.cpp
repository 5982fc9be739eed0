// Figures for the frame exchange over a real pseudo-terminal: the software
// cost of one exchange with the simulated device answering at once, and a
// preset store's 169 exchanges at the real line rate against its line time.
// And what one wait of a job driven from a loop costs by itself: the job
// hands the loop back and is resumed from it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>

#include <QTemporaryDir>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "devlink/commands.h"
#include "devlink/job_runner.h"
#include "devlink/memory_dump.h"
#include "sim/memory_file.h"

namespace {

sim::PtyOptions Options(bool lineRate, const std::string& memoryFile = {}) {
    sim::PtyOptions options;
    options.lineRate = lineRate;
    options.memoryFile = memoryFile;
    return options;
}

// The link takes whole replies. A simulator that did not start, or a port
// that did not open, skips the benchmark.
bool ReadyForRepliesOrSkip(bench_support::SimulatedDeviceLink<>& bench, benchmark::State& state) {
    if (bench.line) bench.line->link.setReceiveSize(devlink::kReplySize);
    if (bench.line && bench.line->opened) return true;
    state.SkipWithError("simulator did not start");
    return false;
}

void BM_CommandExchange(benchmark::State& state) {
    bench_support::SimulatedDeviceLink<> bench(Options(false));
    if (!ReadyForRepliesOrSkip(bench, state)) return;
    for (auto _ : state) bench.line->link.sendCommand(devlink::ReadMemoryBytePayload(0x0070));
    bench.line->skipIfLost(state);
}
BENCHMARK(BM_CommandExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

// 169 exchanges of 10 bytes each way at 2.083 ms a byte: 7.04 s of line time.
void BM_PresetStoreAtLineRate(benchmark::State& state) {
    bench_support::SimulatedDeviceLink<> bench(Options(true));
    if (!ReadyForRepliesOrSkip(bench, state)) return;
    constexpr double kLineBoundSeconds = 169 * 20 * (10.0 / 4800.0);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int m = 0; m < 169; ++m)
            devlink::RunToEnd(bench.line->link.command(
                devlink::WriteMemoryBytePayload(0x0260 + m % 160, static_cast<std::uint8_t>(m))));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["wall_s"] = seconds;
        state.counters["bound_s"] = kLineBoundSeconds;
        state.counters["ratio"] = seconds / kLineBoundSeconds;
    }
}
BENCHMARK(BM_PresetStoreAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The start-up read at the real line rate, for no used position and for all
// sixteen, against the line time of its bytes (20 per exchange, 170 for the
// block read).
void BM_StartupDumpAtLineRate(benchmark::State& state) {
    const int used = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const std::string memoryPath = dir.filePath("device.mem").toStdString();
    sim::DeviceMemory memory;
    for (int k = 0; k < used; ++k) {
        memory.write(0x0030 + k, 0x55);
        for (int j = 0; j < 8; ++j) memory.write(0x0F20 + 8 * k + j, static_cast<std::uint8_t>('A' + j));
    }
    std::string error;
    if (!sim::saveMemoryFile(memoryPath, memory, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    bench_support::SimulatedDeviceLink<> bench(Options(true, memoryPath));
    if (!ReadyForRepliesOrSkip(bench, state)) return;
    const int exchanges = devlink::DumpFrameCount(used) - 1;
    const double boundSeconds = (exchanges * 20 + 10 + 160) * (10.0 / 4800.0);
    for (auto _ : state) {
        model::PresetImage image{};
        model::PresetLibrary library;
        const auto start = std::chrono::steady_clock::now();
        devlink::RunToEnd(devlink::DumpDeviceMemory(bench.line->link, image, library, {}));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["wall_s"] = seconds;
        state.counters["bound_s"] = boundSeconds;
        state.counters["ratio"] = seconds / boundSeconds;
    }
    bench.line->skipIfLost(state);
}
BENCHMARK(BM_StartupDumpAtLineRate)->Arg(0)->Arg(16)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// One wait and its resume, as each byte of a paced reply costs a job in the
// editor: wake() posts the resume, the loop (a queue drained here, so that
// only the job's own cost is counted) runs it, and the job waits again.
void BM_JobSuspension(benchmark::State& state) {
    std::deque<std::function<void()>> posted;
    devlink::JobRunner jobs;
    jobs.driveFromLoop([&posted](std::function<void()> call) { posted.push_back(std::move(call)); });
    bool stop = false;
    std::int64_t resumed = 0;
    jobs.run([&]() -> devlink::Task<void> {
        while (!stop) {
            co_await jobs.untilWoken();
            ++resumed;
        }
    });
    for (auto _ : state) {
        jobs.wake();
        while (!posted.empty()) {
            auto call = std::move(posted.front());
            posted.pop_front();
            call();
        }
    }
    stop = true;
    jobs.wake();
    while (!posted.empty()) {
        auto call = std::move(posted.front());
        posted.pop_front();
        call();
    }
    if (resumed != state.iterations() + 1) state.SkipWithError("a wake did not resume the job");
}
BENCHMARK(BM_JobSuspension);

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QCoreApplication>(argc, argv); }
