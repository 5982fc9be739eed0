#pragma once
// What --help prints: every command, option and exit code.
#include <QString>

namespace cli {

inline constexpr char kUsageHint[] = "Try: qrn4480 --help";

QString HelpText();

}  // namespace cli
