#pragma once
// The few things the frame exchange needs from a serial port. One
// implementation wraps QSerialPort; tests put a fake with the simulated
// device behind it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace devlink {

enum class PortFault {
    None,
    NotFound,    // nothing of that name
    Permission,  // exists, but this user may not open it
    InUse,       // another program holds it open (or its lock file)
    OpenFailed,  // any other reason it would not open
    Broken,      // failed while in use (an unplugged adapter)
};

class JobRunner;

// A port whose waits end from an event loop instead of blocking: it wakes
// the waiting job when bytes arrive, the port fails or the time is up.
class WakingPort {
public:
    // The runner whose jobs wait on this port.
    virtual JobRunner& waitingJobs() = 0;
    // Until stopWaking(): wakes waitingJobs() once something happens.
    virtual void wakeOn(int timeoutMs) = 0;
    virtual void stopWaking() = 0;

protected:
    ~WakingPort() = default;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the named port at 4800 baud, 8 data bits, no parity, 1 stop bit.
    virtual bool open(const std::string& name) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The most bytes one read returns (10, or 160 around a block read).
    virtual void setReadSize(int bytes) = 0;

    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    virtual int bytesWaiting() = 0;
    // Returns when more bytes arrive, the time is up or the port fails.
    virtual void waitForBytes(int timeoutMs) = 0;
    // The editor's port: a job awaits it from the event loop, which keeps
    // the window painting meanwhile. None: waits block in place.
    virtual WakingPort* waking() { return nullptr; }
    // At most the read size.
    virtual std::vector<std::uint8_t> read() = 0;
    virtual void discardInput() = 0;

    virtual PortFault fault() const = 0;
    virtual std::string faultText() const = 0;
};

}  // namespace devlink
