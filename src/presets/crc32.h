#pragma once
// CRC-32 as zip, PNG and Ethernet use it (reflected polynomial 0xEDB88320,
// initial value and final xor 0xFFFFFFFF), so any common tool can check a
// backup: the CRC-32 of "123456789" is 0xCBF43926.
#include <cstdint>
#include <span>

namespace presets {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace presets
