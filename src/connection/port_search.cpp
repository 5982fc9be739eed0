#include "connection/port_search.h"

#include <algorithm>
#include <span>

#include "devlink/commands.h"
#include "devlink/parallel_probe.h"

namespace connection {
namespace {

bool Remembered(int storedPort) { return storedPort >= devlink::kFirstPort && storedPort <= devlink::kLastPort; }

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

bool ProbeTogether(devlink::DeviceLink& link, std::span<const int> candidates, PortSearchResult& result) {
    const devlink::ProbeOutcome outcome = devlink::ProbeAllAtOnce(link, candidates, devlink::ProbePayload());
    for (const auto& [port, fault] : outcome.refused) NoteRefusal(port, fault, result);
    result.found = outcome.found;
    result.portNumber = outcome.portNumber;
    return outcome.found;
}

}  // namespace

PortSearchResult SearchDevicePorts(devlink::DeviceLink& link, int storedPort) {
    std::vector<int> order = CandidateOrder(storedPort);
    PortSearchResult result;
    if (!link.portFactory()) {
        for (const int port : order) {
            if (TryPort(link, port, result)) {
                result.found = true;
                return result;
            }
        }
        return result;
    }
    // A modem, a GPS receiver or a lighting interface may sit on any other
    // port: none of them hears a byte while the remembered port answers.
    if (Remembered(storedPort) && ProbeTogether(link, std::span(order).first(1), result)) return result;
    order.erase(order.begin());
    ProbeTogether(link, order, result);
    return result;
}

PortSearchResult ProbeChosenPort(devlink::DeviceLink& link, int portNumber) {
    PortSearchResult result;
    result.found = TryPort(link, portNumber, result);
    return result;
}

std::string PortInUseMessage(int port, const std::string& devicePath) {
    std::string text = "Port " + std::to_string(port);
    if (!devicePath.empty()) text += " (" + devicePath + ")";
    return text + " is in use by another program.";
}

}  // namespace connection
