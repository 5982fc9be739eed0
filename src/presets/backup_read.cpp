#include "presets/backup_read.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "devlink/commands.h"
#include "devlink/library_read.h"
#include "devlink/preset_block.h"
#include "qrn_version.h"

namespace presets {
namespace {

model::PresetNameBytes NameBytes(const std::u32string& name) {
    model::PresetNameBytes bytes{};
    for (std::size_t j = 0; j < bytes.size() && j < name.size(); ++j)
        bytes[j] = static_cast<std::uint8_t>(name[j] & 0xFFU);
    return bytes;
}

// Counts blocks done and asks the callback, after every frame, whether to go on.
class BackupProgress {
public:
    explicit BackupProgress(const TransferProgress& callback) : callback_(callback) {}
    bool tell() { return !callback_ || callback_(done_, total_); }
    void setTotal(int total) { total_ = total; }
    bool blockDone() {
        ++done_;
        return tell();
    }

private:
    const TransferProgress& callback_;
    int done_ = 0;
    int total_ = model::kUserPositions + 1;
};

}  // namespace

std::string BackupDateText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

devlink::Task<BackupReadResult> ReadDeviceBackup(devlink::DeviceLink& link, DeviceBackup& out, const TransferProgress& progress,
                                  std::chrono::system_clock::time_point created,
                                  const devlink::LibraryReadSteps& listSteps) {
    if (link.ended()) co_return BackupReadResult::LostLink;
    if (link.flags().demoMode || !link.flags().portReady) co_return BackupReadResult::NoDevice;
    BackupProgress steps(progress);
    if (!steps.tell()) co_return BackupReadResult::Cancelled;

    model::PresetLibrary library;
    devlink::LibraryReadSteps librarySteps;
    librarySteps.markersRead = [&steps, &listSteps](int used) {
        steps.setTotal(used + 1);
        if (listSteps.markersRead) listSteps.markersRead(used);
    };
    librarySteps.frameDone = [&steps, &listSteps] {
        return (!listSteps.frameDone || listSteps.frameDone()) && steps.tell();
    };
    const devlink::LibraryReadResult listed = co_await devlink::ReadDeviceLibrary(link, library, librarySteps);
    switch (listed) {
    case devlink::LibraryReadResult::Read: break;
    case devlink::LibraryReadResult::Stopped: co_return BackupReadResult::Cancelled;
    case devlink::LibraryReadResult::LostLink: co_return BackupReadResult::LostLink;
    }

    DeviceBackup backup;
    backup.programName = NameBytes(library.programName);
    model::PresetImage block{};
    // Awaited where it is made, so what it refers to outlives it.
    const auto readBlock = [&](std::uint8_t index, DeviceBlock& into) -> devlink::Task<BackupReadResult> {
        const bool read = co_await devlink::ReadPresetBlockInto(link, index, block);
        if (!read) co_return link.ended() ? BackupReadResult::LostLink : BackupReadResult::NoDevice;
        std::copy_n(block.begin(), into.size(), into.begin());
        co_return steps.blockDone() ? BackupReadResult::Read : BackupReadResult::Cancelled;
    };
    for (int slot = 0; slot < model::kUserPositions; ++slot) {
        const int index = model::kFixedPositions + slot;
        BackupPosition& position = backup.positions[static_cast<std::size_t>(slot)];
        position.used = library.used[static_cast<std::size_t>(index)];
        position.name = NameBytes(library.names[static_cast<std::size_t>(index)]);
        if (!position.used) continue;
        const BackupReadResult result = co_await readBlock(static_cast<std::uint8_t>(index), position.data);
        if (result != BackupReadResult::Read) co_return result;
    }
    const BackupReadResult result = co_await readBlock(devlink::kCurrentSettingsBlock, backup.current);
    if (result != BackupReadResult::Read) co_return result;

    backup.created = BackupDateText(created);
    backup.programVersion = kQrnVersion;
    out = std::move(backup);
    co_return BackupReadResult::Read;
}

}  // namespace presets
