#include "devlink/preset_block.h"

#include <algorithm>

#include "devlink/commands.h"

namespace devlink {

Task<bool> ReadPresetBlockInto(DeviceLink& link, std::uint8_t index, model::PresetImage& image) {
    link.setReceiveSize(kBlockReplySize);
    const std::optional<Block> block = co_await link.readBlock(ReadPresetBlockPayload(index));
    if (block) std::copy_n(block->begin(), model::kBlockSize, image.begin());
    link.setReceiveSize(kReplySize);
    co_return block.has_value();
}

}  // namespace devlink
