#pragma once
// Everything the program takes from the world outside it, in one place: the
// port and the clock, the streams, whether a person sits at them, the signals,
// the port memory. The program fills it with the real ones, tests with a
// fake port on a fake clock and string streams.
#include <functional>
#include <iosfwd>
#include <string>

#include "devlink/job_runner.h"
#include "devlink/monotonic_clock.h"
#include "devlink/port_table.h"
#include "devlink/serial_port.h"

namespace cli {

struct CliEnvironment {
    devlink::SerialPort& port;
    devlink::MonotonicClock& clock;
    devlink::PortTable ports;  // the built-in table, or QRN4480_PORTS
    std::ostream& out;
    std::ostream& err;
    bool stdinIsTerminal = false;
    bool stderrIsTerminal = false;
    // True once Ctrl+C or SIGTERM came.
    std::function<bool()> stopRequested = [] { return false; };
    // Returns when bytes arrive, a signal comes, wakeWait() is called or
    // `ms` have passed.
    std::function<void(int ms)> waitForActivity = [](int) {};
    // Returns at wakeWait() alone.
    std::function<void()> waitForWake = [] {};
    // Ends the wait in progress.
    std::function<void()> wakeWait = [] {};
    // Where the link runs its jobs (none: a runner of its own, each job
    // run to its end where it is asked for), and the switch that has them
    // resumed from the event loop from then on, which the one that waits
    // for activity runs. Tests leave both: their jobs end where they are
    // asked for.
    devlink::JobRunner* jobs = nullptr;
    std::function<void()> driveJobsFromLoop = [] {};
    // While true, Ctrl+C and SIGTERM end the program at once, as they end any
    // program: it is only looking for the device, and nothing has been
    // written. Otherwise they wait for stopRequested().
    std::function<void(bool atOnce)> letStopSignalsEnd = [](bool) {};
    // One line typed at the terminal; empty at its end. Ctrl+C may end the
    // program while it waits: nothing has been sent yet.
    std::function<std::string()> readAnswer = [] { return std::string(); };
    std::function<bool(const std::string& portName)> portExists = [](const std::string&) { return true; };
    // The editor's remembered port (0: none), and keeping the one found.
    std::function<int()> readStoredPort = [] { return 0; };
    std::function<void(int portNumber)> writeStoredPort = [](int) {};
};

}  // namespace cli
