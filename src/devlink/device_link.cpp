#include "devlink/device_link.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {
namespace {

// Marks a blocking exchange so that a report notifier firing inside the wait
// knows to leave the bytes alone.
class ExchangeScope {
public:
    explicit ExchangeScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~ExchangeScope() { flag_ = false; }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

DeviceLink::DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports)
    : port_(port), clock_(clock), end_(end), ports_(std::move(ports)) {}

bool DeviceLink::openPort(int portNumber) {
    if (port_.isOpen()) port_.close();
    portNumber_ = portNumber;
    flags_.portReady = false;
    const auto name = ports_.name(portNumber);
    portName_ = name.value_or(std::string());
    if (!name) {
        lastOpenFault_ = PortFault::NotFound;
        return false;
    }
    flags_.portReady = port_.open(*name);
    lastOpenFault_ = flags_.portReady ? PortFault::None : port_.fault();
    // Bytes left on the line from an earlier session (a report sent after the
    // last program ended) would be taken as the probe's answer.
    if (flags_.portReady) port_.discardInput();
    return flags_.portReady;
}

void DeviceLink::closePort() {
    if (port_.isOpen()) port_.close();
    flags_.portReady = false;
}

std::string DeviceLink::portDescription() const {
    std::string text = "port " + std::to_string(portNumber_);
    if (!portName_.empty()) text += " (" + portName_ + ")";
    return text;
}

int DeviceLink::bytesWaiting() {
    return port_.isOpen() ? port_.bytesWaiting() : 0;
}

void DeviceLink::setReceiveSize(int bytes) {
    if (flags_.demoMode || ended_ || portName_.empty()) return;
    port_.close();
    port_.setReadSize(bytes);
    flags_.portReady = port_.open(portName_);
}

bool DeviceLink::writeFrame(const Payload& payload) {
    frameBuffer_ = BuildFrame(payload);
    return port_.write(frameBuffer_);
}

DeviceLink::WaitResult DeviceLink::waitFor(int count, std::int64_t limitMs, std::int64_t startMs) {
    for (;;) {
        const std::int64_t elapsed = clock_.nowMs() - startMs;
        if (elapsed > limitMs) return WaitResult::TimedOut;
        if (port_.fault() == PortFault::Broken || !port_.isOpen()) return WaitResult::Broken;
        if (port_.bytesWaiting() >= count) return WaitResult::Arrived;
        port_.waitForBytes(static_cast<int>(limitMs - elapsed + 1));
    }
}

void DeviceLink::copyInput(int count) {
    const std::vector<std::uint8_t> input = port_.read();
    const auto copied = std::min<std::size_t>({input.size(), static_cast<std::size_t>(count), reply_.size()});
    std::copy_n(input.begin(), copied, reply_.begin());
    port_.discardInput();
}

bool DeviceLink::exchange(const Payload& payload, int replySize, std::int64_t limitMs) {
    ExchangeScope scope(inExchange_);
    for (int writes = 1;; ++writes) {
        if (!writeFrame(payload)) {
            lose(portLostMessage());
            return false;
        }
        switch (waitFor(replySize, limitMs, clock_.nowMs())) {
        case WaitResult::Arrived:
            copyInput(replySize);
            return true;
        case WaitResult::Broken:
            lose(portLostMessage());
            return false;
        case WaitResult::TimedOut:
            if (writes >= kMaxWrites) {
                lose(kTimeOutMessage);
                return false;
            }
            break;  // the same frame again; what came so far stays waiting
        }
    }
}

void DeviceLink::sendCommand(const Payload& payload) {
    if (sendingBlocked()) return;
    exchange(payload, kReplySize, kReplyTimeoutMs);
}

bool DeviceLink::readBlock(const Payload& payload) {
    if (sendingBlocked() || !flags_.portReady) return false;
    return exchange(payload, kBlockReplySize, kBlockTimeoutMs);
}

bool DeviceLink::probeDevice(const Payload& payload) {
    if (sendingBlocked() || !flags_.portReady) return false;
    ExchangeScope scope(inExchange_);
    if (!writeFrame(payload)) return false;
    if (waitFor(kReplySize, kReplyTimeoutMs, clock_.nowMs()) != WaitResult::Arrived) return false;
    copyInput(kReplySize);
    return reply_[3] == kFrameTag;
}

void DeviceLink::sendNoReply(const Payload& payload) {
    if (sendingBlocked()) return;
    if (!writeFrame(payload)) lose(portLostMessage());
}

bool DeviceLink::pollSearchReports(const ReportHandler& handle) {
    if (flags_.demoMode || ended_ || inExchange_) return false;
    // An adapter unplugged during a search closes the port; say so now
    // rather than at the next edit.
    if (port_.fault() == PortFault::Broken) {
        lose(portLostMessage());
        return false;
    }
    if (!port_.isOpen()) return false;
    if (port_.bytesWaiting() < kReplySize) return false;
    copyInput(kReportSize);
    if (handle) handle(std::span<const std::uint8_t, kReportSize>(reply_.data(), kReportSize));
    sendNoReply(ReportAckPayload());
    return true;
}

std::string DeviceLink::portLostMessage() const {
    std::string message = "The connection to the device on " + portDescription() + " was lost";
    const std::string reason = port_.faultText();
    if (!reason.empty()) message += " (" + reason + ")";
    message += ". Check the cable and the serial adapter, then start the program again.";
    return message;
}

void DeviceLink::lose(const std::string& message) {
    if (ended_) return;
    ended_ = true;
    // A broken port can report errors in a tight loop; a timed-out one is
    // left as it is, the program ends either way.
    if (port_.fault() == PortFault::Broken && port_.isOpen()) port_.close();
    end_.linkLost(message);
}

}  // namespace devlink
