#include "presets/position_write.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "devlink/memory_map.h"
#include "devlink/preset_block.h"
#include "presets/preset_texts.h"
#include "presets/store_frames.h"

namespace presets {
namespace {

using devlink::DeviceMemoryMap;
constexpr int kPositionBytes = model::kBlockSize + model::kNameLength;

// Tells nothing until the frames are known, so a total shown never changes
// but for a block read once more.
class FrameSteps {
public:
    explicit FrameSteps(const WriteProgress& progress) : progress_(progress) {}
    void plan(int frames) {
        total_ = (planned_ ? total_ : done_) + frames;
        planned_ = true;
        tell();
    }
    void done() {
        ++done_;
        if (planned_) tell();
    }

private:
    void tell() const {
        if (progress_) progress_(done_, total_);
    }
    const WriteProgress& progress_;
    int done_ = 0;
    int total_ = 0;
    bool planned_ = false;
};

std::size_t IndexOf(int slot) { return static_cast<std::size_t>(slot) + model::kFixedPositions; }

devlink::Task<bool> ReadBlock(devlink::DeviceLink& link, int slot, DeviceBlock& out) {
    model::PresetImage image{};
    const bool read = co_await devlink::ReadPresetBlockInto(link, static_cast<std::uint8_t>(IndexOf(slot)), image);
    if (!read) co_return false;
    std::copy_n(image.begin(), out.size(), out.begin());
    co_return true;
}

int FirstDataDifference(const DeviceBlock& wanted, const DeviceBlock& device) {
    const auto at = std::mismatch(wanted.begin(), wanted.end(), device.begin());
    return at.first == wanted.end() ? -1 : static_cast<int>(at.first - wanted.begin());
}

void TraceByteCounts(devlink::DeviceLink& link, int slot, int written, int skipped) {
    devlink::LinkTrace* trace = link.trace();
    if (!trace) return;
    char position[24];
    std::snprintf(position, sizeof position, "position %02d: ", slot + model::kFirstUserPosition);
    trace->record(link.clock().nowMs(), devlink::TraceEvent::Out, {}, position + ByteCountText(written, skipped));
}

// Reads back what was written. The block has no frame to tell a byte the
// line changed from one the device holds, so a block that differs is read
// once more before it counts. -1 when all matches; nullopt when the link
// went away or the port gave no block.
devlink::Task<std::optional<int>> Verify(devlink::DeviceLink& link, const StoreRequest& request, const DeviceBlock& data,
                          const std::vector<int>& nameWrites, FrameSteps& steps) {
    DeviceBlock device{};
    bool read = co_await ReadBlock(link, request.slot, device);
    steps.done();
    if (read && FirstDataDifference(data, device) >= 0 && !link.ended()) {
        steps.plan(1);
        read = co_await ReadBlock(link, request.slot, device);
        steps.done();
    }
    if (!read || link.ended()) co_return std::nullopt;
    const int dataDifference = FirstDataDifference(data, device);
    if (dataDifference >= 0) co_return dataDifference;
    for (const int j : nameWrites) {
        const std::optional<std::uint8_t> byte = co_await devlink::ReadMemoryByte(link, DeviceMemoryMap::name(request.slot) + j);
        steps.done();
        if (!byte) co_return std::nullopt;
        if (*byte != request.nameBytes[static_cast<std::size_t>(j)]) co_return model::kBlockSize + j;
    }
    co_return -1;
}

}  // namespace

KnownPosition KnownFromLibrary(const model::PresetLibrary& library, int slot) {
    KnownPosition known;
    const std::size_t index = IndexOf(slot);
    known.used = library.used[index];
    // A name read from the device is its eight bytes; one stored by this
    // program was padded to them.
    if (library.used[index]) known.name = model::PadPresetName(library.names[index]);
    return known;
}

std::string PositionWriteText(const PositionWriteReport& report) {
    switch (report.outcome) {
    case PositionWriteOutcome::StoredAndVerified: return "Stored and verified";
    case PositionWriteOutcome::DiffersAfterWriting: {
        std::string text = "Differs after writing";
        if (report.firstDifference >= model::kBlockSize)
            text += ": name byte " + std::to_string(report.firstDifference - model::kBlockSize);
        else if (report.firstDifference >= 0)
            text += ": data byte " + std::to_string(report.firstDifference);
        return text;
    }
    case PositionWriteOutcome::NotWritten: return "Not written: link lost";
    case PositionWriteOutcome::LeftUnused: return "Left unused: link lost";
    case PositionWriteOutcome::WrittenNotVerified: return "Written, not verified: link lost";
    case PositionWriteOutcome::NotRead: return kReadFailed;
    }
    return {};
}

devlink::Task<PositionWriteReport> WriteChangedBytes(devlink::DeviceLink& link, model::PresetLibrary& library,
                                      const StoreRequest& request, const DeviceBlock& data, KnownPosition known,
                                      const WriteProgress& progress) {
    PositionWriteReport report;
    const int slot = request.slot;
    if (link.flags().demoMode || link.ended() || slot < 0 || slot >= model::kUserPositions) co_return report;
    const std::size_t index = IndexOf(slot);
    FrameSteps steps(progress);

    if (!known.used) {
        const std::optional<std::uint8_t> marker = co_await devlink::ReadMemoryByte(link, DeviceMemoryMap::marker(slot));
        steps.done();
        if (!marker) co_return report;
        known.used = *marker == devlink::StoreMarker;
    }
    if (*known.used && !known.name) {
        model::PresetNameBytes name{};
        for (int j = 0; j < model::kNameLength; ++j) {
            const std::optional<std::uint8_t> byte = co_await devlink::ReadMemoryByte(link, DeviceMemoryMap::name(slot) + j);
            steps.done();
            if (!byte) co_return report;
            name[static_cast<std::size_t>(j)] = *byte;
        }
        known.name = name;
    }
    if (!known.data) {
        DeviceBlock block{};
        const bool read = co_await ReadBlock(link, slot, block);
        steps.done();
        if (!read) {
            if (!link.ended()) report.outcome = PositionWriteOutcome::NotRead;
            co_return report;
        }
        known.data = block;
    }

    std::vector<int> dataWrites;
    for (int m = 0; m < model::kBlockSize; ++m)
        if (data[static_cast<std::size_t>(m)] != (*known.data)[static_cast<std::size_t>(m)]) dataWrites.push_back(m);
    // An unused position's name bytes are whatever was left there: writing
    // all eight costs no more frames than reading them first.
    std::vector<int> nameWrites;
    for (int j = 0; j < model::kNameLength; ++j) {
        const auto at = static_cast<std::size_t>(j);
        if (!known.name || request.nameBytes[at] != (*known.name)[at]) nameWrites.push_back(j);
    }
    report.written = static_cast<int>(dataWrites.size() + nameWrites.size());
    report.skipped = kPositionBytes - report.written;
    TraceByteCounts(link, slot, report.written, report.skipped);

    const bool wasUsed = *known.used;
    if (wasUsed && report.written == 0) {
        steps.plan(0);
        library.names[index] = request.name;
        report.outcome = PositionWriteOutcome::StoredAndVerified;
        co_return report;
    }
    steps.plan((wasUsed ? 1 : 0) + report.written + 1 + 1 + static_cast<int>(nameWrites.size()));
    if (wasUsed) {
        co_await link.command(UnmarkPayload(slot));
        steps.done();
        if (link.ended()) co_return report;
        library.used[index] = false;
        library.names[index] = std::u32string(model::kEmptyPresetName);
    }
    report.outcome = PositionWriteOutcome::LeftUnused;
    for (const int m : dataWrites) {
        co_await link.command(
            devlink::WriteMemoryBytePayload(DeviceMemoryMap::data(slot) + m, data[static_cast<std::size_t>(m)]));
        steps.done();
        if (link.ended()) co_return report;
    }
    const NamePlan namePlan = NamePayloads(request.nameBytes, slot);
    for (const int j : nameWrites) {
        co_await link.command(namePlan[static_cast<std::size_t>(j)]);
        steps.done();
        if (link.ended()) co_return report;
    }
    library.names[index] = request.name;
    library.used[index] = true;
    report.outcome = PositionWriteOutcome::WrittenNotVerified;
    co_await link.command(devlink::WriteMemoryBytePayload(DeviceMemoryMap::marker(slot), devlink::StoreMarker));
    steps.done();
    if (link.ended()) co_return report;

    const std::optional<int> difference = co_await Verify(link, request, data, nameWrites, steps);
    if (!difference) co_return report;
    report.firstDifference = *difference;
    report.outcome =
        *difference < 0 ? PositionWriteOutcome::StoredAndVerified : PositionWriteOutcome::DiffersAfterWriting;
    co_return report;
}

std::string ByteCountText(int written, int skipped) {
    return std::to_string(written) + (written == 1 ? " byte" : " bytes") + " written, " + std::to_string(skipped) +
           " skipped";
}

}  // namespace presets
