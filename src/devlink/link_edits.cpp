#include "devlink/device_link.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {

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
    // A transfer holds the device and its job is under way: the edit would
    // go out between its frames.
    if (work_.busy() && jobs_.busy()) {
        work_.refuse();
        return;
    }
    // Behind a job that waits its turn: after it, in the order asked.
    if (jobs_.queued() > (drainQueued_ ? 1U : 0U) || !jobs_.busy()) {
        jobs_.run([this, payload]() -> Task<void> {
            co_await exchangeCommand(payload);
            co_await sendQueued();
        });
        return;
    }
    // An exchange is under way: right after it, coalesced.
    queueCommand(payload);
    if (drainQueued_) return;
    drainQueued_ = true;
    jobs_.run([this]() -> Task<void> {
        drainQueued_ = false;
        co_await sendQueued();
    });
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

Task<bool> DeviceLink::exchangeCommand(Payload payload) {
    commandOnLine_ = payload;
    const bool answered = co_await exchange(payload, kReplySize, kReplyTimeoutMs);
    commandOnLine_.reset();
    co_return answered;
}

Task<void> DeviceLink::sendQueued() {
    while (!queued_.empty() && !sendingBlocked()) {
        const Payload next = queued_.front();
        queued_.erase(queued_.begin());
        co_await exchangeCommand(next);
    }
    queued_.clear();
}

}  // namespace devlink
