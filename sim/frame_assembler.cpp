#include "sim/frame_assembler.h"

namespace sim {
namespace {

// Whether the bytes from `first` on can still be, or already are, the start
// of a frame.
bool canStartFrame(const std::vector<std::uint8_t>& b, std::size_t first) {
    const std::size_t left = b.size() - first;
    if (b[first] != kFrameStart) return false;
    if (left >= 2 && b[first + 1] != kDeviceId) return false;
    if (left >= kFrameSize && b[first + kFrameSize - 1] != kFrameEnd) return false;
    return true;
}

void addSkipped(std::vector<AssembledPiece>& out, std::uint8_t byte) {
    if (out.empty() || out.back().kind != AssembledPiece::Kind::Skipped)
        out.push_back({AssembledPiece::Kind::Skipped, {}});
    out.back().bytes.push_back(byte);
}

}  // namespace

std::vector<AssembledPiece> FrameAssembler::push(std::span<const std::uint8_t> bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::vector<AssembledPiece> out;
    std::size_t first = 0;
    while (first < pending_.size()) {
        if (!canStartFrame(pending_, first)) {
            // Drop a single byte only: a start byte may hide inside the junk.
            addSkipped(out, pending_[first]);
            ++first;
            continue;
        }
        if (pending_.size() - first < kFrameSize) break;
        const auto begin = pending_.begin() + static_cast<std::ptrdiff_t>(first);
        out.push_back({AssembledPiece::Kind::Frame, {begin, begin + kFrameSize}});
        first += kFrameSize;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(first));
    return out;
}

}  // namespace sim
