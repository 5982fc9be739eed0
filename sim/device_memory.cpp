#include "sim/device_memory.h"

#include <algorithm>

namespace sim {

using namespace memory_map;

DeviceMemory::DeviceMemory() {
    bytes_.fill(kErased);
    std::copy(kProgramName.begin(), kProgramName.end(), bytes_.begin() + kProgramNameAddress);
}

std::uint8_t DeviceMemory::read(int address) const {
    if (address < 0 || address >= kSize) return kErased;
    return bytes_[static_cast<std::size_t>(address)];
}

void DeviceMemory::write(int address, std::uint8_t value) {
    if (address < 0 || address >= kSize) return;
    bytes_[static_cast<std::size_t>(address)] = value;
}

void DeviceMemory::assign(std::span<const std::uint8_t> bytes) {
    bytes_.fill(kErased);
    const std::size_t n = std::min(bytes.size(), bytes_.size());
    std::copy_n(bytes.begin(), n, bytes_.begin());
}

}  // namespace sim
