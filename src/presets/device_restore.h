#pragma once
// Writing a backup back into the device, without a window: the chosen
// positions are written by what differs (or whole, as a store does), the
// marker last, each is read back and compared, and the outcome is reported
// position by position. A dialog shows the comparison first
// (backup_comparison.h), then calls this with the blocks it read for it and
// a progress callback that can cancel.
#include <array>

#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_library.h"
#include "presets/backup_comparison.h"
#include "presets/backup_read.h"
#include "presets/device_backup.h"
#include "presets/position_write.h"

namespace presets {

struct RestoreSelection {
    std::array<bool, model::kUserPositions> positions{};  // index = position - 5
    bool currentSettings = false;
    WriteMode mode = WriteMode::ChangedBytes;
};

enum class RestoreOutcome {
    NotChosen,
    RestoredAndVerified,
    DiffersAfterWriting,  // read back, and the device holds something else
    WrittenNotVerified,   // every frame answered, then the link went away
    NotWrittenLinkLost,   // the link went away first, or during a whole write
    Cancelled,            // the callback said stop before it was begun
    LeftUnusedLinkLost,   // the link went away among the writes of what differs
    NotRead,              // the port gave no block to compare with: nothing was written
};

// "Restored and verified", "Differs after writing", "Written, not verified:
// link lost", "Not written: link lost", "Cancelled", "Left unused: link
// lost", the read failure; empty for NotChosen.
const char* RestoreOutcomeText(RestoreOutcome outcome);

enum class RestoreResult {
    Done,       // every chosen part was written and read back (see each outcome)
    Cancelled,  // stopped between two parts
    LostLink,   // the device went away; the link has said so
    NoDevice,   // demo mode or no port: nothing was sent
};

struct RestoreReport {
    RestoreResult result = RestoreResult::Done;
    std::array<RestoreOutcome, model::kUserPositions> positions{};  // index = position - 5
    // What each position's write counted and found; a whole write counts
    // every byte as written.
    std::array<PositionWriteReport, model::kUserPositions> writes{};
    RestoreOutcome currentSettings = RestoreOutcome::NotChosen;
};

// The outcome's words; a difference names its first byte ("Differs after
// writing: data byte 12").
std::string RestorePositionText(const RestoreReport& report, int slot);

// Positions in order 5..20, then the current settings. A used position of
// the backup is written with WriteChangedBytes, the device's side taken
// from the library and from `deviceBlocks` where the caller has read them
// (with WriteMode::Full: StorePreset, every byte); an unused one has its
// marker cleared when the library lists it used. Each written position is
// read back. The current settings are compared with the block the device
// runs, only the parameters that differ are sent (all of them with
// WriteMode::Full), and the block is read back; only the parameters those
// frames carry are compared.
//
// Progress counts parts done of parts chosen, called with (0, total) first
// and after every frame; returning false stops before the next part, so a
// part begun is finished and verified, never left half written. The library
// follows what the device holds; its preset title is left as it was. The
// editor does not see restored current settings: its caller shows them.
devlink::Task<RestoreReport> RestoreDevice(devlink::DeviceLink& link, model::PresetLibrary& library, const DeviceBackup& backup,
                            const RestoreSelection& selection, const TransferProgress& progress = {},
                            const DeviceBlocks& deviceBlocks = {});

}  // namespace presets
