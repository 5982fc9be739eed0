#include "app/init_config.h"

#include <fstream>

namespace app {

std::int16_t ReadStoredPortNumber(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char bytes[2] = {0, 0};
    if (!file.read(reinterpret_cast<char*>(bytes), 2)) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

bool WriteStoredPortNumber(const std::string& path, std::int16_t portNumber) {
    const auto value = static_cast<std::uint16_t>(portNumber);
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file.write(bytes, 2)) && static_cast<bool>(file.flush());
}

}  // namespace app
