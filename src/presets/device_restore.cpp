#include "presets/device_restore.h"

#include <algorithm>
#include <optional>

#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"
#include "notch/preset_frames.h"
#include "presets/preset_texts.h"
#include "presets/preset_transfer.h"
#include "presets/store_frames.h"

namespace presets {
namespace {

using devlink::DeviceMemoryMap;

class RestoreProgress {
public:
    RestoreProgress(const TransferProgress& callback, int total) : callback_(callback), total_(total) {}
    // After every frame; remembers a stop for the next part.
    void frameDone() { tell(); }
    void partDone() {
        ++done_;
        tell();
    }
    bool stopAsked() const { return stopAsked_; }

private:
    void tell() {
        if (callback_ && !callback_(done_, total_)) stopAsked_ = true;
    }
    const TransferProgress& callback_;
    int done_ = 0;
    int total_;
    bool stopAsked_ = false;
};

devlink::Task<bool> Verified(devlink::DeviceLink& link, int slot, const BackupPosition& expected, RestoreProgress& progress) {
    const std::optional<std::uint8_t> marker = co_await devlink::ReadMemoryByte(link, DeviceMemoryMap::marker(slot));
    progress.frameDone();
    if (!marker) co_return false;
    if (!expected.used) co_return *marker != devlink::StoreMarker;
    model::PresetNameBytes name{};
    for (int j = 0; j < model::kNameLength; ++j) {
        const std::optional<std::uint8_t> byte = co_await devlink::ReadMemoryByte(link, DeviceMemoryMap::name(slot) + j);
        progress.frameDone();
        if (!byte) co_return false;
        name[static_cast<std::size_t>(j)] = *byte;
    }
    model::PresetImage block{};
    const bool read =
        co_await devlink::ReadPresetBlockInto(link, static_cast<std::uint8_t>(slot + model::kFixedPositions), block);
    progress.frameDone();
    co_return read && *marker == devlink::StoreMarker && name == expected.name &&
           std::equal(expected.data.begin(), expected.data.end(), block.begin());
}

RestoreOutcome Checked(devlink::DeviceLink& link, bool verified) {
    if (link.ended()) return RestoreOutcome::WrittenNotVerified;
    return verified ? RestoreOutcome::RestoredAndVerified : RestoreOutcome::DiffersAfterWriting;
}

RestoreOutcome FromPositionWrite(PositionWriteOutcome outcome) {
    switch (outcome) {
    case PositionWriteOutcome::StoredAndVerified: return RestoreOutcome::RestoredAndVerified;
    case PositionWriteOutcome::DiffersAfterWriting: return RestoreOutcome::DiffersAfterWriting;
    case PositionWriteOutcome::NotWritten: return RestoreOutcome::NotWrittenLinkLost;
    case PositionWriteOutcome::LeftUnused: return RestoreOutcome::LeftUnusedLinkLost;
    case PositionWriteOutcome::WrittenNotVerified: return RestoreOutcome::WrittenNotVerified;
    case PositionWriteOutcome::NotRead: return RestoreOutcome::NotRead;
    }
    return RestoreOutcome::NotWrittenLinkLost;
}

devlink::Task<RestoreOutcome> ClearPosition(devlink::DeviceLink& link, model::PresetLibrary& library, int slot,
                             const BackupPosition& position, RestoreProgress& progress) {
    co_await link.command(UnmarkPayload(slot));
    progress.frameDone();
    if (link.ended()) co_return RestoreOutcome::NotWrittenLinkLost;
    const auto index = static_cast<std::size_t>(slot) + model::kFixedPositions;
    library.used[index] = false;
    library.names[index] = std::u32string(model::kEmptyPresetName);
    co_return Checked(link, co_await Verified(link, slot, position, progress));
}

devlink::Task<RestoreOutcome> RestoreWholePosition(devlink::DeviceLink& link, model::PresetLibrary& library, int slot,
                                    const BackupPosition& position, RestoreProgress& progress,
                                    PositionWriteReport& counted) {
    if (!position.used) co_return co_await ClearPosition(link, library, slot, position, progress);
    model::PresetImage image{};
    std::copy(position.data.begin(), position.data.end(), image.begin());
    const StoreRequest request{slot, position.name, model::DecodePresetName(position.name)};
    const StoreProgress frameDone = [&progress](int) { progress.frameDone(); };
    const StoreResult stored = co_await StorePreset(link, library, image, request, frameDone);
    if (stored != StoreResult::Stored || link.ended()) co_return RestoreOutcome::NotWrittenLinkLost;
    counted.written = model::kBlockSize + model::kNameLength;
    co_return Checked(link, co_await Verified(link, slot, position, progress));
}

// An unused position the library also lists unused needs no frame.
devlink::Task<RestoreOutcome> RestoreChangedBytes(devlink::DeviceLink& link, model::PresetLibrary& library, int slot,
                                   const BackupPosition& position, const std::optional<DeviceBlock>& deviceBlock,
                                   RestoreProgress& progress, PositionWriteReport& counted) {
    KnownPosition known = KnownFromLibrary(library, slot);
    if (!position.used) {
        if (!*known.used) co_return RestoreOutcome::RestoredAndVerified;
        co_return co_await ClearPosition(link, library, slot, position, progress);
    }
    known.data = deviceBlock;
    const StoreRequest request{slot, position.name, model::DecodePresetName(position.name)};
    const WriteProgress frameDone = [&progress](int, int) { progress.frameDone(); };
    counted = co_await WriteChangedBytes(link, library, request, position.data, known, frameDone);
    co_return FromPositionWrite(counted.outcome);
}

// Only what the application frames set: the notch records and the six
// automatic bytes of each channel.
bool CurrentSettingsMatch(const model::PresetImage& sent, const model::PresetImage& device) {
    for (int n = 0; n < model::kNotches; ++n) {
        const auto r = static_cast<std::ptrdiff_t>(model::NotchRecordOffset[n]);
        if (!std::equal(sent.begin() + r, sent.begin() + r + 4, device.begin() + r)) return false;
    }
    for (int c = 0; c < model::kChannels; ++c)
        for (const auto* table : {&model::NumNotchAutoOffset, &model::QNotchAutoOffset, &model::AttenuationModeOffset,
                                  &model::SensitivityOffset, &model::ReleaseSpeedOffset, &model::SearchModeOffset})
            if (sent[(*table)[c]] != device[(*table)[c]]) return false;
    return true;
}

devlink::Task<RestoreOutcome> RestoreCurrentSettings(devlink::DeviceLink& link, const DeviceBlock& current, WriteMode mode,
                                      RestoreProgress& progress) {
    model::PresetImage image{};
    std::copy(current.begin(), current.end(), image.begin());
    model::ClampImageCodes(image);  // what the frames carry
    model::PresetImage device{};
    std::vector<devlink::Payload> payloads;
    if (mode == WriteMode::Full) {
        payloads = notch::PresetApplicationPayloads(image);
    } else {
        const bool read = co_await devlink::ReadPresetBlockInto(link, devlink::kCurrentSettingsBlock, device);
        progress.frameDone();
        if (!read) co_return link.ended() ? RestoreOutcome::NotWrittenLinkLost : RestoreOutcome::NotRead;
        payloads = notch::ChangedParameterPayloads(device, image);
        if (payloads.empty()) co_return RestoreOutcome::RestoredAndVerified;
    }
    for (const devlink::Payload& payload : payloads) {
        co_await link.command(payload);
        progress.frameDone();
        if (link.ended()) co_return RestoreOutcome::NotWrittenLinkLost;
    }
    const bool read = co_await devlink::ReadPresetBlockInto(link, devlink::kCurrentSettingsBlock, device);
    progress.frameDone();
    co_return Checked(link, read && CurrentSettingsMatch(image, device));
}

}  // namespace

const char* RestoreOutcomeText(RestoreOutcome outcome) {
    switch (outcome) {
    case RestoreOutcome::NotChosen: return "";
    case RestoreOutcome::RestoredAndVerified: return "Restored and verified";
    case RestoreOutcome::DiffersAfterWriting: return "Differs after writing";
    case RestoreOutcome::WrittenNotVerified: return "Written, not verified: link lost";
    case RestoreOutcome::NotWrittenLinkLost: return "Not written: link lost";
    case RestoreOutcome::Cancelled: return "Cancelled";
    case RestoreOutcome::LeftUnusedLinkLost: return "Left unused: link lost";
    case RestoreOutcome::NotRead: return kReadFailed;
    }
    return "";
}

std::string RestorePositionText(const RestoreReport& report, int slot) {
    const auto s = static_cast<std::size_t>(slot);
    if (report.positions[s] == RestoreOutcome::DiffersAfterWriting && report.writes[s].firstDifference >= 0)
        return PositionWriteText(report.writes[s]);
    return RestoreOutcomeText(report.positions[s]);
}

devlink::Task<RestoreReport> RestoreDevice(devlink::DeviceLink& link, model::PresetLibrary& library, const DeviceBackup& backup,
                            const RestoreSelection& selection, const TransferProgress& progress,
                            const DeviceBlocks& deviceBlocks) {
    RestoreReport report;
    if (link.flags().demoMode || !link.flags().portReady) {
        report.result = RestoreResult::NoDevice;
        co_return report;
    }
    const int total = static_cast<int>(std::count(selection.positions.begin(), selection.positions.end(), true)) +
                      (selection.currentSettings ? 1 : 0);
    RestoreProgress steps(progress, total);
    steps.frameDone();
    const std::u32string title = library.presetTitle;

    // Every part after a stop or a lost link keeps the reason it was not done.
    const auto next = [&]() -> std::optional<RestoreOutcome> {
        if (link.ended()) return RestoreOutcome::NotWrittenLinkLost;
        if (steps.stopAsked()) return RestoreOutcome::Cancelled;
        return std::nullopt;
    };
    for (int slot = 0; slot < model::kUserPositions; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        if (!selection.positions[s]) continue;
        const auto skipped = next();
        if (skipped)
            report.positions[s] = *skipped;
        else if (selection.mode == WriteMode::Full)
            report.positions[s] =
                co_await RestoreWholePosition(link, library, slot, backup.positions[s], steps, report.writes[s]);
        else
            report.positions[s] =
                co_await RestoreChangedBytes(link, library, slot, backup.positions[s], deviceBlocks[s], steps, report.writes[s]);
        if (!skipped) steps.partDone();
    }
    if (selection.currentSettings) {
        const auto skipped = next();
        if (skipped)
            report.currentSettings = *skipped;
        else
            report.currentSettings = co_await RestoreCurrentSettings(link, backup.current, selection.mode, steps);
        if (!skipped) steps.partDone();
    }
    library.presetTitle = title;
    if (link.ended())
        report.result = RestoreResult::LostLink;
    else if (std::count(report.positions.begin(), report.positions.end(), RestoreOutcome::Cancelled) > 0 ||
             report.currentSettings == RestoreOutcome::Cancelled)
        report.result = RestoreResult::Cancelled;
    co_return report;
}

}  // namespace presets
