#include "app/in_process_simulator.h"

namespace app {

bool InProcessSimulator::start(const sim::PtyOptions& options, std::string* error) {
    if (!runner_.start(options, error)) return false;
    thread_ = std::thread([this] { runner_.run(stop_); });
    return true;
}

InProcessSimulator::~InProcessSimulator() {
    if (!thread_.joinable()) return;
    stop_ = true;
    runner_.wake();
    thread_.join();
    runner_.finish(nullptr);
}

}  // namespace app
