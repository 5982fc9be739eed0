#include "presets/store_frames.h"

#include <cassert>

#include "devlink/commands.h"
#include "devlink/memory_map.h"
#include "model/preset_library.h"

namespace presets {

StorePlan StorePayloads(const model::PresetImage& image, const model::PresetNameBytes& name, int slot) {
    assert(slot >= 0 && slot < model::kUserPositions);
    using devlink::DeviceMemoryMap;
    StorePlan plan{};
    int f = 0;
    for (int m = 0; m < model::kBlockSize; ++m)
        plan[f++] = devlink::WriteMemoryBytePayload(DeviceMemoryMap::data(slot) + m, image[m]);
    for (int j = 0; j < model::kNameLength; ++j)
        plan[f++] = devlink::WriteMemoryBytePayload(DeviceMemoryMap::name(slot) + j, name[j]);
    plan[f] = devlink::WriteMemoryBytePayload(DeviceMemoryMap::marker(slot), devlink::StoreMarker);
    return plan;
}

devlink::Payload UnmarkPayload(int slot) {
    assert(slot >= 0 && slot < model::kUserPositions);
    return devlink::WriteMemoryBytePayload(devlink::DeviceMemoryMap::marker(slot), devlink::kUnusedMarker);
}

}  // namespace presets
