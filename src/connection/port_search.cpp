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

devlink::Task<bool> TryPort(devlink::DeviceLink& link, int portNumber, PortSearchResult& result) {
    result.portNumber = portNumber;
    if (!link.openPort(portNumber)) {
        NoteRefusal(portNumber, link.lastOpenFault(), result);
        co_return false;
    }
    link.setReceiveSize(devlink::kReplySize);
    const bool answers = co_await link.probeDevice(devlink::ProbePayload());
    if (answers) co_return true;
    link.closePort();
    co_return false;
}

devlink::Task<bool> ProbeTogether(devlink::DeviceLink& link, std::vector<int> candidates, PortSearchResult& result) {
    const devlink::ProbeOutcome outcome =
        co_await devlink::ProbeAllAtOnce(link, std::move(candidates), devlink::ProbePayload());
    for (const auto& refusal : outcome.refused) NoteRefusal(refusal.first, refusal.second, result);
    result.found = outcome.found;
    result.portNumber = outcome.portNumber;
    co_return outcome.found;
}

}  // namespace

devlink::Task<PortSearchResult> SearchDevicePorts(devlink::DeviceLink& link, int storedPort) {
    std::vector<int> order = CandidateOrder(storedPort);
    PortSearchResult result;
    if (!link.portFactory()) {
        for (const int port : order) {
            const bool answers = co_await TryPort(link, port, result);
            if (answers) {
                result.found = true;
                co_return result;
            }
        }
        co_return result;
    }
    // A modem, a GPS receiver or a lighting interface may sit on any other
    // port: none of them hears a byte while the remembered port answers.
    if (Remembered(storedPort)) {
        const bool found = co_await ProbeTogether(link, std::vector<int>(1, order.front()), result);
        if (found) co_return result;
    }
    order.erase(order.begin());
    co_await ProbeTogether(link, order, result);
    co_return result;
}

devlink::Task<PortSearchResult> ProbeChosenPort(devlink::DeviceLink& link, int portNumber) {
    PortSearchResult result;
    result.found = co_await TryPort(link, portNumber, result);
    co_return result;
}

std::string PortInUseMessage(int port, const std::string& devicePath) {
    std::string text = "Port " + std::to_string(port);
    if (!devicePath.empty()) text += " (" + devicePath + ")";
    return text + " is in use by another program.";
}

}  // namespace connection
