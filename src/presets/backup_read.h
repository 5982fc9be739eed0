#pragma once
// Reading everything a backup keeps from the device, without a window: a
// dialog calls it with a progress callback that can cancel, and writes the
// file (backup_file_io.h) only when the read is complete.
#include <chrono>
#include <functional>

#include "devlink/device_link.h"
#include "devlink/task.h"
#include "devlink/library_read.h"
#include "presets/device_backup.h"

namespace presets {

// Called with (0, total) before the first frame and after every frame;
// `done` counts the blocks read: the used positions', then the current
// settings'. `total` is 17 until the markers are in, then the used positions
// plus one. Returning false stops before the next frame.
using TransferProgress = std::function<bool(int done, int total)>;

enum class BackupReadResult {
    Read,       // `out` holds the whole device
    Cancelled,  // the progress callback said stop; `out` is untouched
    LostLink,   // the device went away; the link has said so; `out` is untouched
    NoDevice,   // demo mode, or a port that gives no block: nothing to read
};

// Reads the markers, the used positions' names and the program name (as the
// start-up read does), then each used position's block, then the current
// settings. Sends only reads, so a cancelled or failed backup changes
// nothing in the device. `created` is when it was made, stored as UTC.
// `listSteps` follow the first part frame by frame, for a count of its own;
// either they or `progress` may stop it.
devlink::Task<BackupReadResult> ReadDeviceBackup(devlink::DeviceLink& link, DeviceBackup& out, const TransferProgress& progress = {},
                                  std::chrono::system_clock::time_point created = std::chrono::system_clock::now(),
                                  const devlink::LibraryReadSteps& listSteps = {});

// "2026-12-08T14:03:27Z".
std::string BackupDateText(std::chrono::system_clock::time_point time);

}  // namespace presets
