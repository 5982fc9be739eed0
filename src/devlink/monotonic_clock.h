#pragma once
// Time-outs read a monotonic clock: a time of day wraps at midnight and a
// wait begun just before it would never end.
#include <chrono>
#include <cstdint>

namespace devlink {

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t nowMs() = 0;
};

class SteadyClock final : public MonotonicClock {
public:
    std::int64_t nowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace devlink
