#pragma once
// Frames as the editor puts them on the line, written out by hand so the
// tests do not trust the device's own constants.
#include <array>
#include <cstdint>
#include <vector>

namespace sim_test {

using Bytes = std::vector<std::uint8_t>;
using Payload = std::array<std::uint8_t, 7>;

inline Bytes frame(const Payload& p) { return {0xF0, 0x5B, p[0], p[1], p[2], p[3], p[4], p[5], p[6], 0xF7}; }

inline Bytes answer(std::uint8_t p1, std::uint8_t p2, std::uint8_t p3, std::uint8_t data) {
    return {0xF0, 0x5B, p1, 0x5B, p2, p3, data, 0x00, 0x00, 0xF7};
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline const Bytes kProbe = frame({0x00, 0, 0, 0, 0, 0, 0});
inline const Bytes kAck = frame({0x30, 0, 0, 0, 0, 0, 0});
inline const Bytes kReadSettings = frame({0x0B, 0xFF, 0, 0, 0, 0, 0});
inline Bytes readByte(int address) {
    return frame(
        {0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, 0, 0, 0});
}
inline Bytes writeByte(int address, std::uint8_t value) {
    return frame(
        {0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, value, 0, 0});
}

}  // namespace sim_test
