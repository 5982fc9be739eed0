#pragma once
// Faults of a noisy or failing line, written down in advance so that a test
// can bring each one about at a moment of its choosing. One fault is
// TRIGGER:ACTION, e.g. "frame=80:mute", "cmd=0x10#5:noise=1",
// "report=3:duplicate", "time=1500:close", "report=20:stall=1000".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct FaultTrigger {
    enum class Kind {
        Frame,    // frame=N: the Nth frame the device receives, counting from 1
        Command,  // cmd=0xCC#N: the Nth frame of command 0xCC
        Report,   // report=N: the Nth report the device sends
        Time,     // time=MS: MS milliseconds after the line started
    };
    Kind kind = Kind::Frame;
    std::int64_t value = 0;    // N, or the milliseconds
    std::uint8_t command = 0;  // Command only
    bool operator==(const FaultTrigger&) const = default;
};

// Report fields a garbage report puts out of range, as bits.
namespace report_field {
inline constexpr unsigned kKind = 1u << 0;
inline constexpr unsigned kChannel = 1u << 1;
inline constexpr unsigned kRow = 1u << 2;
inline constexpr unsigned kFreq = 1u << 3;
inline constexpr unsigned kWidth = 1u << 4;
inline constexpr unsigned kGain = 1u << 5;
// A plain "garbage" keeps the kind byte, so the editor still reads a report.
inline constexpr unsigned kAllButKind = kChannel | kRow | kFreq | kWidth | kGain;
}  // namespace report_field

struct FaultAction {
    enum class Kind {
        Mute,       // never answers again
        Close,      // unplugged: the terminal goes away
        Late,       // late=MS: the answer comes MS late
        Duplicate,  // the answer is sent twice
        Partial,    // partial=N: only the first N bytes of the answer
        Extra,      // extra=N: N seeded random bytes after the answer
        Noise,      // noise=N: N seeded random bytes before the answer
        Garbage,    // garbage[=FIELD]: a report with fields out of range
        Burst,      // burst=N: N reports back to back, none waiting for its acknowledgement
        Stall,      // stall=MS: the device reads nothing for MS; what is sent meanwhile waits on the line
    };
    Kind kind = Kind::Mute;
    int amount = 0;  // milliseconds, bytes, reports, or report_field bits
    bool operator==(const FaultAction&) const = default;

    // Garbage and Burst shape reports, never an answer to a frame.
    bool reportOnly() const { return kind == Kind::Garbage || kind == Kind::Burst; }
};

struct Fault {
    FaultTrigger trigger;
    FaultAction action;
    bool operator==(const Fault&) const = default;
};

struct FaultScript {
    std::vector<Fault> faults;
    std::uint32_t seed = 1;  // of the noise and extra bytes
};

// False with the reason in `error` (without the text itself) when `text`
// is not a fault.
bool parseFault(std::string_view text, Fault& fault, std::string* error);

}  // namespace sim
