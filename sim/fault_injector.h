#pragma once
// The simulated device as the line shows it while a FaultScript plays:
// answers and reports come late, twice, cut short, wrapped in noise or
// garbled, the device falls silent or is unplugged, each when its trigger
// comes. Without faults the device's bytes pass unchanged and at once.
//
// What a fired fault acts on:
//  - stall: the line's reader, from the moment it fires, whatever its trigger.
//  - frame=N, cmd=0xCC#N: the answer to that frame. Mute and close strike
//    before the device acts on it, so it is neither carried out nor answered.
//  - report=N: the Nth report. Mute and close strike instead of it.
//  - time=MS: mute and close at that moment; any other action waits for the
//    next answer or report that has bytes (garbage and burst: the next report).
// Several faults on one answer or report combine in a fixed order: garbage,
// burst, partial (of everything so far), duplicate, noise before and extra
// after, late (all of it). Nothing overtakes an earlier answer that is late.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/fault_script.h"
#include "sim/sim_device.h"

namespace sim {

class FaultInjector {
public:
    struct Output {
        std::int64_t delayMs = 0;         // counted from the call that gave it
        std::vector<std::uint8_t> bytes;  // as the line carries them
        // What the device meant to send, before any fault shaped it: its
        // log's line, written once the line has carried `bytes`.
        std::vector<std::uint8_t> sent{};
        // Two outputs are the same when the line carries the same.
        bool operator==(const Output& other) const { return delayMs == other.delayMs && bytes == other.bytes; }
    };

    explicit FaultInjector(SimDevice& device, FaultScript script = {});

    // Every time is in milliseconds since the line started.
    std::vector<Output> receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // The device's next report (a burst: several), when it has one.
    std::vector<Output> takeReport(std::int64_t nowMs);
    // Fires the time triggers that are due; those that mute or unplug need
    // no traffic to take effect.
    void advance(std::int64_t nowMs);

    bool reportReady() const { return !closed_ && device_.reportReady(); }
    // Unplugged: nothing goes in or out any more.
    bool closed() const { return closed_; }
    // Until then the device reads nothing from the line (a stall).
    std::int64_t stalledUntilMs() const { return stalledUntilMs_; }
    // The earliest time trigger still to come.
    std::optional<std::int64_t> nextTimeTrigger() const;

private:
    struct Shape {
        std::int64_t lateMs = 0;
        bool duplicate = false;
        std::optional<std::size_t> keep;
        std::size_t extra = 0;
        std::size_t noise = 0;
        unsigned garbage = 0;
        int burst = 1;
        void add(const FaultAction& action);
    };

    template <typename Matches>
    void fire(Matches matches, Shape& shape, std::int64_t nowMs);
    void strike(const FaultAction& action, Shape& shape, std::int64_t nowMs);
    void takeArmed(Shape& shape, bool forReport);
    void sendShaped(std::vector<std::uint8_t> bytes, const Shape& shape, std::int64_t nowMs, std::vector<Output>& out);
    void appendNoise(std::vector<std::uint8_t>& bytes, std::size_t count);

    SimDevice& device_;
    FaultScript script_;
    std::vector<bool> fired_;
    std::vector<std::size_t> armed_;  // time faults waiting for something to shape
    std::int64_t frames_ = 0;
    std::array<std::int64_t, 256> commandFrames_{};
    std::int64_t reports_ = 0;
    std::int64_t lastDueMs_ = 0;
    std::int64_t stalledUntilMs_ = 0;
    std::uint32_t random_;
    bool closed_ = false;
};

}  // namespace sim
