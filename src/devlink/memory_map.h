#pragma once
// Where the device keeps its writable presets (positions 5..20, k = 0..15).
#include <cstdint>

namespace devlink {

inline constexpr std::uint8_t StoreMarker = 0x55;
// What an erased memory holds; any value but StoreMarker means unused.
inline constexpr std::uint8_t kUnusedMarker = 0xFF;

struct DeviceMemoryMap {
    static constexpr int kMarkerBase = 0x0030;   // one byte per position
    static constexpr int kProgramName = 0x0070;  // eight bytes
    static constexpr int kDataBase = 0x0120;     // 160 bytes per position
    static constexpr int kDataStride = 160;
    static constexpr int kNameBase = 0x0F20;  // eight bytes per position
    static constexpr int kNameStride = 8;

    static constexpr int marker(int k) { return kMarkerBase + k; }
    static constexpr int data(int k) { return kDataBase + kDataStride * k; }
    static constexpr int name(int k) { return kNameBase + kNameStride * k; }
};

}  // namespace devlink
