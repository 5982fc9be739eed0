#include "connection/init_config_file.h"

#include <fstream>

namespace connection {

std::int16_t ReadInitConfigFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char bytes[2] = {0, 0};
    if (!file.read(reinterpret_cast<char*>(bytes), 2)) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

}  // namespace connection
