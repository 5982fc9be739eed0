#include "sim/simulator_thread.h"

namespace sim {

bool SimulatorThread::start(const PtyOptions& options, std::string* error) {
    if (!runner_.start(options, error)) return false;
    thread_ = std::thread([this] { runner_.run(stop_); });
    return true;
}

SimulatorThread::~SimulatorThread() {
    if (!thread_.joinable()) return;
    stop_ = true;
    runner_.wake();
    thread_.join();
    runner_.finish(nullptr);
}

}  // namespace sim
