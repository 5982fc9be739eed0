#pragma once
// More port objects of the kind the link uses, so that the port search can
// probe every candidate at once instead of one after the other.
#include <memory>

#include "devlink/serial_port.h"

namespace devlink {

class PortFactory {
public:
    virtual ~PortFactory() = default;
    // A port object of its own, closed, whose waits behave like the link's.
    virtual std::unique_ptr<SerialPort> makePort() = 0;
    // The link's own port takes over the open line of a port made here (the
    // one the device answered on), so the device sees no new open and no
    // second probe; `made` is left closed.
    virtual void handOver(SerialPort& made) = 0;
};

}  // namespace devlink
