#pragma once
// The program's waits for something to happen, with Qt's event loop running
// meanwhile: the pages of `serve` are served and the waits of its device
// work go on there. Nothing wakes the program while all is quiet.
#include <QObject>

#include "cli/stop_signals.h"
#include "devlink/any_port.h"
#include "devlink/job_runner.h"

class QEventLoop;

namespace cli {

class ActivityWait final : public QObject {
public:
    ActivityWait(devlink::AnyPort& port, StopSignals& stops, const devlink::JobRunner& jobs)
        : port_(port), stops_(stops), jobs_(jobs) {}

    // Returns when bytes arrive, the port fails, Ctrl+C or SIGTERM comes,
    // wake() is called or `timeoutMs` have passed.
    void wait(int timeoutMs);
    // Returns at wake() alone: the program is stopping and waits for the
    // device work in progress to end.
    void waitForWake();
    // Ends the wait in progress. Everything runs on this one thread, so
    // what it tells of (a job's end) can only happen inside a wait.
    void wake();

private:
    void runLoop(int timeoutMs, bool onActivity);

    devlink::AnyPort& port_;
    StopSignals& stops_;
    const devlink::JobRunner& jobs_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace cli
