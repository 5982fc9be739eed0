#include "cli/activity_wait.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace cli {

void WaitForActivity(devlink::AnyPort& port, StopSignals& stops, int timeoutMs) {
    if (stops.requested() || !port.isOpen()) return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&port, &devlink::AnyPort::bytesArrived, &loop, &QEventLoop::quit);
    QObject::connect(&port, &devlink::AnyPort::broken, &loop, &QEventLoop::quit);
    QObject::connect(&stops, &StopSignals::raised, &loop, &QEventLoop::quit);
    deadline.start(std::max(timeoutMs, 0));
    loop.exec();
}

}  // namespace cli
