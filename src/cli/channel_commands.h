#pragma once
// get and set: the notch rows and automatic settings of the settings the
// device runs now. A set sends the frames the editor sends when the same
// values are typed into its boxes or chosen on its bars, one edit after the
// other: frequency, gain, width; count, width, depth, release, mode,
// sensitivity.
#include "cli/command_context.h"
#include "cli/invocation.h"
#include "model/preset_image.h"

namespace cli {

ExitStatus RunGet(CommandContext& context, const GetCommand& command);
ExitStatus RunSet(CommandContext& context, const SetCommand& command);

// The frames of the set on this image, which they change as the editor's
// controls change it; Refused (with why) for a row of the automatic search.
struct SetPlan {
    std::vector<devlink::Payload> frames;
    QString refusal;  // empty: nothing refused
};
SetPlan PlanSet(const SetCommand& command, model::PresetImage& image);

}  // namespace cli
