#pragma once
// Writing a backup back into the device, without a window: the chosen
// positions are stored as the store does (marker last), each is read back
// and compared, and the outcome is reported position by position. A dialog
// shows the comparison first (backup_comparison.h), then calls this with a
// progress callback that can cancel.
#include <array>

#include "devlink/device_link.h"
#include "model/preset_library.h"
#include "presets/backup_read.h"
#include "presets/device_backup.h"

namespace presets {

struct RestoreSelection {
    std::array<bool, model::kUserPositions> positions{};  // index = position - 5
    bool currentSettings = false;
};

enum class RestoreOutcome {
    NotChosen,
    RestoredAndVerified,
    DiffersAfterWriting,  // read back, and the device holds something else
    WrittenNotVerified,   // every frame answered, then the link went away
    NotWrittenLinkLost,   // the link went away first, or during the writing
    Cancelled,            // the callback said stop before it was begun
};

// "Restored and verified", "Differs after writing", "Written, not verified:
// link lost", "Not written: link lost", "Cancelled"; empty for NotChosen.
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
    RestoreOutcome currentSettings = RestoreOutcome::NotChosen;
};

// Positions in order 5..20, then the current settings. A used position of
// the backup is written with StorePreset (its data, its name, the marker
// last; a position the library lists as used is marked unused first); an
// unused one has its marker cleared. Each is then read back (block, name
// and marker for a used one, the marker for an unused one). The current
// settings go as a whole preset application and are read back as the block
// the device runs; only the parameters those frames carry are compared.
//
// Progress counts parts done of parts chosen, called with (0, total) first
// and after every frame; returning false stops before the next part, so a
// part begun is finished and verified, never left half written. The library
// follows what the device holds; its preset title is left as it was. The
// editor does not see restored current settings: its caller shows them.
RestoreReport RestoreDevice(devlink::DeviceLink& link, model::PresetLibrary& library, const DeviceBackup& backup,
                            const RestoreSelection& selection, const TransferProgress& progress = {});

}  // namespace presets
