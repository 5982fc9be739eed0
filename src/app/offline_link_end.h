#pragma once
// The device stopped answering or its port failed: go on offline. The
// editor keeps every setting and can still be edited, as in demo mode; the
// banner says why (no box: it would outlive the loss and stack beside the
// question the return brings); the main window reconnects when the device
// answers again.
#include <functional>
#include <string>

#include "devlink/device_link.h"

namespace app {

class OfflineLinkEnd final : public devlink::LinkEnd {
public:
    // Told why the link was lost, from inside the exchange that found it.
    void setOnLost(std::function<void(const std::string& why)> onLost) { onLost_ = std::move(onLost); }
    void linkLost(const std::string& message) override {
        if (onLost_) onLost_(message);
    }

private:
    std::function<void(const std::string&)> onLost_;
};

}  // namespace app
