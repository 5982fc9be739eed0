#include "app/port_search.h"

#include "devlink/commands.h"

#include <algorithm>

namespace app {
namespace {

bool TryPort(devlink::DeviceLink& link, int portNumber, PortSearchResult& result) {
    result.portNumber = portNumber;
    if (!link.openPort(portNumber)) {
        if (link.lastOpenFault() == devlink::PortFault::Permission &&
            std::find(result.permissionDenied.begin(), result.permissionDenied.end(), portNumber) ==
                result.permissionDenied.end())
            result.permissionDenied.push_back(portNumber);
        return false;
    }
    link.setReceiveSize(devlink::kReplySize);
    if (link.probeDevice(devlink::ProbePayload())) return true;
    link.closePort();
    return false;
}

}  // namespace

PortSearchResult SearchDevicePorts(devlink::DeviceLink& link, int storedPort) {
    PortSearchResult result;
    if (TryPort(link, storedPort, result)) {
        result.found = true;
        return result;
    }
    for (int port = devlink::kFirstPort; port <= devlink::kLastPort; ++port) {
        if (port == storedPort) continue;
        if (TryPort(link, port, result)) {
            result.found = true;
            return result;
        }
    }
    return result;
}

}  // namespace app
