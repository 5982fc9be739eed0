#pragma once
// Makes a pseudo-terminal, which moves bytes at once, behave like the 4800
// baud line of the real device: every byte, in either direction, takes its
// own line time, one after the other. With a zero byte time everything
// passes straight through.
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace sim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::nanoseconds;

    // 10 bits per byte (start, 8 data, stop) at 4800 baud.
    static constexpr Duration kByteTime4800{1'000'000'000LL * 10 / 4800};

    explicit LinePacer(Duration byteTime) : byteTime_(byteTime) {}

    // Bytes that reached the pty at `now`; each counts as received when its
    // line time, queued behind the bytes before it, is over.
    void arrive(std::span<const std::uint8_t> bytes, Clock::time_point now);
    std::vector<std::uint8_t> takeArrived(Clock::time_point now);

    // Bytes the device sends from `now` on; each may leave one byte time
    // after the one before it.
    void send(std::span<const std::uint8_t> bytes, Clock::time_point now);
    std::vector<std::uint8_t> takeDue(Clock::time_point now);

    bool inputIdle() const { return in_.bytes.empty(); }
    bool outputIdle() const { return out_.bytes.empty(); }
    // The earliest moment a byte becomes available in either direction.
    std::optional<Clock::time_point> nextEvent() const;

private:
    struct Timed {
        std::uint8_t byte;
        Clock::time_point at;
    };
    struct Queue {
        std::deque<Timed> bytes;
        Clock::time_point lineFree{};
    };

    void enqueue(Queue& q, std::span<const std::uint8_t> bytes, Clock::time_point now) const;
    static std::vector<std::uint8_t> dequeue(Queue& q, Clock::time_point now);

    Duration byteTime_;
    Queue in_;
    Queue out_;
};

}  // namespace sim
