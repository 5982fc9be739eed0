#pragma once
// What the device has sent and the link has not used yet, each byte with the
// time it was taken from the port. A noisy line or a device that repeats
// itself leaves bytes that belong to no exchange; the link finds replies and
// reports in here by their shape instead of by their position.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace devlink {

// More than the longest answer (a 160-byte block) and its stray company;
// beyond this the oldest bytes go, whatever floods the line.
inline constexpr std::size_t kMaxHeldInput = 4096;

class LineInput {
public:
    void append(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // Removes the first `count` bytes and returns them.
    std::vector<std::uint8_t> take(std::size_t count);
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::int64_t arrivedAt(std::size_t index) const { return arrivedMs_.at(index); }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::int64_t> arrivedMs_;
};

// The first framed reply (F0 5B, seven bytes, F7) at or after `from`.
std::optional<std::size_t> FindFramedReply(std::span<const std::uint8_t> bytes, std::size_t from = 0);

// Where the first frame start (F0 5B) sits, complete or not.
std::optional<std::size_t> FindFrameStart(std::span<const std::uint8_t> bytes);

// FE (a notch placed) or FD (a gain changed): what a device report begins with.
inline bool StartsReport(std::uint8_t byte) { return byte == 0xFE || byte == 0xFD; }

// A report's first seven bytes with every field in range: FE or FD, a notch
// 0..11, and for FE a frequency code 0..729, a width code 0..3; a gain code
// 0..45. The channel byte takes any value (0 Left, else Right).
bool IsWellFormedReport(std::span<const std::uint8_t> first7);

// How many bytes ahead of the next report are noise. A report begins with
// FE or FD whatever its fields (0); otherwise a well-formed report that
// starts within the first ten bytes makes what is ahead of it noise, and ten
// bytes that hold no such start are one report of a kind this program does
// not know (0 again: the device still waits for its acknowledgement).
// Nothing while it cannot be told yet: fewer than ten bytes, or an FE or FD
// among them whose ten bytes have not all arrived (until they have, it may
// lie inside one report of an unknown kind).
std::optional<std::size_t> NoiseAheadOfReport(std::span<const std::uint8_t> bytes);

}  // namespace devlink
