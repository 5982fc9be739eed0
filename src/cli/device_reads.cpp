#include "cli/device_reads.h"

#include "devlink/commands.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"
#include "model/preset_library.h"

namespace cli {
namespace {

constexpr int kReplyDataByte = 6;

}  // namespace

devlink::Task<bool> ReadCurrentSettings(devlink::DeviceLink& link, model::PresetImage& image) {
    const bool read = co_await devlink::ReadPresetBlockInto(link, devlink::kCurrentSettingsBlock, image);
    if (!read) co_return false;
    model::ClampImageCodes(image);
    co_return true;
}

devlink::Task<ExitStatus> ReadCurrentSettingsFor(CommandContext& context, model::PresetImage& image) {
    const bool read = co_await ReadCurrentSettings(context.link, image);
    if (read) co_return ExitStatus::Done;
    if (context.link.ended()) co_return context.lost();
    co_return context.console.fail(ExitStatus::NoDevice, "The device's current settings could not be read");
}

devlink::Task<std::optional<bool>> ReadPositionUsed(devlink::DeviceLink& link, int position) {
    if (position < model::kFirstUserPosition) co_return true;
    const std::optional<devlink::Reply> reply = co_await link.request(
        devlink::ReadMemoryBytePayload(devlink::DeviceMemoryMap::marker(position - model::kFirstUserPosition)));
    if (!reply) co_return std::nullopt;
    co_return (*reply)[kReplyDataByte] == devlink::StoreMarker;
}

}  // namespace cli
