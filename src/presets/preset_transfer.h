#pragma once
// Storing a preset into the device and reading one back, without a window:
// the dialogs call these and show what they report, and so can anything
// else that holds a link. The lists and the title of the preset library
// change here exactly as the dialogs show them.
#include <functional>

#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_image.h"
#include "model/preset_library.h"
#include "presets/store_request.h"

namespace presets {

enum class StoreResult {
    Stored,    // every frame answered, or demo mode, which sends none
    LostLink,  // the device went away; the link has said so already
    // Gone at the used marker, the last frame: every byte was written, but
    // whether the device took the marker is unknown. The lists keep the
    // position as it was until a read says otherwise.
    LostAtMarker,
    Refused,  // a slot outside 0..15: nothing was sent
};

// Called with 0 before the first frame and with the count of data and name
// bytes answered after each one (1..168); never for the marker frame.
using StoreProgress = std::function<void(int done)>;

// Writes the image's 160 data bytes, the request's name bytes and last the
// used marker into position slot + 5; a position listed as used is first
// marked unused (and listed empty once that is answered). Once the marker
// frame is answered the position is listed as used under the typed name and
// becomes the library's preset title. A link lost on the way
// leaves the title as it was and the lists as the device then has them.
devlink::Task<StoreResult> StorePreset(devlink::DeviceLink& link, model::PresetLibrary& library, const model::PresetImage& image,
                        const StoreRequest& request, const StoreProgress& progress = {});

enum class ReadResult {
    Read,      // the block is in the image (in demo mode the image stays)
    LostLink,  // the device went away; the link has said so already
    NoBlock,   // the port did not open again for the block; nothing changed
    Refused,   // an index outside 0..19: nothing was sent
};

// Reads position index + 1 into the image's first 160 bytes, lets
// `applyImage` show it, and makes "position: name" the library's preset
// title. Whether the position is used is the caller's to ask first.
devlink::Task<ReadResult> ReadPreset(devlink::DeviceLink& link, model::PresetLibrary& library, int index, model::PresetImage& image,
                      const std::function<void()>& applyImage = {});

}  // namespace presets
