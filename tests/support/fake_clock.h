#pragma once
#include "devlink/monotonic_clock.h"

namespace testing_support {

// Time moves only when a fake wait lets it.
class FakeClock final : public devlink::MonotonicClock {
public:
    std::int64_t nowMs() override { return now; }
    void advance(std::int64_t ms) { now += ms; }
    std::int64_t now = 1'000'000;
};

}  // namespace testing_support
