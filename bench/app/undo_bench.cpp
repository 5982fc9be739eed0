// Undoing a whole preset loaded from a file, through the real serial port
// and the simulated device at 4800 baud: the frames it sends (only the
// parameters that differ) and its wall time against the line time of those
// exchanges, for a preset that differs everywhere and for one that differs
// in a single notch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "devlink/link_trace.h"
#include "editor/parameter_editor.h"

namespace {

class FrameCounter final : public devlink::LinkTrace {
public:
    void record(std::int64_t, devlink::TraceEvent event, std::span<const std::uint8_t>, std::string_view) override {
        if (event == devlink::TraceEvent::Out) ++frames;
    }
    int frames = 0;
};

model::PresetImage Loaded(const model::PresetImage& start, bool everywhere) {
    model::PresetImage image = start;
    if (!everywhere) {
        model::WriteNotchRecord(image, 17, {12, 500, 2});
        return image;
    }
    for (int n = 0; n < model::kNotches; ++n) model::WriteNotchRecord(image, n, {(n * 7) % 46, 30 * n + 11, n % 4});
    for (int c = 0; c < model::kChannels; ++c) {
        image[model::NumNotchAutoOffset[c]] = static_cast<std::uint8_t>(3 + c);
        image[model::QNotchAutoOffset[c]] = static_cast<std::uint8_t>(1 + c);
        image[model::AttenuationModeOffset[c]] ^= 1;
        image[model::SensitivityOffset[c]] = static_cast<std::uint8_t>(9 + c);
        image[model::ReleaseSpeedOffset[c]] ^= 1;
        image[model::SearchModeOffset[c]] ^= 1;
    }
    return image;
}

void BM_UndoAPresetLoad(benchmark::State& state) {
    const bool everywhere = state.range(0) != 0;
    bench_support::SimulatedDeviceLink<> device(bench_support::LineRateOptions());
    if (!device.startedOrSkip(state)) return;
    devlink::DeviceLink& link = device.line->link;
    FrameCounter counter;
    link.setTrace(&counter);
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    bench_support::YesDialogs dialogs;
    editor::ParameterEditor eq(image, link, dialogs);
    devlink::RunToEnd(eq.applyPresetToEditor());  // the device holds the start
    const model::PresetImage start = image;
    for (auto _ : state) {
        state.PauseTiming();
        eq.beginStep();
        image = Loaded(start, everywhere);
        devlink::RunToEnd(eq.applyPresetToEditor());
        eq.endStep("Load BENCH.Fbk");
        counter.frames = 0;
        state.ResumeTiming();
        const auto began = std::chrono::steady_clock::now();
        eq.undoStack().undo();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        // A frame out and its ten-byte answer back, 10 bits a byte.
        const double bound = counter.frames * 20 * (10.0 / 4800.0);
        state.counters["frames"] = counter.frames;
        state.counters["wall_s"] = seconds;
        state.counters["bound_s"] = bound;
        state.counters["ratio"] = bound > 0 ? seconds / bound : 0;
    }
    link.setTrace(nullptr);
    device.line->skipIfLost(state);
}
BENCHMARK(BM_UndoAPresetLoad)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
