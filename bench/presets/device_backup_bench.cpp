// Backing up and restoring a full device (all sixteen positions used), and
// storing a preset over its own position, through the real serial port and
// the simulated device at 4800 baud: wall time against the line time of the
// bytes that crossed the line, each byte taking 10 bits at 4800 baud, and
// the memory writes sent.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <optional>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "devlink/commands.h"
#include "devlink/forwarding_port.h"
#include "devlink/library_read.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"
#include "presets/backup_read.h"
#include "presets/device_restore.h"
#include "presets/position_write.h"
#include "presets/preset_transfer.h"
#include "sim/memory_file.h"

namespace {

constexpr double kByteSeconds = 10.0 / 4800.0;

// The real serial port, counting the bytes each way on their way through.
class CountingPort final : public devlink::ForwardingPort {
public:
    CountingPort() : ForwardingPort(port_) {}
    bool write(std::span<const std::uint8_t> bytes) override {
        written += bytes.size();
        if (bytes.size() == 10 && bytes[2] == devlink::Code(devlink::Command::WriteMemoryByte)) ++memoryWrites;
        return ForwardingPort::write(bytes);
    }
    std::vector<std::uint8_t> read() override {
        auto bytes = ForwardingPort::read();
        received += bytes.size();
        return bytes;
    }

    std::size_t written = 0;
    std::size_t received = 0;
    std::size_t memoryWrites = 0;

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
    std::string path = dir.filePath("memory.bin").toStdString();
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
    state.counters["memory_writes"] = static_cast<double>(port.memoryWrites);
}

// Sixteen bytes of a preset: four notches' records.
void ChangeFourNotches(devlink::DeviceLink& link, int slot) {
    for (int n = 0; n < 4; ++n)
        for (int b = 0; b < 4; ++b) {
            const int address = devlink::DeviceMemoryMap::data(slot) + model::NotchRecordOffset[n] + b;
            const std::uint8_t was = devlink::RunToEnd(devlink::ReadMemoryByte(link, address)).value_or(0);
            devlink::RunToEnd(
                link.command(devlink::WriteMemoryBytePayload(address, static_cast<std::uint8_t>(was ^ 1))));
        }
}

enum class Case { Backup, RestoreEveryByte, RestoreOneChanged, RestoreOneChangedAfterComparing, RestoreIntoEmpty };

void RunAgainstFullDevice(benchmark::State& state, Case which) {
    QTemporaryDir dir;
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.memoryFile = FullDeviceMemory(dir);
    bench_support::SimulatedDeviceLink<CountingPort> device(options);
    if (!device.startedOrSkip(state)) return;
    devlink::DeviceLink& full = device.line->link;
    full.setReceiveSize(devlink::kReplySize);
    presets::DeviceBackup backup;
    model::PresetLibrary library;
    if (which != Case::Backup) devlink::RunToEnd(presets::ReadDeviceBackup(full, backup));
    if (which == Case::RestoreOneChanged || which == Case::RestoreOneChangedAfterComparing) ChangeFourNotches(full, 4);
    // The backup of the full device goes into a device as it left the factory.
    std::optional<bench_support::SimulatedDeviceLink<CountingPort>> empty;
    if (which == Case::RestoreIntoEmpty) {
        empty.emplace(bench_support::LineRateOptions());
        if (!empty->startedOrSkip(state)) return;
        empty->line->link.setReceiveSize(devlink::kReplySize);
    }
    CountingPort& port = empty ? empty->line->port : device.line->port;
    devlink::DeviceLink& link = empty ? empty->line->link : device.line->link;
    if (which != Case::Backup) devlink::RunToEnd(devlink::ReadDeviceLibrary(link, library, {}));
    // As the restore dialog has them: the blocks its comparison read.
    presets::DeviceBlocks blocks;
    if (which == Case::RestoreOneChangedAfterComparing)
        for (int slot = 0; slot < model::kUserPositions; ++slot) {
            model::PresetImage image{};
            devlink::RunToEnd(
                devlink::ReadPresetBlockInto(link, static_cast<std::uint8_t>(slot + model::kFixedPositions), image));
            blocks[static_cast<std::size_t>(slot)].emplace();
            std::copy_n(image.begin(), model::kBlockSize, blocks[static_cast<std::size_t>(slot)]->begin());
        }
    for (auto _ : state) {
        port.written = port.received = port.memoryWrites = 0;
        const auto start = std::chrono::steady_clock::now();
        if (which == Case::Backup) {
            devlink::RunToEnd(presets::ReadDeviceBackup(full, backup));
        } else {
            presets::RestoreSelection all;
            all.positions.fill(true);
            all.currentSettings = true;
            if (which == Case::RestoreEveryByte) all.mode = presets::WriteMode::Full;
            devlink::RunToEnd(presets::RestoreDevice(link, library, backup, all, {}, blocks));
        }
        Report(state, port, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    (empty ? *empty->line : *device.line).skipIfLost(state);
}

// A preset that differs from position 9's in four notches, stored over it.
void RunStoreOverItsOwnPosition(benchmark::State& state, presets::WriteMode mode) {
    QTemporaryDir dir;
    sim::PtyOptions options = bench_support::LineRateOptions();
    options.memoryFile = FullDeviceMemory(dir);
    bench_support::SimulatedDeviceLink<CountingPort> device(options);
    if (!device.startedOrSkip(state)) return;
    CountingPort& port = device.line->port;
    devlink::DeviceLink& link = device.line->link;
    link.setReceiveSize(devlink::kReplySize);
    model::PresetLibrary library;
    devlink::RunToEnd(devlink::ReadDeviceLibrary(link, library, {}));
    constexpr int kSlot = 4;
    presets::DeviceBlock data{};
    std::copy_n(model::DefaultImage.begin(), data.size(), data.begin());
    for (int n = 0; n < 4; ++n)
        for (int b = 0; b < 4; ++b) data[static_cast<std::size_t>(model::NotchRecordOffset[n]) + static_cast<std::size_t>(b)] ^= 1;
    const model::PresetNameBytes name = *model::PadPresetName(library.names[kSlot + model::kFixedPositions]);
    const presets::StoreRequest request{kSlot, name, model::DecodePresetName(name)};
    for (auto _ : state) {
        port.written = port.received = port.memoryWrites = 0;
        const auto start = std::chrono::steady_clock::now();
        if (mode == presets::WriteMode::Full) {
            model::PresetImage image{};
            std::copy(data.begin(), data.end(), image.begin());
            devlink::RunToEnd(presets::StorePreset(link, library, image, request));
        } else {
            devlink::RunToEnd(
                presets::WriteChangedBytes(link, library, request, data, presets::KnownFromLibrary(library, kSlot)));
        }
        Report(state, port, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    device.line->skipIfLost(state);
}

void BM_BackupFullDevice(benchmark::State& state) { RunAgainstFullDevice(state, Case::Backup); }
void BM_RestoreEveryByte(benchmark::State& state) { RunAgainstFullDevice(state, Case::RestoreEveryByte); }
void BM_RestoreOnePositionChanged(benchmark::State& state) { RunAgainstFullDevice(state, Case::RestoreOneChanged); }
void BM_RestoreOnePositionChangedAfterComparing(benchmark::State& state) {
    RunAgainstFullDevice(state, Case::RestoreOneChangedAfterComparing);
}
void BM_RestoreIntoEmptyDevice(benchmark::State& state) { RunAgainstFullDevice(state, Case::RestoreIntoEmpty); }
void BM_StoreFourNotchesEveryByte(benchmark::State& state) {
    RunStoreOverItsOwnPosition(state, presets::WriteMode::Full);
}
void BM_StoreFourNotchesChangedBytes(benchmark::State& state) {
    RunStoreOverItsOwnPosition(state, presets::WriteMode::ChangedBytes);
}
BENCHMARK(BM_BackupFullDevice)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RestoreEveryByte)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RestoreOnePositionChanged)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RestoreOnePositionChangedAfterComparing)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RestoreIntoEmptyDevice)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_StoreFourNotchesEveryByte)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_StoreFourNotchesChangedBytes)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QCoreApplication>(argc, argv); }
