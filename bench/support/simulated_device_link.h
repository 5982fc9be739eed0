#pragma once
// The simulated device on a pseudo-terminal and a link opened on it, as the
// benchmarks that measure the line set them up.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "bench/support/quiet_services.h"
#include "devlink/qt_serial_port.h"
#include "sim/simulator_thread.h"

namespace bench_support {

// The device paced at 4800 baud both ways, as on a real line.
inline sim::PtyOptions LineRateOptions() {
    sim::PtyOptions options;
    options.lineRate = true;
    return options;
}

// A simulator that cannot start skips the benchmark with its reason.
inline bool StartOrSkip(sim::SimulatorThread& simulator, const sim::PtyOptions& options, benchmark::State& state) {
    std::string error;
    if (simulator.start(options, &error)) return true;
    state.SkipWithError(error.c_str());
    return false;
}

// A link opened on the first port of a list, timed by the steady clock, with
// an end that remembers why the link was lost.
template <class Port>
struct OpenLink {
    explicit OpenLink(const std::string& portList)
        : link(port, clock, end, devlink::PortTable::fromList(portList, ':')) {
        opened = link.openPort(1);
    }
    // Figures taken over a lost link say nothing.
    void skipIfLost(benchmark::State& state) const {
        if (!end.lost.empty()) state.SkipWithError(end.lost.c_str());
    }
    Port port;
    devlink::SteadyClock clock;
    RecordingEnd end;
    devlink::DeviceLink link;
    bool opened = false;
};

// The simulator is declared first so that it outlives the port that talks to
// it; the link exists only once the simulator started.
template <class Port = devlink::QtSerialPort>
struct SimulatedDeviceLink {
    explicit SimulatedDeviceLink(const sim::PtyOptions& options) {
        if (simulator.start(options, &error)) line.emplace(simulator.portPath());
    }
    bool startedOrSkip(benchmark::State& state) const {
        if (line) return true;
        state.SkipWithError(error.c_str());
        return false;
    }
    sim::SimulatorThread simulator;
    std::string error;
    std::optional<OpenLink<Port>> line;
};

}  // namespace bench_support
