#include "sim/fault_injector.h"

#include <algorithm>

#include "model/value_tables.h"

namespace sim {
namespace {

// Each field one step past the largest value the device ever reports.
void garble(std::vector<std::uint8_t>& report, unsigned fields) {
    if (report.size() != kFrameSize) return;
    using namespace report_field;
    constexpr int kBadFreq = model::kMaxFreqCode + 1;
    if (fields & kKind) report[0] = kGainReport - 1;
    if (fields & kChannel) report[1] = model::kChannels;
    if (fields & kRow) report[2] = model::kRowsPerChannel;
    if (fields & kFreq) {
        report[3] = static_cast<std::uint8_t>(kBadFreq / 256);
        report[4] = static_cast<std::uint8_t>(kBadFreq % 256);
    }
    if (fields & kWidth) report[5] = model::kMaxWidthCode + 1;
    if (fields & kGain) report[6] = model::kMaxGainCode + 1;
}

}  // namespace

void FaultInjector::Shape::add(const FaultAction& action) {
    const auto n = static_cast<std::size_t>(std::max(action.amount, 0));
    switch (action.kind) {
    case FaultAction::Kind::Late: lateMs += action.amount; break;
    case FaultAction::Kind::Duplicate: duplicate = true; break;
    case FaultAction::Kind::Partial: keep = std::min(keep.value_or(n), n); break;
    case FaultAction::Kind::Extra: extra += n; break;
    case FaultAction::Kind::Noise: noise += n; break;
    case FaultAction::Kind::Garbage: garbage |= static_cast<unsigned>(action.amount); break;
    case FaultAction::Kind::Burst: burst = std::max(burst, action.amount); break;
    case FaultAction::Kind::Mute:
    case FaultAction::Kind::Close:
    case FaultAction::Kind::Stall: break;
    }
}

FaultInjector::FaultInjector(SimDevice& device, FaultScript script)
    : device_(device),
      script_(std::move(script)),
      fired_(script_.faults.size(), false),
      random_(script_.seed != 0 ? script_.seed : 0x4480u) {}

template <typename Matches>
void FaultInjector::fire(Matches matches, Shape& shape, std::int64_t nowMs) {
    for (std::size_t i = 0; i < script_.faults.size(); ++i) {
        if (fired_[i] || !matches(script_.faults[i].trigger)) continue;
        fired_[i] = true;
        strike(script_.faults[i].action, shape, nowMs);
    }
}

void FaultInjector::strike(const FaultAction& action, Shape& shape, std::int64_t nowMs) {
    if (action.kind == FaultAction::Kind::Close)
        closed_ = true;
    else if (action.kind == FaultAction::Kind::Mute)
        device_.setMuted(true);
    else if (action.kind == FaultAction::Kind::Stall)
        stalledUntilMs_ = std::max(stalledUntilMs_, nowMs + action.amount);
    else
        shape.add(action);
}

void FaultInjector::advance(std::int64_t nowMs) {
    for (std::size_t i = 0; i < script_.faults.size(); ++i) {
        const Fault& f = script_.faults[i];
        if (fired_[i] || f.trigger.kind != FaultTrigger::Kind::Time || f.trigger.value > nowMs) continue;
        fired_[i] = true;
        const auto kind = f.action.kind;
        if (kind == FaultAction::Kind::Close || kind == FaultAction::Kind::Mute || kind == FaultAction::Kind::Stall) {
            Shape unused;
            strike(f.action, unused, nowMs);
        } else {
            armed_.push_back(i);
        }
    }
}

std::optional<std::int64_t> FaultInjector::nextTimeTrigger() const {
    std::optional<std::int64_t> next;
    for (std::size_t i = 0; i < script_.faults.size(); ++i) {
        const FaultTrigger& t = script_.faults[i].trigger;
        if (!fired_[i] && t.kind == FaultTrigger::Kind::Time && (!next || t.value < *next)) next = t.value;
    }
    return next;
}

void FaultInjector::takeArmed(Shape& shape, bool forReport) {
    std::erase_if(armed_, [&](std::size_t i) {
        const FaultAction& action = script_.faults[i].action;
        if (action.reportOnly() && !forReport) return false;
        shape.add(action);
        return true;
    });
}

std::vector<FaultInjector::Output> FaultInjector::receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
    advance(nowMs);
    std::vector<Output> out;
    if (closed_) return out;  // lost in a cable that leads nowhere
    for (const AssembledPiece& piece : device_.assemble(bytes)) {
        const bool isFrame = piece.kind == AssembledPiece::Kind::Frame && piece.bytes.size() == kFrameSize;
        Shape shape;
        if (isFrame) {
            const std::uint8_t code = piece.bytes[payloadOffset(1)];
            const std::int64_t frame = ++frames_;
            const std::int64_t ofCommand = ++commandFrames_[code];
            fire(
                [&](const FaultTrigger& t) {
                    return (t.kind == FaultTrigger::Kind::Frame && t.value == frame) ||
                           (t.kind == FaultTrigger::Kind::Command && t.command == code && t.value == ofCommand);
                },
                shape, nowMs);
            if (closed_) break;
        }
        // Muted by what the frame itself does, the device still sends its answer.
        const bool silent = device_.muted();
        std::vector<std::uint8_t> answer = device_.handle(piece);
        if (!isFrame || silent) continue;
        if (!answer.empty()) takeArmed(shape, false);
        sendShaped(std::move(answer), shape, nowMs, out);
    }
    return out;
}

std::vector<FaultInjector::Output> FaultInjector::takeReport(std::int64_t nowMs) {
    advance(nowMs);
    std::vector<Output> out;
    for (int left = 1, taken = 0; left > 0; --left, ++taken) {
        // A burst goes on without waiting for acknowledgements.
        if (taken > 0) device_.giveUpReport();
        if (closed_ || !device_.reportReady()) break;
        Shape shape;
        const std::int64_t next = reports_ + 1;
        fire([next](const FaultTrigger& t) { return t.kind == FaultTrigger::Kind::Report && t.value == next; }, shape,
             nowMs);
        if (closed_ || device_.muted()) break;
        ++reports_;
        std::vector<std::uint8_t> report = device_.takeReport();
        takeArmed(shape, true);
        left += shape.burst - 1;
        sendShaped(std::move(report), shape, nowMs, out);
    }
    return out;
}

void FaultInjector::sendShaped(std::vector<std::uint8_t> bytes, const Shape& shape, std::int64_t nowMs,
                               std::vector<Output>& out) {
    std::vector<std::uint8_t> sent = bytes;
    garble(bytes, shape.garbage);
    if (shape.keep && bytes.size() > *shape.keep) bytes.resize(*shape.keep);
    if (shape.duplicate) {
        const std::vector<std::uint8_t> once = bytes;
        bytes.insert(bytes.end(), once.begin(), once.end());
    }
    std::vector<std::uint8_t> wire;
    appendNoise(wire, shape.noise);
    wire.insert(wire.end(), bytes.begin(), bytes.end());
    appendNoise(wire, shape.extra);
    if (wire.empty()) return;
    lastDueMs_ = std::max(nowMs + shape.lateMs, lastDueMs_);
    out.push_back({lastDueMs_ - nowMs, std::move(wire), std::move(sent)});
}

void FaultInjector::appendNoise(std::vector<std::uint8_t>& bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        // xorshift32, as the feedback search: the same bytes with every library.
        random_ ^= random_ << 13;
        random_ ^= random_ >> 17;
        random_ ^= random_ << 5;
        bytes.push_back(static_cast<std::uint8_t>(random_ >> 24));
    }
}

}  // namespace sim
