#pragma once
// A serial port in memory. Whatever is written goes to `peer` (usually the
// simulated device), whose answer becomes waiting input at once; a wait with
// nothing to come moves the fake clock on by the whole wait.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "devlink/serial_port.h"
#include "support/fake_clock.h"

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

class FakePort final : public devlink::SerialPort {
public:
    explicit FakePort(FakeClock& clock) : clock_(clock) {}

    // Answers each write; empty means silence.
    std::function<Bytes(const Bytes& written)> peer;
    // The peer's answers come one byte every 2.083 ms, starting once the
    // frame written has crossed the line, as at 4800 baud.
    bool linePace = false;
    // Runs at each wait: what else happens meanwhile (a control moved, a
    // cancel), from the loop that drives the job or, in place, inside it.
    std::function<void()> duringWait;
    // Names that do not open, and why. Every other name opens.
    std::map<std::string, devlink::PortFault> refused;
    // What the port says about a refused name ("connection refused"), when
    // not "device removed".
    std::map<std::string, std::string> refusalTexts;
    // The port fails (as when unplugged) at the next wait.
    bool breakAtNextWait = false;
    // The errno each of the next write or read calls fails with (EAGAIN,
    // EIO...), judged as the real ports judge theirs; a write is tried again
    // by the real ports' own loop.
    std::deque<int> writeRefusals;
    std::deque<int> readRefusals;

    // What happened, in order.
    std::vector<Bytes> writes;
    std::vector<std::string> opens;
    int closes = 0;
    int waits = 0;

    void deliver(const Bytes& bytes) { input_.insert(input_.end(), bytes.begin(), bytes.end()); }
    // Bytes that arrive when the clock reaches `atMs`.
    void deliverAt(std::int64_t atMs, const Bytes& bytes) { scheduled_.emplace(atMs, bytes); }
    const Bytes& input() const { return input_; }
    int readSize() const { return readSize_; }
    const std::string& name() const { return name_; }
    // Becomes `other`'s line as it stands (name, state, input still to come)
    // and adds what was done on it to this port's record; `other` is closed.
    void takeLineFrom(FakePort& other);

    bool open(const std::string& name) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void setReadSize(int bytes) override { readSize_ = bytes; }
    bool write(std::span<const std::uint8_t> bytes) override;
    int bytesWaiting() override;
    void waitForBytes(int timeoutMs) override;
    std::vector<std::uint8_t> read() override;
    void discardInput() override { input_.clear(); }
    devlink::PortFault fault() const override { return fault_; }
    std::string faultText() const override;

private:
    void arriveDue();
    // True while the line is still usable.
    bool refuse(std::deque<int>& refusals);

    FakeClock& clock_;
    bool open_ = false;
    std::string name_;
    int readSize_ = 10;
    Bytes input_;
    std::multimap<std::int64_t, Bytes> scheduled_;
    devlink::PortFault fault_ = devlink::PortFault::None;
    // A read said "not now" with bytes waiting: the line is readable, so the
    // next wait ends at once, as poll() would.
    bool readRefused_ = false;
};

}  // namespace testing_support
