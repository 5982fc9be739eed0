#pragma once
// What --help prints: every command, option and exit code; and one
// command's own help for `help COMMAND` and `COMMAND --help`.
#include <QString>
#include <optional>

namespace cli {

inline constexpr char kUsageHint[] = "Try: qrn4480 --help";

QString HelpText();
// None for a word that is no command.
std::optional<QString> CommandHelpText(const QString& command);

}  // namespace cli
