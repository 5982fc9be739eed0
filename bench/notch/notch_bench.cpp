// The arithmetic of one notch edit, without a window or a line.
#include <benchmark/benchmark.h>

#include "notch/curve_drawing.h"
#include "notch/notch_transfer.h"
#include "notch/snapping.h"

namespace {

void BM_TransferNotch(benchmark::State& state) {
    notch::NotchArrays arrays;
    model::PresetImage image{};
    int gain = 0;
    for (auto _ : state) {
        auto out = notch::TransferNotch(5, {gain, "1000", 2}, arrays, image);
        benchmark::DoNotOptimize(out);
        gain = (gain + 1) % 46;
    }
}
BENCHMARK(BM_TransferNotch);

void BM_NearestFreqCodeTopOfTable(benchmark::State& state) {
    double x = 19950;
    for (auto _ : state) benchmark::DoNotOptimize(notch::NearestFreqCode(x));
}
BENCHMARK(BM_NearestFreqCodeTopOfTable);

void BM_ComputeNotch(benchmark::State& state) {
    notch::NotchArrays arrays;
    notch::ResponseTables tables;
    arrays.freqHz[3] = 1003;
    arrays.gainDb[3] = -30;
    for (auto _ : state) {
        tables.computeNotch(3, arrays);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeNotch);

void BM_DrawChannelCurve(benchmark::State& state) {
    notch::NotchArrays arrays;
    notch::ResponseTables tables;
    for (int n = 0; n < 12; ++n) {
        arrays.freqHz[n] = 100.0 * (n + 1);
        arrays.gainDb[n] = -3.0 * n;
        tables.computeNotch(n, arrays);
    }
    notch::GraphCanvas canvas;
    for (auto _ : state) {
        notch::DrawChannelCurve(canvas, tables, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawChannelCurve);

}  // namespace
