#include "devlink/job_wait_port.h"

#include <QTimer>
#include <algorithm>

namespace devlink {

void JobWaitPort::waitForBytes(int timeoutMs) {
    if (!port_.isOpen()) return;
    if (!jobs_.canSuspend()) {
        ++waitsInPlace_;
        port_.waitForBytes(timeoutMs);
        return;
    }
    QTimer deadline;
    deadline.setSingleShot(true);
    // The connections end with the timer, when this wait returns.
    const auto wake = [this] { jobs_.wake(); };
    QObject::connect(&deadline, &QTimer::timeout, &deadline, wake);
    QObject::connect(&port_, &AnyPort::bytesArrived, &deadline, wake);
    QObject::connect(&port_, &AnyPort::broken, &deadline, wake);
    deadline.start(std::max(timeoutMs, 0));
    jobs_.suspend();
}

JobRunner::Post PostThrough(QObject& context) {
    return [&context](std::function<void()> call) {
        QMetaObject::invokeMethod(&context, std::move(call), Qt::QueuedConnection);
    };
}

}  // namespace devlink
