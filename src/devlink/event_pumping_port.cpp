#include "devlink/event_pumping_port.h"

#include <QEventLoop>
#include <QTimer>

namespace devlink {

void EventPumpingPort::waitForBytes(int timeoutMs) {
    if (!port_.isOpen()) return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&port_, &AnyPort::bytesArrived, &loop, &QEventLoop::quit);
    QObject::connect(&port_, &AnyPort::broken, &loop, &QEventLoop::quit);
    deadline.start(std::max(timeoutMs, 0));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace devlink
