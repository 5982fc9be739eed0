#pragma once
// ports and info: which ports there are and where the device answers, and
// what the device holds.
#include <optional>

#include "cli/command_context.h"

namespace cli {

// The ports of the table that exist (every number with `all`; only `onlyPort`
// when --port named one): its path, whether it exists and whether a QRN4480
// answers on it.
devlink::Task<ExitStatus> RunPorts(CommandContext& context, std::optional<int> onlyPort, bool all);
// The port, the device's program name and positions 5..20, read as the
// editor's start-up read begins: reads only, nothing changes in the device.
devlink::Task<ExitStatus> RunInfo(CommandContext& context);

}  // namespace cli
