#pragma once
// get and set: the notch rows and automatic settings of the settings the
// device runs now. A set of a notch sends one SetNotch frame with its final
// frequency, gain and width, the frame the editor sends for that notch; a set
// of automatic settings sends each setting's frame once, in the order the
// editor sends a channel's settings: count, width, depth, sensitivity,
// release, mode.
#include "cli/command_context.h"
#include "cli/invocation.h"
#include "model/preset_image.h"

namespace cli {

devlink::Task<ExitStatus> RunGet(CommandContext& context, const GetCommand& command);
devlink::Task<ExitStatus> RunSet(CommandContext& context, const SetCommand& command);

// The frames of the set on this image, which they change as the editor's
// controls change it; Refused (with why) for a row of the automatic search.
struct SetPlan {
    std::vector<devlink::Payload> frames;
    QString refusal;  // empty: nothing refused
};
SetPlan PlanSet(const SetCommand& command, model::PresetImage& image);

}  // namespace cli
