#pragma once
// Keeps the device's memory across runs as a raw 4096-byte image file.
#include <string>

#include "sim/device_memory.h"

namespace sim {

// A missing file is a device fresh from the factory, not an error. A file of
// the wrong length is taken as far as it fits and the rest reads as erased.
bool loadMemoryFile(const std::string& path, DeviceMemory& memory, std::string* error);

// Writes a temporary file beside the target and renames it over, so a crash
// mid-save leaves the previous image intact.
bool saveMemoryFile(const std::string& path, const DeviceMemory& memory, std::string* error);

}  // namespace sim
