#pragma once
// qrn4480 run in process against the simulated device behind a fake port on
// a fake clock: its exit code, what it printed and the frames the device got.
// The device sits at port 1; ports 2..35 exist and stay silent.
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/sim_rig.h"

namespace cli_test {

using testing_support::Bytes;
using testing_support::Hex;

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
    std::vector<Bytes> frames;  // written by the program, in order
    std::size_t opens = 0;      // ports it opened
};

class CliRig {
public:
    CliRig() {
        for (int n = devlink::kFirstPort; n <= devlink::kLastPort; ++n)
            table.set(n, n == 1 ? std::string(testing_support::kSimPortName) : "/dev/silent" + std::to_string(n));
    }

    CliRun run(const QStringList& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        cli::CliEnvironment environment{sim.port, sim.clock, table, out, err};
        environment.stdinIsTerminal = stdinIsTerminal;
        environment.stderrIsTerminal = stderrIsTerminal;
        environment.portExists = portExists;
        environment.stopRequested = [this] { return stopRequested(); };
        environment.waitForActivity = [this](int ms) {
            ++waits;
            // A search's device reports one notch per wait, and time moves.
            if (deliverReports) sim.deliverReport();
            sim.clock.advance(std::min(ms, kWaitStepMs));
        };
        environment.readAnswer = [this] { return answer; };
        sim.takeWrites();
        const std::size_t opensBefore = sim.port.opens.size();
        CliRun result;
        result.exit = cli::RunCli(arguments, environment);
        result.out = out.str();
        result.err = err.str();
        result.frames = sim.takeWrites();
        result.opens = sim.port.opens.size() - opensBefore;
        return result;
    }

    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }

    static constexpr int kWaitStepMs = 100;
    testing_support::SimRig sim;
    devlink::PortTable table;
    QTemporaryDir dir;
    bool deliverReports = true;
    bool stdinIsTerminal = false;
    bool stderrIsTerminal = false;  // progress is shown
    std::function<bool(const std::string&)> portExists = [](const std::string&) { return true; };
    std::string answer;
    int waits = 0;
    std::function<bool()> stopRequested = [] { return false; };
};

inline std::string Dump(const std::vector<Bytes>& frames) {
    std::string text;
    for (const auto& f : frames) text += Hex(f) + "\n";
    return text;
}

}  // namespace cli_test
