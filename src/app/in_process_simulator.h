#pragma once
// --simulate: the simulated device on a pseudo-terminal, served by a thread
// of this process, so that the editor talks to it through the real serial
// port code.
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "sim/pty_runner.h"

namespace app {

class InProcessSimulator {
public:
    InProcessSimulator() = default;
    ~InProcessSimulator();
    InProcessSimulator(const InProcessSimulator&) = delete;
    InProcessSimulator& operator=(const InProcessSimulator&) = delete;

    bool start(const sim::PtyOptions& options, std::string* error);
    std::string portPath() const { return runner_.slavePath(); }

private:
    sim::PtyRunner runner_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace app
