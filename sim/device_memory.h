#pragma once
// The device's 4 KB of byte-addressed memory and where the stored presets
// live in it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace sim {

namespace memory_map {
inline constexpr int kSize = 0x1000;
inline constexpr std::uint8_t kErased = 0xFF;
inline constexpr std::uint8_t kStoreMarker = 0x55;
inline constexpr int kStoredPositions = 16;  // memory positions 5..20
inline constexpr int kMarkerBase = 0x0030;
inline constexpr int kProgramNameAddress = 0x0070;
inline constexpr int kPresetDataBase = 0x0120;
inline constexpr int kPresetDataStride = 160;
inline constexpr int kPresetNameBase = 0x0F20;
inline constexpr int kNameLength = 8;
inline constexpr std::string_view kProgramName = "SIM 4480";
static_assert(kProgramName.size() == kNameLength);
static_assert(kPresetNameBase + kStoredPositions * kNameLength <= kSize);

inline constexpr int markerAddress(int slot) { return kMarkerBase + slot; }
inline constexpr int presetDataAddress(int slot) { return kPresetDataBase + kPresetDataStride * slot; }
inline constexpr int presetNameAddress(int slot) { return kPresetNameBase + kNameLength * slot; }
inline constexpr bool isMarkerAddress(int address) {
    return address >= kMarkerBase && address < kMarkerBase + kStoredPositions;
}
}  // namespace memory_map

class DeviceMemory {
public:
    // As the device leaves the factory: erased, with only its program name.
    DeviceMemory();

    // Addresses come straight off the line, so anything outside the chip
    // reads as erased and is never written.
    std::uint8_t read(int address) const;
    void write(int address, std::uint8_t value);

    // Takes as many bytes as fit; the rest of the chip is erased.
    void assign(std::span<const std::uint8_t> bytes);

    std::span<const std::uint8_t, memory_map::kSize> bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, memory_map::kSize> bytes_;
};

}  // namespace sim
