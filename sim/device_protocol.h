#pragma once
// The byte layout of the line as the device sees it: the frames it accepts,
// the answers and reports it sends. Kept apart from the editor's own frame
// code on purpose, so that a mistake on one side shows up as a failing
// exchange instead of passing silently on both.
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/value_tables.h"

namespace sim {

inline constexpr std::size_t kFrameSize = 10;
using Frame = std::array<std::uint8_t, kFrameSize>;

// One preset in the device's own layout: Left half, then Right half.
using PresetBlock = std::array<std::uint8_t, model::kBlockSize>;

inline constexpr std::uint8_t kFrameStart = 0xF0;
inline constexpr std::uint8_t kDeviceId = 0x5B;
inline constexpr std::uint8_t kFrameEnd = 0xF7;

// Payload byte p1..p7 sits at frame offset 1 + n.
inline constexpr std::size_t payloadOffset(int n) { return static_cast<std::size_t>(n) + 1; }

namespace command {
inline constexpr std::uint8_t kProbe = 0x00;
inline constexpr std::uint8_t kSetNotch = 0x07;
inline constexpr std::uint8_t kSearchControl = 0x0A;
inline constexpr std::uint8_t kReadPresetBlock = 0x0B;
inline constexpr std::uint8_t kCloseLink = 0x0F;
inline constexpr std::uint8_t kReadMemoryByte = 0x10;
inline constexpr std::uint8_t kWriteMemoryByte = 0x11;
inline constexpr std::uint8_t kReportAck = 0x30;
inline constexpr std::uint8_t kSetReleaseMode = 0x31;
}  // namespace command

inline constexpr std::uint8_t kNotchReport = 0xFE;
inline constexpr std::uint8_t kGainReport = 0xFD;

// ReadPresetBlock index that names the settings the device runs on.
inline constexpr std::uint8_t kCurrentSettingsIndex = 0xFF;
inline constexpr int kFactoryPresets = 4;

}  // namespace sim
