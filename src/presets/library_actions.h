#pragma once
// Looking after the device's writable positions without a window: renaming
// one, clearing one, copying one over another. Each writes only what it
// must, and the preset library follows the device frame by frame, so that a
// link lost on the way leaves the lists saying what the device then holds.
// The device's own positions 1..4 are never touched.
#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_library.h"
#include "presets/position_write.h"
#include "presets/preset_transfer.h"
#include "presets/store_frames.h"
#include "presets/store_request.h"

namespace presets {

enum class LibraryResult {
    Done,                 // every frame answered, or demo mode, which sends none
    LostLink,             // the device went away; the link has said so already
    SourceNotRead,        // the port did not open again for a block; nothing was written
    DiffersAfterWriting,  // written, and the target read back otherwise
    Refused,              // not a used writable position (or a copy onto itself): nothing was sent
};

// The copy's block read is one step before the store's.
inline constexpr int kCopyProgressMaximum = kStoreProgressMaximum + 1;

// Writes the request's eight name bytes into position request.slot + 5, and
// nothing else. The list shows the name as far as its bytes were answered;
// a preset title that named the position names it anew once all are.
devlink::Task<LibraryResult> RenamePreset(devlink::DeviceLink& link, model::PresetLibrary& library, const StoreRequest& request);

// Marks position slot + 5 unused: one frame. The data and name stay in the
// device's memory but no longer count. A title that named it is emptied.
devlink::Task<LibraryResult> ClearPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int slot);

// Reads position sourceSlot + 5 and stores it at target.slot + 5 under the
// target's name: by what differs and read back (WriteChangedBytes), or with
// WriteMode::Full every byte as StorePreset does. Either way a used target
// is unmarked first and the marker goes last. Progress: 0 before the read,
// 1 after it, then up to kCopyProgressMaximum as the store goes on. The
// title stays, unless it named the target, which now holds something else:
// it is emptied. In demo mode nothing is read or written and the lists
// change as if it had been.
devlink::Task<LibraryResult> CopyPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int sourceSlot,
                         const StoreRequest& target, const StoreProgress& progress = {},
                         WriteMode mode = WriteMode::ChangedBytes);

}  // namespace presets
