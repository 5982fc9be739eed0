// Any bytes on the line: the simulated device resynchronises and never
// indexes outside its memory or tables.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/sim_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::DeviceMemory memory;
    sim::SimDevice device(memory);
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t piece = std::min<std::size_t>(data[pos] % 23 + 1, size - pos);
        device.receive(std::span<const std::uint8_t>(data + pos, piece));
        pos += piece;
        (void)device.takeReport();
    }
    return 0;
}
