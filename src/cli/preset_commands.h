#pragma once
// read, store, load and save: a device preset or the current settings to and
// from .Fbk files, with the editor's frames in the editor's order.
#include "cli/command_context.h"
#include "cli/invocation.h"

namespace cli {

devlink::Task<ExitStatus> RunRead(CommandContext& context, const ReadCommand& command);
devlink::Task<ExitStatus> RunStore(CommandContext& context, const StoreCommand& command);
devlink::Task<ExitStatus> RunLoad(CommandContext& context, const LoadCommand& command);
devlink::Task<ExitStatus> RunSave(CommandContext& context, const SaveCommand& command);

}  // namespace cli
