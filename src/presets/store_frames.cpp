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
    for (const devlink::Payload& frame : NamePayloads(name, slot)) plan[f++] = frame;
    plan[f] = devlink::WriteMemoryBytePayload(DeviceMemoryMap::marker(slot), devlink::StoreMarker);
    return plan;
}

NamePlan NamePayloads(const model::PresetNameBytes& name, int slot) {
    assert(slot >= 0 && slot < model::kUserPositions);
    NamePlan plan{};
    for (int j = 0; j < model::kNameLength; ++j)
        plan[j] = devlink::WriteMemoryBytePayload(devlink::DeviceMemoryMap::name(slot) + j, name[j]);
    return plan;
}

devlink::Payload UnmarkPayload(int slot) {
    assert(slot >= 0 && slot < model::kUserPositions);
    return devlink::WriteMemoryBytePayload(devlink::DeviceMemoryMap::marker(slot), devlink::kUnusedMarker);
}

}  // namespace presets
