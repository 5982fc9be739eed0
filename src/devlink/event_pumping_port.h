#pragma once
// A port whose waits keep the window alive: while the link waits for the
// device, paint events, timers and queued calls run, so the window repaints
// and progress moves. User input is held back for the wait (it is taken,
// or refused, once the exchange is over), so no click can start another
// exchange in the middle of one.
#include <QObject>
#include <memory>

#include "devlink/any_port.h"

namespace devlink {

class EventPumpingPort final : public SerialPort {
public:
    explicit EventPumpingPort(AnyPort& port) : port_(port) {}
    // Owns its port (one of several the port search probes at once).
    explicit EventPumpingPort(std::unique_ptr<AnyPort> port) : owned_(std::move(port)), port_(*owned_) {}

    AnyPort& line() { return port_; }

    bool open(const std::string& name) override { return port_.open(name); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    void setReadSize(int bytes) override { port_.setReadSize(bytes); }
    bool write(std::span<const std::uint8_t> bytes) override { return port_.write(bytes); }
    int bytesWaiting() override { return port_.bytesWaiting(); }
    // Returns when bytes arrive, the port fails or the time is up.
    void waitForBytes(int timeoutMs) override;
    std::vector<std::uint8_t> read() override { return port_.read(); }
    void discardInput() override { port_.discardInput(); }
    PortFault fault() const override { return port_.fault(); }
    std::string faultText() const override { return port_.faultText(); }

private:
    std::unique_ptr<AnyPort> owned_;
    AnyPort& port_;
};

}  // namespace devlink
