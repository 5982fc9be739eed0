#include "cli/device_reads.h"

#include "devlink/commands.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"
#include "model/preset_library.h"

namespace cli {
namespace {

constexpr int kReplyDataByte = 6;

}  // namespace

bool ReadCurrentSettings(devlink::DeviceLink& link, model::PresetImage& image) {
    if (!devlink::ReadPresetBlockInto(link, devlink::kCurrentSettingsBlock, image)) return false;
    model::ClampImageCodes(image);
    return true;
}

ExitStatus ReadCurrentSettingsFor(CommandContext& context, model::PresetImage& image) {
    if (ReadCurrentSettings(context.link, image)) return ExitStatus::Done;
    if (context.link.ended()) return context.lost();
    return context.console.fail(ExitStatus::NoDevice, "The device's current settings could not be read");
}

std::optional<bool> ReadPositionUsed(devlink::DeviceLink& link, int position) {
    if (position < model::kFirstUserPosition) return true;
    const std::optional<devlink::Reply> reply = link.request(
        devlink::ReadMemoryBytePayload(devlink::DeviceMemoryMap::marker(position - model::kFirstUserPosition)));
    if (!reply) return std::nullopt;
    return (*reply)[kReplyDataByte] == devlink::StoreMarker;
}

}  // namespace cli
