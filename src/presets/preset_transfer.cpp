#include "presets/preset_transfer.h"

#include "devlink/preset_block.h"
#include "presets/preset_words.h"
#include "presets/store_frames.h"

namespace presets {

devlink::Task<StoreResult> StorePreset(devlink::DeviceLink& link, model::PresetLibrary& library, const model::PresetImage& image,
                        const StoreRequest& request, const StoreProgress& progress) {
    if (request.slot < 0 || request.slot >= model::kUserPositions) co_return StoreResult::Refused;
    const int position = request.slot + model::kFirstUserPosition;
    const auto index = static_cast<std::size_t>(position) - 1;
    const auto report = [&progress](int done) {
        if (progress) progress(done);
    };

    report(0);
    if (library.used[index]) {
        co_await link.command(UnmarkPayload(request.slot));
        if (link.ended()) co_return StoreResult::LostLink;
        // From here until the marker the device holds no preset there.
        library.used[index] = false;
        library.names[index] = std::u32string(model::kEmptyPresetName);
    }
    const StorePlan plan = StorePayloads(image, request.nameBytes, request.slot);
    for (int f = 0; f < kStoreByteFrames; ++f) {
        co_await link.command(plan[static_cast<std::size_t>(f)]);
        if (link.ended()) co_return StoreResult::LostLink;
        report(f + 1);
    }
    // The lists change only once the device has answered the marker frame.
    co_await link.command(plan.back());
    if (link.ended()) co_return StoreResult::LostAtMarker;
    library.names[index] = request.name;
    library.used[index] = true;
    library.presetTitle = PresetTitleText(position, library.names[index]);
    co_return StoreResult::Stored;
}

devlink::Task<ReadResult> ReadPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int index, model::PresetImage& image,
                      const std::function<void()>& applyImage) {
    if (index < 0 || index >= model::kPresetPositions) co_return ReadResult::Refused;
    bool read = true;
    if (!link.flags().demoMode) read = co_await devlink::ReadPresetBlockInto(link, static_cast<std::uint8_t>(index), image);
    if (!read)
        co_return link.ended() ? ReadResult::LostLink : ReadResult::NoBlock;
    if (applyImage) applyImage();
    const auto position = static_cast<std::size_t>(index);
    library.presetTitle = PresetTitleText(index + 1, library.names[position]);
    co_return ReadResult::Read;
}

}  // namespace presets
