#pragma once
// init.cfg: the port number as a signed 16-bit little-endian integer. Only
// the first two bytes count; a missing or short file gives 0, which no port
// accepts.
#include <cstdint>
#include <string>

namespace app {

std::int16_t ReadStoredPortNumber(const std::string& path);
bool WriteStoredPortNumber(const std::string& path, std::int16_t portNumber);

}  // namespace app
