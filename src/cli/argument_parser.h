#pragma once
// The command line, taken apart and checked before any port is opened:
// options may stand before or after the command, as --name VALUE or
// --name=VALUE. A command line the program does not understand is a usage
// error; a value it understands but no control of the editor could hold is
// refused.
#include <QStringList>

#include "cli/invocation.h"

namespace cli {

// The arguments without the program's name.
ParsedArguments ParseArguments(const QStringList& arguments);

}  // namespace cli
