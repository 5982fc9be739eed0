#pragma once
// What a command reads from the device before it acts, with the frames the
// editor uses to read the same things.
#include <optional>

#include "cli/command_context.h"
#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_image.h"

namespace cli {

// The settings the device runs now, every code brought into its range as
// the editor brings them before showing them. False when the link was lost.
devlink::Task<bool> ReadCurrentSettings(devlink::DeviceLink& link, model::PresetImage& image);
// The same for a command: when they could not be read, it says why and
// gives the exit status to end with.
devlink::Task<ExitStatus> ReadCurrentSettingsFor(CommandContext& context, model::PresetImage& image);

// Whether a position 1..20 holds a preset (1..4 always do); nothing when the
// link was lost.
devlink::Task<std::optional<bool>> ReadPositionUsed(devlink::DeviceLink& link, int position);

}  // namespace cli
