#include "devlink/device_link.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {

std::string_view TraceEventName(TraceEvent event) {
    switch (event) {
    case TraceEvent::Out: return "out";
    case TraceEvent::In: return "in";
    case TraceEvent::Report: return "report";
    case TraceEvent::Dropped: return "dropped";
    case TraceEvent::Resend: return "resend";
    case TraceEvent::TimeOut: return "time-out";
    case TraceEvent::PortError: return "port-error";
    }
    return "?";
}

DeviceLink::DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports)
    : DeviceLink(port, clock, end, std::move(ports), std::make_unique<JobRunner>(), nullptr) {}

DeviceLink::DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports, JobRunner& jobs)
    : DeviceLink(port, clock, end, std::move(ports), nullptr, &jobs) {}

DeviceLink::DeviceLink(SerialPort& port, MonotonicClock& clock, LinkEnd& end, PortTable ports,
                       std::unique_ptr<JobRunner> own, JobRunner* shared)
    : port_(port),
      clock_(clock),
      end_(end),
      ports_(std::move(ports)),
      ownJobs_(std::move(own)),
      jobs_(shared ? *shared : *ownJobs_) {
    jobs_.setWhenIdle([this] {
        cancelled_ = false;
        work_.tellIdle();
    });
    jobs_.setWhenFailed([this](const std::string& why) {
        trace(TraceEvent::Dropped, {}, "device work ended by an error: " + why);
        if (whenJobFailed_) whenJobFailed_(why);
    });
}

void DeviceLink::cancelJobs() {
    if (!jobs_.busy()) return;
    cancelled_ = true;
    queued_.clear();
    jobs_.dropQueued();
    if (!jobs_.busy()) {
        // Only queued jobs were left (one had ended, the next not yet
        // started): nothing is left to end, and nothing will say so.
        cancelled_ = false;
        work_.tellIdle();
        return;
    }
    jobs_.wake();
}

bool DeviceLink::openPort(int portNumber) {
    if (port_.isOpen()) port_.close();
    portNumber_ = portNumber;
    flags_.portReady = false;
    pacedLine_ = false;
    input_.take(input_.size());
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

int DeviceLink::bytesWaiting() { return static_cast<int>(input_.size()) + (port_.isOpen() ? port_.bytesWaiting() : 0); }

void DeviceLink::setReceiveSize(int bytes) {
    if (flags_.demoMode || ended_ || portName_.empty()) return;
    // Closing a connection to change how much one read takes would drop
    // what is on its way and make the server accept a new client.
    if (IsNetworkPortName(portName_) && port_.isOpen()) {
        port_.setReadSize(bytes);
        return;
    }
    port_.close();
    port_.setReadSize(bytes);
    flags_.portReady = port_.open(portName_);
}

void DeviceLink::trace(TraceEvent event, std::span<const std::uint8_t> bytes, std::string_view note) {
    if (trace_) trace_->record(clock_.nowMs(), event, bytes, note);
}

void DeviceLink::pullInput() {
    while (port_.isOpen() && port_.bytesWaiting() > 0) {
        const std::vector<std::uint8_t> chunk = port_.read();
        if (chunk.empty()) break;
        const std::size_t overflow = input_.size() + chunk.size() > kMaxHeldInput
                                         ? std::min(input_.size(), input_.size() + chunk.size() - kMaxHeldInput)
                                         : 0;
        if (overflow > 0) dropInput(overflow, "more input than any answer");
        input_.append(chunk, clock_.nowMs());
    }
}

void DeviceLink::dropInput(std::size_t count, std::string_view why) {
    if (count == 0) return;
    const std::vector<std::uint8_t> dropped = input_.take(count);
    trace(TraceEvent::Dropped, dropped, why);
}

void DeviceLink::dropKeepingReports(std::size_t count, std::string_view why) {
    count = std::min(count, input_.size());
    while (reportsExpected_ && count >= static_cast<std::size_t>(kReplySize)) {
        // The first whole report among the bytes, if any: what lies ahead
        // of it is noise.
        std::size_t at = 0;
        while (at + kReplySize <= count && !IsWellFormedReport(input_.bytes().subspan(at, kReplySize))) ++at;
        if (at + kReplySize > count) break;
        dropInput(at, why);
        const std::vector<std::uint8_t> report = input_.take(kReplySize);
        Reply kept{};
        std::copy_n(report.begin(), kept.size(), kept.begin());
        keptReports_.push_back(kept);
        trace(TraceEvent::Dropped, {}, "a report kept for after the exchange");
        count -= at + kReplySize;
    }
    dropInput(count, why);
}

void DeviceLink::noteSearchState(const Payload& payload) {
    if (payload[0] != Code(Command::SearchControl)) return;
    // The run flag: on, the device searches and reports until a frame
    // with it off has been answered.
    reportsExpected_ = payload[6] != 0;
}

void DeviceLink::copyReply(std::size_t count) {
    const std::vector<std::uint8_t> taken = input_.take(count);
    std::copy_n(taken.begin(), std::min(taken.size(), reply_.size()), reply_.begin());
}

void DeviceLink::adoptLineOf(DeviceLink& prober) {
    if (!portFactory_) return;
    if (port_.isOpen()) port_.close();
    portFactory_->handOver(prober.port_);
    portNumber_ = prober.portNumber_;
    portName_ = prober.portName_;
    lastOpenFault_ = PortFault::None;
    flags_.portReady = port_.isOpen();
    pacedLine_ = prober.pacedLine_;
    reply_ = prober.reply_;
    input_ = std::move(prober.input_);
    prober.input_ = LineInput();
    prober.flags_.portReady = false;
}

std::string DeviceLink::portLostMessage() const {
    std::string message = "The connection to the device on " + portDescription() + " was lost";
    const std::string reason = port_.faultText();
    if (!reason.empty()) message += " (" + reason + ")";
    message +=
        ". Check the cable and the serial adapter: the editor keeps your settings and reconnects by itself "
        "when the device answers again.";
    return message;
}

void DeviceLink::lose(const std::string& message) {
    if (ended_) return;
    ended_ = true;
    // Whatever the device does when it answers again, it is read anew.
    keptReports_.clear();
    reportsExpected_ = false;
    trace(TraceEvent::PortError, {}, message);
    // A broken port can report errors in a tight loop; a timed-out one is
    // left as it is, the program ends either way.
    if (port_.fault() == PortFault::Broken && port_.isOpen()) port_.close();
    end_.linkLost(message);
}

}  // namespace devlink
