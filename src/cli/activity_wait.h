#pragma once
// The program's wait during a search: returns when bytes arrive, the port
// fails, Ctrl+C or SIGTERM comes or the time is up, and runs the event loop
// meanwhile. Nothing wakes the program while the line is quiet.
#include "cli/stop_signals.h"
#include "devlink/any_port.h"

namespace cli {

void WaitForActivity(devlink::AnyPort& port, StopSignals& stops, int timeoutMs);

}  // namespace cli
