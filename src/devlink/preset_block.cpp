#include "devlink/preset_block.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {

bool ReadPresetBlockInto(DeviceLink& link, std::uint8_t index, model::PresetImage& image) {
    link.setReceiveSize(kBlockReplySize);
    const std::optional<Block> block = link.readBlock(ReadPresetBlockPayload(index));
    if (block) std::copy_n(block->begin(), model::kBlockSize, image.begin());
    link.setReceiveSize(kReplySize);
    return block.has_value();
}

}  // namespace devlink
