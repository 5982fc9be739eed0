#pragma once
// Device reports are taken when their bytes arrive, from the event loop and
// never from inside a blocking wait: QSerialPort announces new bytes even
// while an exchange waits, so the take is queued until the loop runs again.
// Nothing runs while the line is quiet (but one take a frame time after
// ten bytes that may still become a report). A port failing in use is handled the
// same way, so an unplugged adapter is reported during a search at once.
#include <QObject>
#include <functional>

#include "devlink/any_port.h"
#include "devlink/device_link.h"

namespace app {

class ReportWatcher : public QObject {
    Q_OBJECT
public:
    ReportWatcher(devlink::AnyPort& port, devlink::DeviceLink& link, std::function<void()> take,
                  QObject* parent = nullptr);

private:
    void bytesArrived();

    devlink::DeviceLink& link_;
    std::function<void()> take_;
    // Reports kept while an exchange had the line are taken once it is over.
    devlink::DeviceWork::Watch workWatch_;
    bool queued_ = false;
};

}  // namespace app
