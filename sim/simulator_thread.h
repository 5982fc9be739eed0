#pragma once
// The simulated device on a pseudo-terminal, served by a thread of the
// calling process: the editor's --simulate mode, end-to-end tests and
// benchmarks talk to it through a real serial port.
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "sim/pty_runner.h"

namespace sim {

class SimulatorThread {
public:
    SimulatorThread() = default;
    ~SimulatorThread();
    SimulatorThread(const SimulatorThread&) = delete;
    SimulatorThread& operator=(const SimulatorThread&) = delete;

    bool start(const PtyOptions& options, std::string* error);
    std::string portPath() const { return runner_.slavePath(); }

private:
    PtyRunner runner_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
