#include "devlink/device_link.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {
namespace {

// Marks an exchange, so that a report poll while its job waits leaves the
// bytes alone.
class ExchangeScope {
public:
    explicit ExchangeScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~ExchangeScope() { flag_ = false; }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    bool& flag_;
};

// Nine byte gaps of a paced reply last 18.75 ms; bytes read in one piece
// came over a line with no pace of its own (a pseudo-terminal, a network).
constexpr std::int64_t kPacedSpanMs = 15;
// A block is taken once no further byte has come for two byte times.
constexpr std::int64_t kBlockQuietMs = 5;

std::string_view CommandName(const Payload& payload) {
    for (const CommandInfo& info : kCommandCatalogue)
        if (Code(info.command) == payload[0]) return info.name;
    return "unknown command";
}

}  // namespace

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

void DeviceLink::copyReply(std::size_t count) {
    const std::vector<std::uint8_t> taken = input_.take(count);
    std::copy_n(taken.begin(), std::min(taken.size(), reply_.size()), reply_.begin());
}

bool DeviceLink::writeFrame(const Payload& payload) {
    frameBuffer_ = BuildFrame(payload);
    trace(TraceEvent::Out, frameBuffer_, CommandName(payload));
    return port_.write(frameBuffer_);
}

bool DeviceLink::takeFramedReply(std::int64_t writtenAtMs) {
    for (;;) {
        const std::optional<std::size_t> at = FindFramedReply(input_.bytes());
        if (!at) return false;
        const std::size_t last = *at + kFrameSize - 1;
        if (input_.arrivedAt(last) - input_.arrivedAt(*at) >= kPacedSpanMs) pacedLine_ = true;
        dropInput(*at, "not a reply");
        // On a paced line the frame just written must cross it before its
        // answer can, so a frame complete sooner answered something earlier
        // (a repeated reply, one more answer to a resent frame).
        if (pacedLine_ && input_.arrivedAt(kFrameSize - 1) < writtenAtMs + 2 * kFrameLineMs - 4) {
            dropInput(kFrameSize, "stale reply");
            continue;
        }
        trace(TraceEvent::In, input_.bytes().first(kFrameSize));
        copyReply(kFrameSize);
        return true;
    }
}

bool DeviceLink::takeBlock() {
    if (input_.size() != static_cast<std::size_t>(kBlockReplySize)) return false;
    trace(TraceEvent::In, input_.bytes());
    copyReply(kBlockReplySize);
    return true;
}

bool DeviceLink::takeUnframedReply(int replySize) {
    const auto size = static_cast<std::size_t>(replySize);
    for (;;) {
        if (input_.size() < size) return false;
        // A searching device's reports are not replies, whatever the rule says.
        if (IsWellFormedReport(input_.bytes())) {
            dropInput(kReplySize, "report during an exchange");
            continue;
        }
        // A device that frames its replies sent this one: it was damaged on
        // the line, and taking it would show values the device never sent.
        const std::optional<std::size_t> start = FindFrameStart(input_.bytes().first(size));
        if (!start) break;
        dropInput(*start + kFrameSize, "damaged reply");
    }
    trace(TraceEvent::In, input_.bytes().first(size), "unframed");
    copyReply(size);
    return true;
}

DeviceLink::WaitResult DeviceLink::awaitReply(int replySize, std::int64_t limitMs, std::int64_t writtenAtMs) {
    const bool block = replySize == kBlockReplySize;
    for (;;) {
        if (cancelled_) return WaitResult::Cancelled;
        if (portBroken()) return WaitResult::Broken;
        pullInput();
        const std::int64_t elapsed = clock_.nowMs() - writtenAtMs;
        if (block) {
            // A block has no frame of its own: more bytes than a block means
            // something else spoke too, and which 160 are the block is
            // anyone's guess.
            if (input_.size() > static_cast<std::size_t>(kBlockReplySize)) return WaitResult::Garbled;
            if (input_.size() == static_cast<std::size_t>(kBlockReplySize) &&
                clock_.nowMs() - input_.arrivedAt(input_.size() - 1) >= kBlockQuietMs && takeBlock())
                return WaitResult::Arrived;
        } else if (takeFramedReply(writtenAtMs)) {
            return WaitResult::Arrived;
        }
        if (elapsed > limitMs)
            return !block && takeUnframedReply(replySize) ? WaitResult::Arrived : WaitResult::TimedOut;
        std::int64_t waitMs = limitMs - elapsed + 1;
        if (block && input_.size() == static_cast<std::size_t>(kBlockReplySize)) waitMs = kBlockQuietMs;
        port_.waitForBytes(static_cast<int>(waitMs));
    }
}

void DeviceLink::settleAfterResend(int replySize, std::int64_t writtenAtMs) {
    const std::int64_t deadline = writtenAtMs + kReplyTimeoutMs;
    for (;;) {
        if (portBroken() || cancelled_) return;
        pullInput();
        const bool answered =
            FindFramedReply(input_.bytes()).has_value() || input_.size() >= static_cast<std::size_t>(replySize);
        const std::int64_t now = clock_.nowMs();
        if (answered || now > deadline) {
            dropInput(input_.size(), "second answer to a resent frame");
            return;
        }
        port_.waitForBytes(static_cast<int>(deadline - now + 1));
    }
}

void DeviceLink::dropWhenQuiet(std::int64_t deadlineMs) {
    for (;;) {
        if (portBroken() || cancelled_) return;
        pullInput();
        const std::int64_t now = clock_.nowMs();
        const bool quiet = input_.empty() || now - input_.arrivedAt(input_.size() - 1) >= kBlockQuietMs;
        if (quiet || now > deadlineMs) {
            dropInput(input_.size(), "garbled answer");
            return;
        }
        port_.waitForBytes(static_cast<int>(kBlockQuietMs));
    }
}

bool DeviceLink::exchange(const Payload& payload, int replySize, std::int64_t limitMs) {
    ExchangeScope scope(inExchange_);
    // Nothing waiting now can answer a frame not yet written.
    pullInput();
    dropInput(input_.size(), "before a write");
    for (int writes = 1;; ++writes) {
        if (cancelled_) return false;
        const std::int64_t writtenAt = clock_.nowMs();
        if (!writeFrame(payload)) {
            lose(portLostMessage());
            return false;
        }
        switch (awaitReply(replySize, limitMs, writtenAt)) {
        case WaitResult::Arrived:
            if (writes > 1) settleAfterResend(replySize, writtenAt);
            return true;
        case WaitResult::Broken: lose(portLostMessage()); return false;
        case WaitResult::Cancelled: trace(TraceEvent::Dropped, {}, "cancelled"); return false;
        case WaitResult::Garbled:
            // Reading again changes nothing in the device; taking a guess
            // could show settings it does not have.
            dropWhenQuiet(writtenAt + limitMs);
            if (writes >= kMaxWrites) {
                lose(kGarbledBlockMessage);
                return false;
            }
            trace(TraceEvent::Resend, {}, "garbled answer");
            break;
        case WaitResult::TimedOut:
            if (writes >= kMaxWrites) {
                trace(TraceEvent::TimeOut);
                lose(kTimeOutMessage);
                return false;
            }
            trace(TraceEvent::Resend, {}, "no answer in time");
            break;  // the same frame again; what came so far stays waiting
        }
    }
}

namespace {

// Two payloads set the same parameter: the same notch, the same search
// selector's settings, the same channel's release and mode. A search start
// is never one: replaced by its channel's settings frame (the same
// selector, the run flag off) the device would never start.
bool SameParameter(const Payload& a, const Payload& b) {
    if (a[0] != b[0]) return false;
    switch (static_cast<Command>(a[0])) {
    case Command::SetNotch: return a[1] == b[1] && a[2] == b[2];
    case Command::SearchControl: return a[1] == b[1] && a[6] == 0 && b[6] == 0;
    case Command::SetReleaseMode: return a[1] == b[1];
    default: return false;
    }
}

}  // namespace

void DeviceLink::sendCommand(const Payload& payload) {
    if (sendingBlocked()) return;
    if (!jobs_.inJob()) {
        // A transfer's job waits: this comes from elsewhere (a held
        // transfer with no job is the caller itself, on a line that blocks).
        if (work_.busy() && jobs_.busy()) {
            work_.refuse();
            return;
        }
        // Behind a job that waits its turn: after it, in the order asked.
        if (jobs_.queued() > (drainQueued_ ? 1U : 0U)) {
            jobs_.run([this, payload] {
                exchangeCommand(payload);
                sendQueued();
            });
            return;
        }
        if (jobs_.busy()) {
            queueCommand(payload);
            if (!drainQueued_) {
                drainQueued_ = true;
                jobs_.run([this] {
                    drainQueued_ = false;
                    sendQueued();
                });
            }
            return;
        }
        jobs_.run([this, payload] {
            exchangeCommand(payload);
            sendQueued();
        });
        return;
    }
    // Asked for from inside an exchange of this job (a callback of its
    // wait): after that exchange, never inside it.
    if (inExchange_) {
        queueCommand(payload);
        return;
    }
    // A step of the job in progress. Edits queued meanwhile wait for the
    // job's end (the drain job behind it): nothing goes out between its frames.
    exchangeCommand(payload);
}

void DeviceLink::queueCommand(const Payload& payload) {
    const auto same = std::find_if(queued_.begin(), queued_.end(),
                                   [&payload](const Payload& q) { return SameParameter(q, payload); });
    // Moved back to the value on the line: whatever was queued since
    // would go out only to be undone by this same frame again.
    if (commandOnLine_ == payload) {
        if (same != queued_.end()) queued_.erase(same);
        return;
    }
    if (same != queued_.end())
        *same = payload;
    else
        queued_.push_back(payload);
}

void DeviceLink::exchangeCommand(const Payload& payload) {
    commandOnLine_ = payload;
    exchange(payload, kReplySize, kReplyTimeoutMs);
    commandOnLine_.reset();
}

void DeviceLink::sendQueued() {
    while (!queued_.empty() && !sendingBlocked()) {
        const Payload next = queued_.front();
        queued_.erase(queued_.begin());
        exchangeCommand(next);
    }
    queued_.clear();
}

std::optional<Block> DeviceLink::readBlock(const Payload& payload) {
    if (sendingBlocked() || !flags_.portReady || inExchange_) return std::nullopt;
    const bool arrived = exchange(payload, kBlockReplySize, kBlockTimeoutMs);
    if (!arrived) return std::nullopt;
    Block block{};
    std::copy_n(reply_.begin(), block.size(), block.begin());
    return block;
}

std::optional<Reply> DeviceLink::request(const Payload& payload) {
    if (sendingBlocked() || inExchange_) return std::nullopt;
    // The reply goes back to the caller, so the exchange runs where it is
    // asked for: inside the caller's job, or on a runner without stacks.
    // Anywhere else it would end after the caller has gone.
    if (!jobs_.inJob() && (jobs_.ownStacks() || jobs_.busy())) return std::nullopt;
    std::optional<Reply> reply;
    jobs_.run([&] {
        commandOnLine_ = payload;
        const bool arrived = exchange(payload, kReplySize, kReplyTimeoutMs);
        commandOnLine_.reset();
        if (arrived) {
            reply.emplace();
            std::copy_n(reply_.begin(), reply->size(), reply->begin());
        }
    });
    return reply;
}

bool DeviceLink::writeProbe(const Payload& payload) {
    if (sendingBlocked() || !flags_.portReady || inExchange_) return false;
    pullInput();
    dropInput(input_.size(), "before a write");
    probeWrittenAtMs_ = clock_.nowMs();
    return writeFrame(payload);
}

bool DeviceLink::awaitProbeReply() {
    if (sendingBlocked() || !flags_.portReady || inExchange_) return false;
    ExchangeScope scope(inExchange_);
    if (awaitReply(kReplySize, kReplyTimeoutMs, probeWrittenAtMs_) != WaitResult::Arrived) return false;
    return reply_[3] == kFrameTag;
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
    pullInput();
    // A stray byte ahead of a report would otherwise shift every report
    // after it; every report the device sent, known or not, waits for its
    // acknowledgement.
    const std::optional<std::size_t> noise = noiseAheadOfReport();
    if (!noise) return false;
    dropInput(*noise, "noise ahead of a report");
    if (input_.size() < static_cast<std::size_t>(kReplySize)) return false;
    trace(TraceEvent::Report, input_.bytes().first(kReplySize));
    copyReply(kReplySize);
    if (handle) handle(std::span<const std::uint8_t, kReportSize>(reply_.data(), kReportSize));
    sendNoReply(ReportAckPayload());
    return true;
}

std::optional<std::size_t> DeviceLink::noiseAheadOfReport() {
    std::optional<std::size_t> noise = NoiseAheadOfReport(input_.bytes());
    if (noise || input_.size() < static_cast<std::size_t>(kReplySize)) return noise;
    // Ten bytes and an FE or FD among them whose fields have not all come.
    // A report's bytes come back to back: a line that stays quiet for a
    // frame time sent one report of a kind this program does not know.
    // Until then nothing is decided and nothing waited for here (in the
    // editor a wait would run the event loop inside the poll): the caller
    // polls again when more bytes come or the frame time is over.
    const std::int64_t quietMs = clock_.nowMs() - input_.arrivedAt(input_.size() - 1);
    return quietMs >= kFrameLineMs ? std::optional<std::size_t>(0) : std::nullopt;
}

bool DeviceLink::beginReconnect() {
    if (!ended_ || flags_.demoMode) return false;
    reconnecting_ = false;
    if (!openPort(portNumber_)) return false;
    setReceiveSize(kReplySize);
    if (!flags_.portReady || !writeFrame(ProbePayload())) return false;
    reconnecting_ = true;
    return true;
}

bool DeviceLink::finishReconnect() {
    if (!reconnecting_) return false;
    if (port_.fault() == PortFault::Broken || !port_.isOpen()) {
        reconnecting_ = false;
        return false;
    }
    pullInput();
    const std::optional<std::size_t> at = FindFramedReply(input_.bytes());
    if (!at) return false;
    dropInput(*at, "not a reply");
    copyReply(kFrameSize);
    if (reply_[3] != kFrameTag) return false;
    reconnecting_ = false;
    ended_ = false;
    trace(TraceEvent::In, std::span(reply_).first(kFrameSize), "the device answers again");
    return true;
}

void DeviceLink::resumeForConnect() {
    if (!ended_) return;
    reconnecting_ = false;
    closePort();
    ended_ = false;
}

void DeviceLink::resumeLoss(int lostPort) {
    closePort();
    reconnecting_ = false;
    portNumber_ = lostPort;
    portName_ = ports_.name(lostPort).value_or(std::string());
    ended_ = true;
}

void DeviceLink::dropIdleInput() {
    if (flags_.demoMode || ended_ || inExchange_) return;
    // An adapter unplugged (or a connection dropped) while nothing was sent:
    // say so now rather than at the next edit.
    if (port_.fault() == PortFault::Broken) {
        lose(portLostMessage());
        return;
    }
    if (!port_.isOpen()) return;
    pullInput();
    dropInput(input_.size(), "nobody waits for it");
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
    trace(TraceEvent::PortError, {}, message);
    // A broken port can report errors in a tight loop; a timed-out one is
    // left as it is, the program ends either way.
    if (port_.fault() == PortFault::Broken && port_.isOpen()) port_.close();
    end_.linkLost(message);
}

}  // namespace devlink
