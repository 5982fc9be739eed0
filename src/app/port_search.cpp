#include "app/port_search.h"

#include <algorithm>

#include "devlink/commands.h"
#include "devlink/parallel_probe.h"

namespace app {
namespace {

std::vector<int> CandidateOrder(int storedPort) {
    std::vector<int> order{storedPort};
    for (int port = devlink::kFirstPort; port <= devlink::kLastPort; ++port)
        if (port != storedPort) order.push_back(port);
    return order;
}

void NoteRefusal(int portNumber, devlink::PortFault fault, PortSearchResult& result) {
    std::vector<int>* list = fault == devlink::PortFault::Permission ? &result.permissionDenied
                             : fault == devlink::PortFault::InUse    ? &result.inUse
                                                                     : nullptr;
    if (list && std::find(list->begin(), list->end(), portNumber) == list->end()) list->push_back(portNumber);
}

bool TryPort(devlink::DeviceLink& link, int portNumber, PortSearchResult& result) {
    result.portNumber = portNumber;
    if (!link.openPort(portNumber)) {
        NoteRefusal(portNumber, link.lastOpenFault(), result);
        return false;
    }
    link.setReceiveSize(devlink::kReplySize);
    if (link.probeDevice(devlink::ProbePayload())) return true;
    link.closePort();
    return false;
}

}  // namespace

PortSearchResult SearchDevicePorts(devlink::DeviceLink& link, int storedPort) {
    const std::vector<int> order = CandidateOrder(storedPort);
    PortSearchResult result;
    if (link.portFactory()) {
        const devlink::ProbeOutcome outcome = devlink::ProbeAllAtOnce(link, order, devlink::ProbePayload());
        for (const auto& [port, fault] : outcome.refused) NoteRefusal(port, fault, result);
        result.found = outcome.found;
        result.portNumber = outcome.portNumber;
        return result;
    }
    for (const int port : order) {
        if (TryPort(link, port, result)) {
            result.found = true;
            return result;
        }
    }
    return result;
}

std::string PortInUseMessage(int port, const std::string& devicePath) {
    std::string text = "Port " + std::to_string(port);
    if (!devicePath.empty()) text += " (" + devicePath + ")";
    return text + " is in use by another program.";
}

}  // namespace app
