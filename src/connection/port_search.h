#pragma once
// Finds the device: the stored port first, then ports 1..35 in order,
// skipping the stored one. With a port factory on the link the stored port
// is probed alone, and only when it does not answer within the probe time
// (or none is stored) do the others get the probe at once, the first of
// their order to answer winning; without one they are tried one after the
// other. A port that opens but does not answer is closed again, so the
// program never holds a port it does not use.
#include <string>
#include <vector>

#include "devlink/device_link.h"
#include "devlink/task.h"

namespace connection {

struct PortSearchResult {
    bool found = false;
    int portNumber = 0;                 // the port found, or the last one tried
    std::vector<int> permissionDenied;  // ports that exist but may not be opened
    std::vector<int> inUse;             // ports another program holds
};

devlink::Task<PortSearchResult> SearchDevicePorts(devlink::DeviceLink& link, int storedPort);
// The one port the user named: opened and probed, closed again when silent.
devlink::Task<PortSearchResult> ProbeChosenPort(devlink::DeviceLink& link, int portNumber);

// "Port 5 (/dev/ttyUSB0) is in use by another program."
std::string PortInUseMessage(int port, const std::string& devicePath);

}  // namespace connection
