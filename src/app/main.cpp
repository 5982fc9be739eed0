// qrn4480-editor: the splash, then the main window's start-up, then Qt's
// event loop as the program's main loop.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <cstdio>
#include <variant>

#include "app/command_line.h"
#include "app/device_log_window.h"
#include "app/main_window.h"
#include "app/offline_link_end.h"
#include "app/remote_control.h"
#include "app/readable_style.h"
#include "app/remote_dialogs.h"
#include "app/report_watcher.h"
#include "app/session.h"
#include "app/splash_window.h"
#include "app/toolbar_icons.h"
#include "app/user_places.h"
#include "connection/named_port.h"
#include "connection/trace_file.h"
#include "connection/typed_port.h"
#include "devlink/any_port.h"
#include "devlink/any_port_factory.h"
#include "devlink/device_link.h"
#include "devlink/job_wait_port.h"
#include "devlink/trace_fan_out.h"
#include "editor/device_transfer.h"
#include "qrn_version.h"
#include "sim/simulator_thread.h"
#include "ui/qt_user_dialogs.h"

namespace {

constexpr int kSplashMs = 2000;

devlink::PortTable MakePortTable(const app::StartOptions& options) {
    if (options.port) {
        devlink::PortTable table = devlink::PortTable::fromList({}, devlink::kPortListSeparator);
        table.set(devlink::kFirstPort, connection::NamedPortPath(*options.port));
        return table;
    }
    if (options.portList)
        return devlink::PortTable::fromList(options.portList->toStdString(), devlink::kPortListSeparator);
    devlink::PortTable table;
    connection::AddRememberedTypedPort(table);
    return table;
}

// --help and --version answer on a machine without a display too: before
// the window system is opened. Qt's own options (-platform ...) are only
// known once it is, so anything else waits for the full parse below.
bool PrintedBeforeWindowSystem(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const app::CommandLine early = app::ParseCommandLine(arguments);
    const auto* print = std::get_if<app::PrintAndExit>(&early);
    if (print) std::fputs(qPrintable(print->text), stdout);
    return print != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (PrintedBeforeWindowSystem(argc, argv)) return 0;
    QApplication application(argc, argv);
    QApplication::setApplicationName("qrn4480-editor");
    QApplication::setOrganizationName("qrn4480");  // settings: ~/.config/qrn4480/qrn4480-editor.conf
    QApplication::setWindowIcon(app::MakeApplicationIcon());
    QApplication::setStyle(new app::ReadableStyle(QApplication::style()->name()));

    QApplication::setApplicationVersion(kQrnVersion);

    const app::CommandLine commandLine = app::ParseCommandLine(QApplication::arguments());
    if (const auto* print = std::get_if<app::PrintAndExit>(&commandLine)) {
        std::fputs(qPrintable(print->text), stdout);
        return 0;
    }
    if (std::holds_alternative<app::PrintHelpWithQtOptions>(commandLine))
        app::PrintHelpWithQtOptionsAndExit(QApplication::arguments());
    if (const auto* wrong = std::get_if<app::UsageError>(&commandLine)) {
        std::fprintf(stderr, "%s\n", qPrintable(wrong->message));
        return app::kUsageErrorExitCode;
    }
    const auto* options = std::get_if<app::StartOptions>(&commandLine);

    devlink::PortTable ports = MakePortTable(*options);
    sim::SimulatorThread simulator;
    if (options->simulate) {
        sim::PtyOptions simOptions;
        simOptions.memoryFile = options->simulatorMemory.toStdString();
        std::string error;
        if (!simulator.start(simOptions, &error)) {
            std::fprintf(stderr, "Cannot start the simulated device: %s\n", error.c_str());
            return 1;
        }
        ports.set(1, simulator.portPath());
    }

    ui::QtUserDialogs desktopDialogs;
    // A page's request asks its questions on the page, not here.
    app::RemoteDialogs dialogs(desktopDialogs);
    app::OfflineLinkEnd linkEnd;
    devlink::AnyPort port;
    devlink::JobRunner jobs;
    // Device work awaits its questions like the device; a box that would
    // run its loop inside a job's code is refused.
    desktopDialogs.setJobRunning([&jobs] { return jobs.running(); });
    // A wait for the device hands the event loop back until the device
    // answers: the window keeps painting and working meanwhile.
    devlink::JobWaitPort waitingPort(port, jobs);
    devlink::SteadyClock clock;
    devlink::DeviceLink link(waitingPort, clock, linkEnd, std::move(ports), jobs);
    jobs.driveFromLoop(devlink::PostThrough(port));
    // The port search probes every port at once, each through its own port.
    devlink::AnyPortFactory portFactory(port, jobs);
    link.setPortFactory(&portFactory);

    // The trace: the --trace file when one is named, and the device log.
    connection::TraceClock traceClock;
    connection::TraceFile traceFile(traceClock);
    devlink::TraceFanOut traces;
    if (!options->traceFile.isEmpty()) {
        QString error;
        if (!traceFile.open(options->traceFile, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        traces.add(&traceFile);
    }
    // The log records from the start: it shows what happened before it was opened.
    app::DeviceLogWindow deviceLog(dialogs);
    traces.add(&deviceLog);
    link.setTrace(&traces);
    app::Session session;

    app::SplashWindow splash;
    const QSize screen = QGuiApplication::primaryScreen()->size();
    if (app::ScreenTooSmall(screen.width(), screen.height()))
        dialogs.inform(app::kScreenTooSmallMessage, "Warning", ui::Icon::None);
    session.startDir = QDir::currentPath();
    session.applicationDir = QCoreApplication::applicationDirPath();
    session.autosavePath = app::AutosavePath();
    QDir::setCurrent(session.startDir);
    splash.show();

    app::MainWindow mainWindow(session, link, dialogs);
    linkEnd.setOnLost([&mainWindow](const std::string& why) { mainWindow.goOffline(QString::fromStdString(why)); });
    mainWindow.setDeviceLogOpener([&] {
        deviceLog.show();
        deviceLog.raise();
    });
    link.setWhenJobFailed([&](const std::string& why) {
        dialogs.inform(QStringLiteral("The device work in progress stopped on an error: %1.\n\nThe connection and the "
                                      "editor's settings are kept; check that the device holds what you expect.")
                           .arg(QString::fromStdString(why)),
                       "Device", ui::Icon::Critical, &mainWindow);
    });
    app::ReportWatcher reports(port, link, [&mainWindow] { mainWindow.pollSearchReports(); });
    app::RemoteControl remoteControl(mainWindow, session.image, link, dialogs);
    // Whose settings to keep, asked while the device waits: on every page too.
    desktopDialogs.setQuestionMirror(&remoteControl.questionMirror());
    QObject::connect(mainWindow.actions().remoteControl, &QAction::triggered, &remoteControl, [&remoteControl] {
        remoteControl.show();
        remoteControl.raise();
    });
    if (options->remote) {
        QString why;
        if (!remoteControl.start(*options->remote, &why))
            std::fprintf(stderr, "The remote cannot listen: %s\n", qPrintable(why));
        else
            for (const QString& address : remoteControl.server().pageAddresses())
                std::printf("%s\n", qPrintable(address));
        std::fflush(stdout);
    }
    QTimer::singleShot(kSplashMs, &splash, [&] {
        link.jobs().run([&]() -> devlink::Task<void> {
            auto transfer = editor::DeviceTransfer::Begin(link, dialogs, "reading the device");
            // The main window shows once start-up is over, not behind the splash.
            const bool loaded = co_await mainWindow.load(splash, options->demo);
            if (!loaded) {
                QApplication::exit(0);
                co_return;
            }
            transfer.reset();
            app::ShowWithRememberedGeometry(mainWindow);
            splash.close();
        });
        // Its own transfer, once start-up is over.
        if (!options->presetFile.isEmpty())
            link.jobs().run([&]() -> devlink::Task<void> {
                mainWindow.openPresetFile(options->presetFile);
                co_return;
            });
    });
    const int status = QApplication::exec();
    // Before the window and the link go: a job cut off by the end refers to them.
    jobs.abandon();
    return status;
}
