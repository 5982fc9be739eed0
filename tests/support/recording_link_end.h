#pragma once
// The link's end for tests: what the link said when it was lost, in order.
#include <string>
#include <vector>

#include "devlink/device_link.h"

namespace testing_support {

class RecordingLinkEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

}  // namespace testing_support
