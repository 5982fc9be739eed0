#pragma once
// The whole program short of main(): the command line in, the exit code
// out, every effect through the environment, so tests run it against the
// simulated device on a fake port and clock.
#include <QStringList>

#include "cli/cli_environment.h"

namespace cli {

// The arguments without the program's name.
int RunCli(const QStringList& arguments, CliEnvironment& environment);

}  // namespace cli
