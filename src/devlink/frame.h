#pragma once
// The device's fixed ten-byte frame: F0 5B, seven payload bytes, F7.
#include <array>
#include <cstdint>

namespace devlink {

inline constexpr int kFrameSize = 10;
inline constexpr int kPayloadSize = 7;
inline constexpr std::uint8_t kFrameStart = 0xF0;
inline constexpr std::uint8_t kFrameTag = 0x5B;
inline constexpr std::uint8_t kFrameEnd = 0xF7;

using Payload = std::array<std::uint8_t, kPayloadSize>;
using Frame = std::array<std::uint8_t, kFrameSize>;

constexpr Frame BuildFrame(const Payload& payload) {
    Frame frame{kFrameStart, kFrameTag};
    for (int i = 0; i < kPayloadSize; ++i) frame[2 + i] = payload[i];
    frame[kFrameSize - 1] = kFrameEnd;
    return frame;
}

}  // namespace devlink
