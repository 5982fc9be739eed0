#pragma once
// Writing one of the positions 5..20 by what differs: the device's side is
// taken from what this session already knows, or read, and only the data
// and name bytes that differ are written, between the unmark of a used
// position and the used marker, so a write cut short never leaves a used
// marker over mixed data. The block (and any name byte written) is then read
// back. A position that already holds the preset gets no frame at all, and
// each byte skipped is one write the device's memory never wears.
#include <functional>
#include <optional>
#include <string>

#include "devlink/device_link.h"
#include "model/preset_library.h"
#include "presets/device_backup.h"
#include "presets/store_request.h"

namespace presets {

enum class WriteMode {
    ChangedBytes,  // read first, write what differs, read back
    Full,          // every data and name byte, as a store always did
};

// What the session knows of a position's device side; what is missing is
// read from the device before anything is written.
struct KnownPosition {
    std::optional<bool> used;
    std::optional<model::PresetNameBytes> name;  // only a used position's counts
    std::optional<DeviceBlock> data;
};

// The marker and (for a used position) the name, from a library that was
// read from the device this session and kept current since. slot 0..15.
KnownPosition KnownFromLibrary(const model::PresetLibrary& library, int slot);

enum class PositionWriteOutcome {
    StoredAndVerified,    // read back as written, or nothing needed writing
    DiffersAfterWriting,  // read back twice, and the device holds something else
    NotWritten,           // the link went away before the position changed
    LeftUnused,           // the link went away among the writes: the position is unmarked
    WrittenNotVerified,   // the marker was due or answered, then the link went away
    NotRead,              // the port gave no block (and the link stays): nothing was written
};

struct PositionWriteReport {
    PositionWriteOutcome outcome = PositionWriteOutcome::NotWritten;
    int written = 0;  // data and name bytes written
    int skipped = 0;  // data and name bytes the device already held
    // After writing: 0..159 a data byte, 160..167 a name byte; -1 none.
    int firstDifference = -1;
};

// "Stored and verified", "Differs after writing: data byte 12" (or "name
// byte 3"), "Not written: link lost", "Left unused: link lost", "Written,
// not verified: link lost", or the block read's failure.
std::string PositionWriteText(const PositionWriteReport& report);
// "1 byte written, 167 skipped": the trace, the store window and the
// command-line tool say it alike.
std::string ByteCountText(int written, int skipped);

// After every frame: frames done, and frames planned so far (the reads
// first; the writes and the reads back once the device's side is known).
using WriteProgress = std::function<void(int done, int total)>;

// Writes `data` and request.nameBytes into position request.slot + 5 by what
// differs. The library follows the device: listed empty once an unmark is
// answered, listed under the typed name once the marker is due; its title is
// the caller's. The trace gets one line with the bytes written and skipped.
// Needs a device: in demo mode nothing is sent and NotWritten comes back.
devlink::Task<PositionWriteReport> WriteChangedBytes(devlink::DeviceLink& link, model::PresetLibrary& library,
                                      const StoreRequest& request, const DeviceBlock& data, KnownPosition known,
                                      const WriteProgress& progress = {});

}  // namespace presets
