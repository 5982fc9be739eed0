#include "devlink/job_wait_port.h"

#include <algorithm>

namespace devlink {

void JobWaitPort::waitForBytes(int timeoutMs) {
    if (!port_.isOpen()) return;
    ++waitsInPlace_;
    port_.waitForBytes(timeoutMs);
}

void JobWaitPort::wakeOn(int timeoutMs) {
    stopWaking();
    if (!port_.isOpen()) {
        // Nothing can arrive: the job finds the port closed at once.
        timeoutMs = 0;
    }
    deadline_ = std::make_unique<QTimer>();
    deadline_->setSingleShot(true);
    const auto wake = [this] { jobs_.wake(); };
    QObject::connect(deadline_.get(), &QTimer::timeout, deadline_.get(), wake);
    QObject::connect(&port_, &AnyPort::bytesArrived, deadline_.get(), wake);
    QObject::connect(&port_, &AnyPort::broken, deadline_.get(), wake);
    deadline_->start(std::max(timeoutMs, 0));
}

void JobWaitPort::stopWaking() { deadline_.reset(); }

JobRunner::Post PostThrough(QObject& context) {
    return [&context](std::function<void()> call) {
        QMetaObject::invokeMethod(&context, std::move(call), Qt::QueuedConnection);
    };
}

}  // namespace devlink
