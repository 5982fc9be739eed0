// Figures for the frame exchange over a real pseudo-terminal: the software
// cost of one exchange with the simulated device answering at once, and a
// preset store's 169 exchanges at the real line rate against its line time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "link/commands.h"
#include "link/device_link.h"
#include "link/qt_serial_port.h"
#include "sim/pty_runner.h"

namespace {

class AbortEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string& message) override { lost = message; }
    std::string lost;
};

struct Bench {
    explicit Bench(bool lineRate) {
        sim::PtyOptions options;
        options.lineRate = lineRate;
        std::string error;
        if (!runner.start(options, &error)) return;
        thread = std::thread([this] { runner.run(stop); });
        link = std::make_unique<devlink::DeviceLink>(port, clock, end,
                                                     devlink::PortTable::FromList(runner.slavePath(), ':'));
        ready = link->OpenPort(1);
        link->SetReceiveSize(devlink::kReplySize);
    }
    ~Bench() {
        link.reset();
        port.close();
        stop = true;
        runner.wake();
        if (thread.joinable()) thread.join();
        runner.finish(nullptr);
    }
    sim::PtyRunner runner;
    std::atomic<bool> stop{false};
    std::thread thread;
    devlink::QtSerialPort port;
    devlink::SteadyClock clock;
    AbortEnd end;
    std::unique_ptr<devlink::DeviceLink> link;
    bool ready = false;
};

void BM_CommandExchange(benchmark::State& state) {
    Bench bench(false);
    if (!bench.ready) {
        state.SkipWithError("simulator did not start");
        return;
    }
    for (auto _ : state) bench.link->SendCommand(devlink::ReadMemoryBytePayload(0x0070));
    if (!bench.end.lost.empty()) state.SkipWithError(bench.end.lost.c_str());
}
BENCHMARK(BM_CommandExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

// 169 exchanges of 10 bytes each way at 2.083 ms a byte: 7.04 s of line time.
void BM_PresetStoreAtLineRate(benchmark::State& state) {
    Bench bench(true);
    if (!bench.ready) {
        state.SkipWithError("simulator did not start");
        return;
    }
    constexpr double kLineBoundSeconds = 169 * 20 * (10.0 / 4800.0);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int m = 0; m < 169; ++m)
            bench.link->SendCommand(devlink::WriteMemoryBytePayload(0x0260 + m % 160, static_cast<std::uint8_t>(m)));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["wall_s"] = seconds;
        state.counters["bound_s"] = kLineBoundSeconds;
        state.counters["ratio"] = seconds / kLineBoundSeconds;
    }
}
BENCHMARK(BM_PresetStoreAtLineRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
