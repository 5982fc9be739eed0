#include "cli/activity_wait.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace cli {

void ActivityWait::wait(int timeoutMs) {
    if (stops_.requested()) return;
    runLoop(std::max(timeoutMs, 0), true);
}

void ActivityWait::waitForWake() { runLoop(-1, false); }

void ActivityWait::wake() {
    if (loop_) loop_->quit();
}

void ActivityWait::runLoop(int timeoutMs, bool onActivity) {
    // Inside a job the loop would resume jobs, this one among them, from
    // within its own code.
    if (jobs_.running()) {
        Q_ASSERT_X(false, "ActivityWait", "an event loop asked for inside a job");
        qWarning("qrn4480: an event loop was refused inside a job");
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (onActivity) {
        // A closed port sends nothing: the deadline or a signal ends the wait.
        QObject::connect(&port_, &devlink::AnyPort::bytesArrived, &loop, &QEventLoop::quit);
        QObject::connect(&port_, &devlink::AnyPort::broken, &loop, &QEventLoop::quit);
        QObject::connect(&stops_, &StopSignals::raised, &loop, &QEventLoop::quit);
    }
    if (timeoutMs >= 0) deadline.start(timeoutMs);
    QEventLoop* const outer = std::exchange(loop_, &loop);
    loop.exec();
    loop_ = outer;
}

}  // namespace cli
