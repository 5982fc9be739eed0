#include "devlink/device_link.h"

#include "devlink/commands.h"

namespace devlink {

bool DeviceLink::beginReconnect() {
    if (!ended_ || flags_.demoMode) return false;
    reconnecting_ = false;
    if (!openPort(portNumber_)) return false;
    setReceiveSize(kReplySize);
    if (!flags_.portReady || !writeFrame(ProbePayload())) return false;
    reconnecting_ = true;
    return true;
}

bool DeviceLink::finishReconnect() {
    if (!reconnecting_) return false;
    if (port_.fault() == PortFault::Broken || !port_.isOpen()) {
        reconnecting_ = false;
        return false;
    }
    pullInput();
    const std::optional<std::size_t> at = FindFramedReply(input_.bytes());
    if (!at) return false;
    dropInput(*at, "not a reply");
    copyReply(kFrameSize);
    if (reply_[3] != kFrameTag) return false;
    reconnecting_ = false;
    ended_ = false;
    trace(TraceEvent::In, std::span(reply_).first(kFrameSize), "the device answers again");
    return true;
}

void DeviceLink::resumeForConnect() {
    if (!ended_) return;
    reconnecting_ = false;
    closePort();
    ended_ = false;
}

void DeviceLink::resumeLoss(int lostPort) {
    closePort();
    reconnecting_ = false;
    portNumber_ = lostPort;
    portName_ = ports_.name(lostPort).value_or(std::string());
    ended_ = true;
}

}  // namespace devlink
