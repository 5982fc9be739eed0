#include "devlink/line_input.h"

#include <algorithm>

#include "devlink/frame.h"
#include "model/value_tables.h"

namespace devlink {
namespace {

constexpr std::uint8_t kGainReport = 0xFD;
constexpr std::size_t kReportFields = 7;
constexpr std::size_t kReportLength = kFrameSize;  // as long as a frame, read as ten bytes

}  // namespace

void LineInput::append(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    arrivedMs_.insert(arrivedMs_.end(), bytes.size(), nowMs);
    if (bytes_.size() > kMaxHeldInput) take(bytes_.size() - kMaxHeldInput);
}

std::vector<std::uint8_t> LineInput::take(std::size_t count) {
    count = std::min(count, bytes_.size());
    std::vector<std::uint8_t> taken(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(count));
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(count));
    arrivedMs_.erase(arrivedMs_.begin(), arrivedMs_.begin() + static_cast<std::ptrdiff_t>(count));
    return taken;
}

std::optional<std::size_t> FindFramedReply(std::span<const std::uint8_t> bytes, std::size_t from) {
    for (std::size_t i = from; i + kFrameSize <= bytes.size(); ++i) {
        if (bytes[i] == kFrameStart && bytes[i + 1] == kFrameTag && bytes[i + kFrameSize - 1] == kFrameEnd) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> FindFrameStart(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == kFrameStart && bytes[i + 1] == kFrameTag) return i;
    return std::nullopt;
}

bool IsWellFormedReport(std::span<const std::uint8_t> r) {
    if (r.size() < kReportFields || !StartsReport(r[0])) return false;
    if (r[2] >= model::kRowsPerChannel || r[6] > model::kMaxGainCode) return false;
    if (r[0] == kGainReport) return true;
    return r[3] * 256 + r[4] <= model::kMaxFreqCode && r[5] <= model::kMaxWidthCode;
}

std::optional<std::size_t> NoiseAheadOfReport(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::nullopt;
    if (StartsReport(bytes[0])) return 0;
    const std::size_t searched = std::min(bytes.size(), kReportLength);
    for (std::size_t i = 1; i < searched; ++i) {
        if (!StartsReport(bytes[i])) continue;
        const auto rest = bytes.subspan(i);
        // Until the whole of it has come, it may still lie inside ten bytes
        // of one report of an unknown kind: a quiet line says which.
        if (rest.size() < kReportLength) return std::nullopt;
        if (IsWellFormedReport(rest)) return i;
    }
    if (bytes.size() < kReportLength) return std::nullopt;
    return 0;
}

}  // namespace devlink
