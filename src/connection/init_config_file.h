#pragma once
// The old init.cfg, kept apart from the settings so it reads without Qt: a
// signed 16-bit little-endian port number in the file's first two bytes.
#include <cstdint>
#include <string>

namespace connection {

// The file's first two bytes as the port number, 0 when it is missing or short.
std::int16_t ReadInitConfigFile(const std::string& path);

}  // namespace connection
