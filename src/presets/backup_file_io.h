#pragma once
// Reading and writing .qrnbak files. Every refusal is one sentence that
// names the file and the reason; the caller shows it. No window here.
#include <QString>
#include <optional>
#include <variant>

#include "presets/backup_format.h"

namespace presets {

struct BackupFileFailure {
    // '"x.qrnbak" is cut short: it holds 300 of its 551 bytes.'
    QString text;
    // Empty, Foreign, ... for a file that was read; nothing when the file
    // could not be read at all or could not be written.
    std::optional<BackupProblem> problem;
};

// The whole backup, or why the file is refused. Nothing of a refused file
// is returned, so nothing of it can be half applied.
std::variant<DeviceBackup, BackupFileFailure> ReadBackupFile(const QString& path);

// Nothing when the file now holds the backup; otherwise why not. The file is
// replaced in one step: a failure (a missing or read-only folder, a full
// disk) leaves no file behind and an earlier file of that name as it was.
std::optional<BackupFileFailure> WriteBackupFile(const QString& path, const DeviceBackup& backup);

}  // namespace presets
