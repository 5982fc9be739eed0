// Backing up and restoring a full device (all sixteen positions used)
// through the real serial port and the simulated device at 4800 baud: wall
// time against the line time of the bytes that crossed the line, each byte
// taking 10 bits at 4800 baud.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "devlink/library_read.h"
#include "presets/backup_read.h"
#include "presets/device_restore.h"
#include "sim/memory_file.h"

namespace {

constexpr double kByteSeconds = 10.0 / 4800.0;

// The real serial port, counting the bytes each way on their way through.
class CountingPort final : public devlink::SerialPort {
public:
    bool open(const std::string& name) override { return port_.open(name); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    void setReadSize(int bytes) override { port_.setReadSize(bytes); }
    bool write(std::span<const std::uint8_t> bytes) override {
        written += bytes.size();
        return port_.write(bytes);
    }
    int bytesWaiting() override { return port_.bytesWaiting(); }
    void waitForBytes(int timeoutMs) override { port_.waitForBytes(timeoutMs); }
    std::vector<std::uint8_t> read() override {
        auto bytes = port_.read();
        received += bytes.size();
        return bytes;
    }
    void discardInput() override { port_.discardInput(); }
    devlink::PortFault fault() const override { return port_.fault(); }
    std::string faultText() const override { return port_.faultText(); }

    std::size_t written = 0;
    std::size_t received = 0;

private:
    devlink::QtSerialPort port_;
};

// A device whose sixteen positions all hold a preset.
std::string FullDeviceMemory(const QTemporaryDir& dir) {
    sim::DeviceMemory memory;
    for (int slot = 0; slot < 16; ++slot) {
        for (int m = 0; m < 160; ++m)
            memory.write(sim::memory_map::presetDataAddress(slot) + m, model::DefaultImage[m]);
        for (int j = 0; j < 8; ++j)
            memory.write(sim::memory_map::presetNameAddress(slot) + j, static_cast<std::uint8_t>('A' + slot));
        memory.write(sim::memory_map::markerAddress(slot), sim::memory_map::kStoreMarker);
    }
    const std::string path = dir.filePath("memory.bin").toStdString();
    sim::saveMemoryFile(path, memory, nullptr);
    return path;
}

void Report(benchmark::State& state, const CountingPort& port, double seconds) {
    const double bound = static_cast<double>(port.written + port.received) * kByteSeconds;
    state.counters["wall_s"] = seconds;
    state.counters["bound_s"] = bound;
    state.counters["ratio"] = seconds / bound;
    state.counters["bytes_out"] = static_cast<double>(port.written);
    state.counters["bytes_in"] = static_cast<double>(port.received);
}

void RunAgainstFullDevice(benchmark::State& state, bool restore) {
    QTemporaryDir dir;
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.memoryFile = FullDeviceMemory(dir);
    bench_support::SimulatedDeviceLink<CountingPort> device(options);
    if (!device.startedOrSkip(state)) return;
    CountingPort& port = device.line->port;
    devlink::DeviceLink& link = device.line->link;
    link.setReceiveSize(devlink::kReplySize);
    presets::DeviceBackup backup;
    model::PresetLibrary library;
    if (restore) {
        presets::ReadDeviceBackup(link, backup);
        devlink::ReadDeviceLibrary(link, library, {});
    }
    for (auto _ : state) {
        port.written = port.received = 0;
        const auto start = std::chrono::steady_clock::now();
        if (restore) {
            presets::RestoreSelection all;
            all.positions.fill(true);
            all.currentSettings = true;
            presets::RestoreDevice(link, library, backup, all);
        } else {
            presets::ReadDeviceBackup(link, backup);
        }
        Report(state, port, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    device.line->skipIfLost(state);
}

void BM_BackupFullDevice(benchmark::State& state) { RunAgainstFullDevice(state, false); }
void BM_RestoreFullDevice(benchmark::State& state) { RunAgainstFullDevice(state, true); }
BENCHMARK(BM_BackupFullDevice)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RestoreFullDevice)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QCoreApplication>(argc, argv); }
