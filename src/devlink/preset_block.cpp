#include "devlink/preset_block.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {

bool ReadPresetBlockInto(DeviceLink& link, std::uint8_t index, model::PresetImage& image) {
    link.setReceiveSize(kBlockReplySize);
    const bool arrived = link.readBlock(ReadPresetBlockPayload(index));
    if (arrived) std::copy_n(link.replyBuffer().begin(), model::kBlockSize, image.begin());
    link.setReceiveSize(kReplySize);
    return arrived;
}

}  // namespace devlink
