#pragma once
// A record of what crosses the line, for --trace and the device log: every
// frame written, every reply and report taken, every byte dropped and why,
// resends, time-outs and port errors. Nothing is recorded while no trace is
// attached, so a link without one pays a pointer test.
#include <cstdint>
#include <span>
#include <string_view>

namespace devlink {

enum class TraceEvent { Out, In, Report, Dropped, Resend, TimeOut, PortError };

class LinkTrace {
public:
    virtual ~LinkTrace() = default;
    // `atMs` never goes back; `note` names the command, or why bytes were
    // dropped.
    virtual void record(std::int64_t atMs, TraceEvent event, std::span<const std::uint8_t> bytes,
                        std::string_view note) = 0;
};

std::string_view TraceEventName(TraceEvent event);

}  // namespace devlink
