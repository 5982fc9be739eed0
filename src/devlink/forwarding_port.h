#pragma once
// A port that hands every call on to another one: the base of ports that
// change one thing about a line (how a wait waits, what is counted) and
// leave the rest as it is.
#include "devlink/serial_port.h"

namespace devlink {

class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(SerialPort& line) : line_(line) {}

    bool open(const std::string& name) override { return line_.open(name); }
    void close() override { line_.close(); }
    bool isOpen() const override { return line_.isOpen(); }
    void setReadSize(int bytes) override { line_.setReadSize(bytes); }
    bool write(std::span<const std::uint8_t> bytes) override { return line_.write(bytes); }
    int bytesWaiting() override { return line_.bytesWaiting(); }
    void waitForBytes(int timeoutMs) override { line_.waitForBytes(timeoutMs); }
    WakingPort* waking() override { return line_.waking(); }
    std::vector<std::uint8_t> read() override { return line_.read(); }
    void discardInput() override { line_.discardInput(); }
    PortFault fault() const override { return line_.fault(); }
    std::string faultText() const override { return line_.faultText(); }

private:
    SerialPort& line_;
};

}  // namespace devlink
