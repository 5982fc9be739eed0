#pragma once
// The probe written to every candidate port at once, each port an object of
// its own from the link's port factory, and one wait for all: the answers
// are taken in the candidates' order, so the port that wins is the one a
// search trying them one by one would have stopped at, and silent ports
// ahead of it cost one probe time in all instead of one each.
#include <span>
#include <utility>
#include <vector>

#include "devlink/device_link.h"

namespace devlink {

struct ProbeOutcome {
    bool found = false;
    int portNumber = 0;  // the winner, or the last candidate
    // Candidates that would not open, in order, with the reason.
    std::vector<std::pair<int, PortFault>> refused;
};

// Every candidate that opens gets `probe` exactly once, those after the
// winner included. The link adopts the winner's open line, so the probe is
// the first and only one the device sees; the others are closed. Needs
// link.portFactory().
Task<ProbeOutcome> ProbeAllAtOnce(DeviceLink& link, std::vector<int> candidates, Payload probe);

}  // namespace devlink
