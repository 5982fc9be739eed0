#include "presets/library_actions.h"

#include <algorithm>

#include "devlink/preset_block.h"
#include "presets/preset_words.h"

namespace presets {
namespace {

// Only for a slot already known to be 0..15.
std::size_t IndexOf(int slot) {
    return static_cast<std::size_t>(slot) + static_cast<std::size_t>(model::kFixedPositions);
}
int PositionOf(int slot) { return slot + model::kFirstUserPosition; }

bool IsUsedSlot(const model::PresetLibrary& library, int slot) {
    return slot >= 0 && slot < model::kUserPositions && library.used[IndexOf(slot)];
}

bool TitleNames(const model::PresetLibrary& library, int slot) {
    return library.presetTitle.starts_with(PresetTitleText(PositionOf(slot), U""));
}

// The eight bytes the device holds under a listed name: a name read from the
// device is already eight, a name stored by this program was padded so.
model::PresetNameBytes ListedNameBytes(const std::u32string& name) {
    return model::PadPresetName(name).value_or(model::PresetNameBytes{});
}

LibraryResult CopyResult(PositionWriteOutcome outcome) {
    switch (outcome) {
    case PositionWriteOutcome::StoredAndVerified: return LibraryResult::Done;
    case PositionWriteOutcome::DiffersAfterWriting: return LibraryResult::DiffersAfterWriting;
    case PositionWriteOutcome::NotRead: return LibraryResult::SourceNotRead;
    default: return LibraryResult::LostLink;
    }
}

}  // namespace

devlink::Task<LibraryResult> RenamePreset(devlink::DeviceLink& link, model::PresetLibrary& library, const StoreRequest& request) {
    if (!IsUsedSlot(library, request.slot)) co_return LibraryResult::Refused;
    const std::size_t index = IndexOf(request.slot);
    // The name frames are the store's, so that both write a name alike.
    const NamePlan plan = NamePayloads(request.nameBytes, request.slot);
    const model::PresetNameBytes before = ListedNameBytes(library.names[index]);
    for (int j = 0; j < model::kNameLength; ++j) {
        co_await link.command(plan[static_cast<std::size_t>(j)]);
        if (link.ended()) {
            if (j > 0) {
                model::PresetNameBytes mixed = before;
                std::copy_n(request.nameBytes.begin(), j, mixed.begin());
                library.names[index] = model::DecodePresetName(mixed);
            }
            co_return LibraryResult::LostLink;
        }
    }
    library.names[index] = request.name;
    if (TitleNames(library, request.slot))
        library.presetTitle = PresetTitleText(PositionOf(request.slot), library.names[index]);
    co_return LibraryResult::Done;
}

devlink::Task<LibraryResult> ClearPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int slot) {
    if (!IsUsedSlot(library, slot)) co_return LibraryResult::Refused;
    co_await link.command(UnmarkPayload(slot));
    if (link.ended()) co_return LibraryResult::LostLink;
    const std::size_t index = IndexOf(slot);
    library.used[index] = false;
    library.names[index] = std::u32string(model::kEmptyPresetName);
    if (TitleNames(library, slot)) library.presetTitle.clear();
    co_return LibraryResult::Done;
}

devlink::Task<LibraryResult> CopyPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int sourceSlot,
                         const StoreRequest& target, const StoreProgress& progress, WriteMode mode) {
    if (!IsUsedSlot(library, sourceSlot) || target.slot < 0 || target.slot >= model::kUserPositions ||
        target.slot == sourceSlot)
        co_return LibraryResult::Refused;
    const auto report = [&progress](int done) {
        if (progress) progress(done);
    };

    report(0);
    model::PresetImage block{};
    const auto blockIndex = static_cast<std::uint8_t>(IndexOf(sourceSlot));
    // Awaits stay out of &&, || and ?: (g++ 12 mishandles their temporaries).
    bool read = true;
    if (!link.flags().demoMode) read = co_await devlink::ReadPresetBlockInto(link, blockIndex, block);
    if (!read)
        co_return link.ended() ? LibraryResult::LostLink : LibraryResult::SourceNotRead;
    report(1);

    const bool titledTarget = TitleNames(library, target.slot);
    const std::u32string title = library.presetTitle;
    LibraryResult result = LibraryResult::Done;
    if (mode == WriteMode::Full || link.flags().demoMode) {
        const StoreProgress stepped = [&report](int done) {
            if (done > 0) report(done + 1);
        };
        const StoreResult stored = co_await StorePreset(link, library, block, target, stepped);
        if (stored != StoreResult::Stored) result = LibraryResult::LostLink;
    } else {
        DeviceBlock data{};
        std::copy_n(block.begin(), data.size(), data.begin());
        const WriteProgress stepped = [&report](int done, int total) {
            report(1 + done * kStoreProgressMaximum / std::max(total, 1));
        };
        const PositionWriteReport written =
            co_await WriteChangedBytes(link, library, target, data, KnownFromLibrary(library, target.slot), stepped);
        result = CopyResult(written.outcome);
    }
    // The store names the editor's preset in the title; a copy leaves the
    // editor as it is.
    library.presetTitle = titledTarget ? std::u32string() : title;
    co_return result;
}

}  // namespace presets
