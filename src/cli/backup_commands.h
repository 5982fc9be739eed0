#pragma once
// backup and restore: the whole device to a .qrnbak file and back. Both
// stop between two positions when Ctrl+C or SIGTERM comes, never inside
// one: a position begun is written to its marker and read back.
#include "cli/command_context.h"
#include "cli/invocation.h"

namespace cli {

devlink::Task<ExitStatus> RunBackup(CommandContext& context, const BackupCommand& command);
devlink::Task<ExitStatus> RunRestore(CommandContext& context, const RestoreCommand& command);

}  // namespace cli
