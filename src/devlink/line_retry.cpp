#include "devlink/line_retry.h"

#include <algorithm>
#include <cerrno>

namespace devlink {

LineFailure JudgeLineFailure(int systemError, bool hungUp) {
    if (hungUp) return LineFailure::Lost;
    const bool transient = systemError == EAGAIN || systemError == EWOULDBLOCK || systemError == EINTR;
    return transient ? LineFailure::TryAgain : LineFailure::Lost;
}

bool WriteUntilOut(const std::function<WriteProgress(int waitMs)>& pushOut, MonotonicClock& clock,
                   std::int64_t timeoutMs) {
    const std::int64_t deadline = clock.nowMs() + timeoutMs;
    for (;;) {
        const std::int64_t left = std::max<std::int64_t>(deadline - clock.nowMs(), 0);
        const WriteProgress progress = pushOut(static_cast<int>(left));
        if (progress.allOut) return true;
        if (progress.lost || left == 0) return false;
    }
}

}  // namespace devlink
