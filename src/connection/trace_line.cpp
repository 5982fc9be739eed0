#include "connection/trace_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace connection {

std::string TraceLine(std::int64_t sinceStartUs, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                      std::string_view note) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%6lld.%03lld", static_cast<long long>(sinceStartUs / 1000),
                  static_cast<long long>(sinceStartUs % 1000));
    return TraceLine(std::string_view(stamp), event, bytes, note);
}

std::string TraceLine(std::string_view stamp, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                      std::string_view note) {
    std::string line(stamp);
    line += "  ";
    line += devlink::TraceEventName(event);
    if (bytes.empty() && note.empty()) return line;
    line.resize(std::max(line.size(), stamp.size() + 2 + 10), ' ');
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line += i == 0 ? "  " : " ";
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
    }
    if (!note.empty()) {
        line += "  ";
        // One record, one line: a port's error text may hold a line break.
        for (const char c : note) line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return line;
}

std::string ClockStamp(int msSinceMidnight) {
    const int ms = std::clamp(msSinceMidnight, 0, 24 * 3600 * 1000 - 1);
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return stamp;
}

std::string_view ReplyNames::noteFor(devlink::TraceEvent event, std::string_view note) {
    if (event == devlink::TraceEvent::Out) lastCommand_ = note;
    if (event != devlink::TraceEvent::In || !note.empty() || lastCommand_.empty()) return note;
    reply_ = "answers " + lastCommand_;
    return reply_;
}

std::int64_t TraceClock::SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TraceClock::TraceClock(Source source) : source_(std::move(source)), startNs_(source_()) {}

std::int64_t TraceClock::sinceStartUs() {
    lastUs_ = std::max(lastUs_, (source_() - startNs_) / 1000);
    return lastUs_;
}

}  // namespace connection
