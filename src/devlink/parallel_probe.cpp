#include "devlink/parallel_probe.h"

#include <memory>

namespace devlink {
namespace {

// A probe failing is an answer, not the end of anything.
class NoLinkEnd final : public LinkEnd {
public:
    void linkLost(const std::string& /*message*/) override {}
};

struct Lane {
    int portNumber = 0;
    std::unique_ptr<SerialPort> port;
    std::unique_ptr<DeviceLink> link;
    bool written = false;
};

}  // namespace

Task<ProbeOutcome> ProbeAllAtOnce(DeviceLink& link, std::vector<int> candidates, Payload probe) {
    ProbeOutcome outcome;
    PortFactory* factory = link.portFactory();
    if (!factory) co_return outcome;
    NoLinkEnd noEnd;
    std::vector<Lane> lanes;
    lanes.reserve(candidates.size());
    for (const int number : candidates) {
        outcome.portNumber = number;
        Lane& lane = lanes.emplace_back();
        lane.portNumber = number;
        lane.port = factory->makePort();
        lane.link = std::make_unique<DeviceLink>(*lane.port, link.clock(), noEnd, link.ports());
        lane.link->setTrace(link.trace());
        if (!lane.link->openPort(number)) {
            outcome.refused.emplace_back(number, lane.link->lastOpenFault());
            continue;
        }
        lane.link->setReceiveSize(kReplySize);
        lane.written = lane.link->writeProbe(probe);
    }
    // Whatever a later port says, an earlier one that answers wins: each
    // wait is for the first port still undecided, and the time the ports
    // after it wait meanwhile counts for them as well.
    for (Lane& lane : lanes) {
        if (!lane.written) continue;
        const bool answered = co_await lane.link->awaitProbeReply();
        if (!answered) continue;
        link.adoptLineOf(*lane.link);
        outcome.found = true;
        outcome.portNumber = lane.portNumber;
        break;
    }
    for (Lane& lane : lanes) lane.link->closePort();
    co_return outcome;
}

}  // namespace devlink
