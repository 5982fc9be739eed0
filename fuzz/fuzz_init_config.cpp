// An old init.cfg as the editor finds it: any length, any bytes. The stored
// port number is the first two bytes, little-endian and signed, or 0 when
// there are fewer; it names a port only when it lies in 1..35.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "connection/init_config_file.h"
#include "devlink/port_table.h"
#include "scratch_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchPath("init.cfg");
    fuzz::WriteScratch(path, data, size);
    const std::int16_t number = connection::ReadInitConfigFile(path);
    const std::int16_t expected =
        size < 2 ? 0 : static_cast<std::int16_t>(static_cast<std::uint16_t>(data[0] | data[1] << 8));
    Require(number == expected);
    Require(devlink::PortTable().name(number).has_value() ==
            (number >= devlink::kFirstPort && number <= devlink::kLastPort));
    return 0;
}
