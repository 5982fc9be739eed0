#pragma once
// Finds the device: the stored port first, then ports 1..35 in order,
// skipping the stored one. A port that opens but does not answer is closed
// again at once, so the program never holds a port it does not use.
#include <vector>

#include "devlink/device_link.h"

namespace app {

struct PortSearchResult {
    bool found = false;
    int portNumber = 0;                 // the port found, or the last one tried
    std::vector<int> permissionDenied;  // ports that exist but may not be opened
};

PortSearchResult SearchDevicePorts(devlink::DeviceLink& link, int storedPort);

}  // namespace app
