#include "remote/outgoing_frames.h"

namespace remote {

// Two bytes, then 2 or 8 of extended length, then 4 of mask if masked.
int OutgoingFrames::headerLength() const {
    if (headerSize_ < 2) return 2;
    const int length7 = header_[1] & 0x7F;
    const int extended = length7 == 126 ? 2 : length7 == 127 ? 8 : 0;
    return 2 + extended + ((header_[1] & 0x80) != 0 ? 4 : 0);
}

int OutgoingFrames::takeHeader() {
    const int length7 = header_[1] & 0x7F;
    std::uint64_t length = static_cast<std::uint64_t>(length7);
    if (length7 >= 126) {
        const std::size_t bytes = length7 == 126 ? 2 : 8;
        length = 0;
        for (std::size_t i = 2; i < 2 + bytes; ++i) length = (length << 8) | header_[i];
    }
    payloadLeft_ = length;
    headerSize_ = 0;
    return header_[0] & 0x0F;
}

}  // namespace remote
