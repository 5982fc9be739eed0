#include "sim/line_pacer.h"

#include <algorithm>

namespace sim {

void LinePacer::enqueue(Queue& q, std::span<const std::uint8_t> bytes, Clock::time_point now) const {
    // Each byte is timed from the one before, not from when it was handed
    // over, so rounding in the caller's waits never adds up over a block.
    Clock::time_point at = std::max(q.lineFree, now);
    for (const std::uint8_t b : bytes) {
        at += byteTime_;
        q.bytes.push_back({b, at});
    }
    if (!bytes.empty()) q.lineFree = at;
}

std::vector<std::uint8_t> LinePacer::dequeue(Queue& q, Clock::time_point now) {
    std::vector<std::uint8_t> ready;
    while (!q.bytes.empty() && q.bytes.front().at <= now) {
        ready.push_back(q.bytes.front().byte);
        q.bytes.pop_front();
    }
    return ready;
}

void LinePacer::arrive(std::span<const std::uint8_t> bytes, Clock::time_point now) { enqueue(in_, bytes, now); }

std::vector<std::uint8_t> LinePacer::takeArrived(Clock::time_point now) { return dequeue(in_, now); }

void LinePacer::send(std::span<const std::uint8_t> bytes, Clock::time_point now) { enqueue(out_, bytes, now); }

std::vector<std::uint8_t> LinePacer::takeDue(Clock::time_point now) { return dequeue(out_, now); }

std::optional<LinePacer::Clock::time_point> LinePacer::nextEvent() const {
    std::optional<Clock::time_point> next;
    for (const Queue* q : {&in_, &out_})
        if (!q->bytes.empty() && (!next || q->bytes.front().at < *next)) next = q->bytes.front().at;
    return next;
}

}  // namespace sim
