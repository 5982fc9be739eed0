#pragma once
// The text of the link trace, shared by the --trace file and the device log
// window: one line per record,
//
//     "    12.345  out         F0 5B 01 00 00 00 00 00 00 F7  Probe"
//
// the time in milliseconds since the trace started (three decimals, right
// aligned in ten places), the event (devlink::TraceEventName, padded to
// ten), the bytes in hex and the note; an empty part is left out with its
// gap, and nothing trails.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "devlink/link_trace.h"

namespace connection {

std::string TraceLine(std::int64_t sinceStartUs, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                      std::string_view note);
// The same line under another time stamp (ClockStamp for the device log).
std::string TraceLine(std::string_view stamp, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                      std::string_view note);

// "14:03:27.512": the time of day, to the millisecond, for a log a user
// holds beside what happened on stage.
std::string ClockStamp(int msSinceMidnight);

// A reply carries no name of its own: it is named after the last command
// sent ("answers Probe"), as the frames sent are named after theirs. A
// record that has a note keeps it.
class ReplyNames {
public:
    std::string_view noteFor(devlink::TraceEvent event, std::string_view note);

private:
    std::string lastCommand_;
    std::string reply_;
};

// The trace's own time. The link's clock counts whole milliseconds, and a
// byte at 4800 baud takes 2.083 of them: byte gaps need finer stamps.
// Starts at construction; never goes back, whatever the source does.
class TraceClock {
public:
    using Source = std::function<std::int64_t()>;  // nanoseconds of a monotonic clock
    static std::int64_t SteadyNanoseconds();

    explicit TraceClock(Source source = SteadyNanoseconds);
    std::int64_t sinceStartUs();

private:
    Source source_;
    std::int64_t startNs_;
    std::int64_t lastUs_ = 0;
};

}  // namespace connection
