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
        dropKeepingReports(*at, "not a reply");
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
            dropKeepingReports(kReplySize, "report during an exchange");
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

Task<DeviceLink::WaitResult> DeviceLink::awaitReply(int replySize, std::int64_t limitMs, std::int64_t writtenAtMs) {
    const bool block = replySize == kBlockReplySize;
    for (;;) {
        if (cancelled_) co_return WaitResult::Cancelled;
        if (portBroken()) co_return WaitResult::Broken;
        pullInput();
        const std::int64_t elapsed = clock_.nowMs() - writtenAtMs;
        if (block) {
            // A block has no frame of its own: more bytes than a block means
            // something else spoke too, and which 160 are the block is
            // anyone's guess.
            if (input_.size() > static_cast<std::size_t>(kBlockReplySize)) co_return WaitResult::Garbled;
            if (input_.size() == static_cast<std::size_t>(kBlockReplySize) &&
                clock_.nowMs() - input_.arrivedAt(input_.size() - 1) >= kBlockQuietMs && takeBlock())
                co_return WaitResult::Arrived;
        } else if (takeFramedReply(writtenAtMs)) {
            co_return WaitResult::Arrived;
        }
        if (elapsed > limitMs)
            co_return !block && takeUnframedReply(replySize) ? WaitResult::Arrived : WaitResult::TimedOut;
        std::int64_t waitMs = limitMs - elapsed + 1;
        if (block && input_.size() == static_cast<std::size_t>(kBlockReplySize)) waitMs = kBlockQuietMs;
        co_await bytesOrTime(waitMs);
    }
}

Task<void> DeviceLink::settleAfterResend(int replySize, std::int64_t writtenAtMs) {
    const std::int64_t deadline = writtenAtMs + kReplyTimeoutMs;
    for (;;) {
        if (portBroken() || cancelled_) co_return;
        pullInput();
        const bool answered =
            FindFramedReply(input_.bytes()).has_value() || input_.size() >= static_cast<std::size_t>(replySize);
        const std::int64_t now = clock_.nowMs();
        if (answered || now > deadline) {
            dropInput(input_.size(), "second answer to a resent frame");
            co_return;
        }
        co_await bytesOrTime(deadline - now + 1);
    }
}

Task<void> DeviceLink::dropWhenQuiet(std::int64_t deadlineMs) {
    for (;;) {
        if (portBroken() || cancelled_) co_return;
        pullInput();
        const std::int64_t now = clock_.nowMs();
        const bool quiet = input_.empty() || now - input_.arrivedAt(input_.size() - 1) >= kBlockQuietMs;
        if (quiet || now > deadlineMs) {
            dropInput(input_.size(), "garbled answer");
            co_return;
        }
        co_await bytesOrTime(kBlockQuietMs);
    }
}

Task<bool> DeviceLink::exchange(Payload payload, int replySize, std::int64_t limitMs) {
    const ExchangeScope scope(inExchange_);
    // Nothing waiting now can answer a frame not yet written.
    pullInput();
    dropKeepingReports(input_.size(), "before a write");
    for (int writes = 1;; ++writes) {
        if (cancelled_) co_return false;
        const std::int64_t writtenAt = clock_.nowMs();
        // A search started may report before its reply has come.
        if (payload[0] == Code(Command::SearchControl) && payload[6] != 0) reportsExpected_ = true;
        if (!writeFrame(payload)) {
            lose(portLostMessage());
            co_return false;
        }
        const WaitResult waited = co_await awaitReply(replySize, limitMs, writtenAt);
        switch (waited) {
        case WaitResult::Arrived:
            noteSearchState(payload);
            if (writes > 1) co_await settleAfterResend(replySize, writtenAt);
            co_return true;
        case WaitResult::Broken: lose(portLostMessage()); co_return false;
        case WaitResult::Cancelled: trace(TraceEvent::Dropped, {}, "cancelled"); co_return false;
        case WaitResult::Garbled:
            // Reading again changes nothing in the device; taking a guess
            // could show settings it does not have.
            co_await dropWhenQuiet(writtenAt + limitMs);
            if (writes >= kMaxWrites) {
                lose(kGarbledBlockMessage);
                co_return false;
            }
            trace(TraceEvent::Resend, {}, "garbled answer");
            break;
        case WaitResult::TimedOut:
            if (writes >= kMaxWrites) {
                trace(TraceEvent::TimeOut);
                lose(kTimeOutMessage);
                co_return false;
            }
            trace(TraceEvent::Resend, {}, "no answer in time");
            break;  // the same frame again; what came so far stays waiting
        }
    }
}

Task<std::optional<Block>> DeviceLink::readBlock(Payload payload) {
    if (sendingBlocked() || !flags_.portReady || inExchange_) co_return std::nullopt;
    const bool arrived = co_await exchange(payload, kBlockReplySize, kBlockTimeoutMs);
    if (!arrived) co_return std::nullopt;
    Block block{};
    std::copy_n(reply_.begin(), block.size(), block.begin());
    co_return block;
}

Task<std::optional<Reply>> DeviceLink::request(Payload payload) {
    if (sendingBlocked() || inExchange_) co_return std::nullopt;
    // Its reply goes back to the caller as a value: nothing of it is read
    // from the shared buffer later.
    commandOnLine_ = payload;
    const bool arrived = co_await exchange(payload, kReplySize, kReplyTimeoutMs);
    commandOnLine_.reset();
    if (!arrived) co_return std::nullopt;
    Reply reply{};
    std::copy_n(reply_.begin(), reply.size(), reply.begin());
    co_return reply;
}

Task<bool> DeviceLink::command(Payload payload) {
    if (sendingBlocked()) co_return false;
    co_return co_await exchangeCommand(payload);
}

Task<bool> DeviceLink::commands(std::vector<Payload> frames) {
    for (const Payload& frame : frames) {
        const bool answered = co_await command(frame);
        if (!answered) co_return false;
    }
    co_return true;
}

bool DeviceLink::writeProbe(const Payload& payload) {
    if (sendingBlocked() || !flags_.portReady || inExchange_) return false;
    pullInput();
    dropInput(input_.size(), "before a write");
    probeWrittenAtMs_ = clock_.nowMs();
    return writeFrame(payload);
}

Task<bool> DeviceLink::awaitProbeReply() {
    if (sendingBlocked() || !flags_.portReady || inExchange_) co_return false;
    const ExchangeScope scope(inExchange_);
    const WaitResult waited = co_await awaitReply(kReplySize, kReplyTimeoutMs, probeWrittenAtMs_);
    if (waited != WaitResult::Arrived) co_return false;
    co_return reply_[3] == kFrameTag;
}

Task<bool> DeviceLink::probeDevice(Payload payload) {
    if (!writeProbe(payload)) co_return false;
    co_return co_await awaitProbeReply();
}

Task<void> DeviceLink::bytesOrTime(std::int64_t timeoutMs) {
    const int waitMs = static_cast<int>(std::max<std::int64_t>(timeoutMs, 0));
    WakingPort* const waking = port_.waking();
    if (!waking || !waking->waitingJobs().fromLoop()) {
        port_.waitForBytes(waitMs);
        co_return;
    }
    // Disarmed however the wait ends, the job's frames destroyed with it.
    struct Armed {
        WakingPort& port;
        ~Armed() { port.stopWaking(); }
    } const armed{*waking};
    waking->wakeOn(waitMs);
    co_await waking->waitingJobs().untilWoken();
}

void DeviceLink::sendNoReply(const Payload& payload) {
    if (sendingBlocked()) return;
    if (!writeFrame(payload)) lose(portLostMessage());
}

}  // namespace devlink
