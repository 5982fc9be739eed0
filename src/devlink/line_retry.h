#pragma once
// A line opened without blocking answers "not now" (EAGAIN, EWOULDBLOCK)
// when its buffer is momentarily full or empty, and "interrupted" (EINTR)
// when a signal came first. Neither says anything about the device: on a
// loaded machine both come in the middle of a healthy search. The port is
// taken as lost only on a hang-up, a real I/O error, or when it has taken
// nothing for as long as the device may take to answer.
#include <cstdint>
#include <functional>

#include "devlink/monotonic_clock.h"

namespace devlink {

// The reply time: a line that takes no byte for that long is as gone as a
// device that does not answer in it.
inline constexpr int kWriteTimeoutMs = 3168;

enum class LineFailure { TryAgain, Lost };

// `systemError` is the errno of the failed call.
LineFailure JudgeLineFailure(int systemError, bool hungUp);

struct WriteProgress {
    bool allOut = false;  // nothing left to write
    bool lost = false;    // the port failed for good (and says why itself)
};

// Calls `pushOut` with the time left until everything is out, the port is
// lost or `timeoutMs` have passed; a "not now" in between is only a reason
// to call it again. True when everything went out.
bool WriteUntilOut(const std::function<WriteProgress(int waitMs)>& pushOut, MonotonicClock& clock,
                   std::int64_t timeoutMs = kWriteTimeoutMs);

}  // namespace devlink
