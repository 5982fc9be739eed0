#pragma once
// serve: the web remote on the device's current settings, until Ctrl+C or
// SIGTERM. The first line of standard output is the page's address.
#include "cli/command_context.h"
#include "cli/invocation.h"

namespace cli {

ExitStatus RunServe(CommandContext& context, const ServeCommand& command);

}  // namespace cli
