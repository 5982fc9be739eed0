#pragma once
// search: the device's own feedback search, started and stopped with the
// editor's frames, each notch it places or clears printed as it arrives.
// It stops after --seconds or when Ctrl+C or SIGTERM comes, always with the
// stop frames, so the device is never left searching.
#include "cli/command_context.h"
#include "cli/invocation.h"

namespace cli {

devlink::Task<ExitStatus> RunSearch(CommandContext& context, const SearchCommand& command);

}  // namespace cli
