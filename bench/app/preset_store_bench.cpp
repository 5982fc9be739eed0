// A preset store through the real store dialog, the real serial port and the
// simulated device at 4800 baud: wall time against the line time of its 169
// exchanges, and how evenly the progress bar advances.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>
#include <chrono>

#include "bench/support/qt_benchmark_main.h"
#include "bench/support/simulated_device_link.h"
#include "editor/parameter_editor.h"
#include "presets/store_preset_dialog.h"
#include "ui/user_dialogs.h"

namespace {

void BM_PresetStoreThroughTheDialog(benchmark::State& state) {
    bench_support::SimulatedDeviceLink<> device(bench_support::LineRateOptions());
    if (!device.startedOrSkip(state)) return;
    devlink::DeviceLink& link = device.line->link;
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    model::PresetLibrary library;
    library.resetToFixedOnly();
    bench_support::YesDialogs dialogs;
    editor::ParameterEditor eq(image, link, dialogs);
    eq.fillFromImage();
    constexpr double kBoundSeconds = 169 * 20 * (10.0 / 4800.0);
    for (auto _ : state) {
        presets::StorePresetDialog store(library, image, link, eq, dialogs);
        store.nameBox()->setText("BENCH");
        store.positionBox()->setCurrentIndex(2);
        std::vector<double> steps;
        const auto start = std::chrono::steady_clock::now();
        QObject::connect(store.progressBar(), &QProgressBar::valueChanged, [&](int value) {
            if (value > 0)
                steps.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        });
        store.storeToDevice();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double longestGap = steps.empty() ? seconds : steps.front();
        for (std::size_t i = 1; i < steps.size(); ++i) longestGap = std::max(longestGap, steps[i] - steps[i - 1]);
        state.counters["wall_s"] = seconds;
        state.counters["bound_s"] = kBoundSeconds;
        state.counters["ratio"] = seconds / kBoundSeconds;
        state.counters["progress_steps"] = static_cast<double>(steps.size());
        state.counters["longest_step_gap_ms"] = longestGap * 1000;
    }
    device.line->skipIfLost(state);
}
BENCHMARK(BM_PresetStoreThroughTheDialog)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return bench_support::RunBenchmarksInside<QApplication>(argc, argv); }
