#pragma once
// The editor arranged as main() arranges it (jobs driven from the event
// loop, their waits handing it back, the port search through its own
// ports, reports taken from the event loop), with answering dialogs and a
// link end that counts losses.
#include <QEventLoop>
#include <QPushButton>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/report_watcher.h"
#include "app/splash_window.h"
#include "bench/support/quiet_services.h"
#include "devlink/any_port_factory.h"
#include "devlink/job_wait_port.h"
#include "editor/parameter_editor.h"

namespace bench_support {

class CountingEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string& message) override {
        ++losses;
        lastMessage = message;
        if (onLost) onLost();
    }
    int losses = 0;
    std::string lastMessage;
    std::function<void()> onLost;
};

struct ProgramRig {
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;
    // A job still waiting refers to the window and the port.
    ~ProgramRig() { jobs.abandon(); }
    explicit ProgramRig(const std::string& portList) {
        link.emplace(waiting, clock, end, devlink::PortTable::fromList(portList, ':'), jobs);
        // QRN_BENCH_BLOCKING=1: the waits block in place instead, the
        // window standing still: what handing the loop back costs, if anything.
        if (qEnvironmentVariableIntValue("QRN_BENCH_BLOCKING") != 1) jobs.driveFromLoop(devlink::PostThrough(port));
        link->setPortFactory(&factory);
        window.emplace(session, *link, dialogs);
        end.onLost = [this] { window->goOffline(); };
        watcher.emplace(port, *link, [this] { window->pollSearchReports(); });
        session.startDir = "/tmp";
        session.applicationDir = "/tmp";
    }
    // Runs `work` as one job and lets the event loop run until no job is
    // left, as the program's window does.
    // (A plain event loop: QTest::qWaitFor polls every 10 ms, which would
    // be counted as the link's.)
    void runJob(devlink::JobRunner::Job work) {
        jobs.run(std::move(work));
        waitUntilIdle();
    }
    void waitUntilIdle() {
        if (!jobs.busy()) return;
        QEventLoop loop;
        const auto watch = link->work().watch([&](devlink::DeviceWork::WorkEvent event) {
            if (event == devlink::DeviceWork::WorkEvent::Free && !jobs.busy()) loop.quit();
        });
        loop.exec();
    }
    devlink::AnyPort port;
    devlink::JobRunner jobs;
    devlink::JobWaitPort waiting{port, jobs};
    devlink::AnyPortFactory factory{port, jobs};
    devlink::SteadyClock clock;
    YesDialogs dialogs;
    CountingEnd end;
    app::Session session;
    std::optional<devlink::DeviceLink> link;
    std::optional<app::MainWindow> window;
    std::optional<app::ReportWatcher> watcher;
    app::SplashWindow splash;
};

}  // namespace bench_support
