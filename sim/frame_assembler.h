#pragma once
// Cuts the byte stream from the line into ten-byte frames. The line gives no
// guarantee about how bytes are grouped, and a cable plugged in mid-frame or
// line noise leaves junk in front of a frame; the assembler skips it and
// locks onto the next start bytes.
#include <cstdint>
#include <span>
#include <vector>

#include "sim/device_protocol.h"

namespace sim {

struct AssembledPiece {
    enum class Kind { Frame, Skipped };
    Kind kind;
    std::vector<std::uint8_t> bytes;  // a whole frame, or a run of junk
};

class FrameAssembler {
public:
    // Returns, in line order, each frame completed by these bytes and each
    // run of bytes given up as junk. Bytes that may still begin a frame are
    // kept for the next call.
    std::vector<AssembledPiece> push(std::span<const std::uint8_t> bytes);

    std::size_t pendingBytes() const { return pending_.size(); }

private:
    std::vector<std::uint8_t> pending_;
};

}  // namespace sim
