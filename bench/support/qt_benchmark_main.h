#pragma once
// The benchmarks run inside the Qt application object that ports, timers and
// widgets need: QCoreApplication for the link alone, QApplication with windows.
#include <benchmark/benchmark.h>

namespace bench_support {

template <class Application>
int RunBenchmarksInside(int argc, char** argv) {
    Application app(argc, argv);  // keeps a reference to argc, which outlives it here
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
