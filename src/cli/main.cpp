// qrn4480: the device work of qrn4480-editor from a shell. No window: the
// link's waits block, and Qt's core event loop runs only while a search
// waits for the device's reports, and under `serve`, whose device work runs
// as jobs that this loop resumes when the device answers or the time is up.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <iostream>

#include <unistd.h>

#include "cli/activity_wait.h"
#include "cli/cli_runner.h"
#include "cli/stop_signals.h"
#include "connection/init_config.h"
#include "devlink/any_port.h"
#include "devlink/job_wait_port.h"
#include "qrn_version.h"

namespace {

devlink::PortTable PortTableFromEnvironment() {
    const QByteArray list = qgetenv("QRN4480_PORTS");
    if (list.isNull()) return devlink::PortTable();
    return devlink::PortTable::fromList(list.toStdString(), devlink::kPortListSeparator);
}

}  // namespace

int main(int argc, char** argv) {
    cli::BlockStopSignals();
    QCoreApplication application(argc, argv);
    // The editor's settings, so both remember the same port.
    QCoreApplication::setOrganizationName("qrn4480");
    QCoreApplication::setApplicationName("qrn4480-editor");
    QCoreApplication::setApplicationVersion(kQrnVersion);

    devlink::AnyPort port;
    devlink::JobRunner jobs;
    devlink::JobWaitPort waitingPort(port, jobs);
    devlink::SteadyClock clock;
    cli::StopSignals stops;
    cli::ActivityWait activity(port, stops, jobs);

    cli::CliEnvironment environment{waitingPort, clock, PortTableFromEnvironment(), std::cout, std::cerr};
    environment.stdinIsTerminal = ::isatty(STDIN_FILENO) == 1;
    environment.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    environment.stopRequested = [&stops] { return stops.requested(); };
    environment.waitForActivity = [&activity](int ms) { activity.wait(ms); };
    environment.waitForWake = [&activity] { activity.waitForWake(); };
    environment.wakeWait = [&activity] { activity.wake(); };
    environment.jobs = &jobs;
    environment.driveJobsFromLoop = [&] { jobs.driveFromLoop(devlink::PostThrough(port)); };
    environment.readAnswer = [] {
        // Ctrl+C at the question ends the program at once: nothing was sent.
        cli::UnblockStopSignals();
        std::string answer;
        std::getline(std::cin, answer);
        cli::BlockStopSignals();
        return answer;
    };
    environment.letStopSignalsEnd = [](bool atOnce) {
        if (atOnce)
            cli::UnblockStopSignals();
        else
            cli::BlockStopSignals();
    };
    environment.portExists = [](const std::string& name) {
        return devlink::IsNetworkPortName(name) || QFileInfo::exists(QString::fromStdString(name));
    };
    environment.readStoredPort = [] {
        return static_cast<int>(connection::ReadStoredPortNumber(QDir::current().filePath("init.cfg").toStdString()));
    };
    environment.writeStoredPort = [](int portNumber) {
        connection::WriteStoredPortNumber(static_cast<std::int16_t>(portNumber));
    };
    return cli::RunCli(QCoreApplication::arguments().mid(1), environment);
}
