#include "cli/backup_commands.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <chrono>

#include "cli/list_progress.h"
#include "cli/name_fields.h"
#include "devlink/library_read.h"
#include "presets/backup_file_io.h"
#include "presets/backup_read.h"
#include "presets/device_restore.h"

namespace cli {
namespace {

QString Name(const model::PresetNameBytes& bytes) {
    return QString::fromStdU32String(model::PrintablePresetName(model::DecodePresetName(bytes)));
}

presets::TransferProgress ProgressUntilStopped(CommandContext& context, const QString& what) {
    return [&context, what](int done, int total) {
        context.console.progress(QString("%1: %2 of %3").arg(what).arg(done).arg(total));
        return !context.env.stopRequested();
    };
}

// The backup's total is a guess until the markers are read ("0 of 17", then
// "0 of 2"): no count of blocks is shown before the first block, so it never
// falls; the preset list's read before it has a count of its own.
presets::TransferProgress BackupProgressUntilStopped(CommandContext& context) {
    return [&context](int done, int total) {
        if (done > 0) context.console.progress(QString("Reading the device: %1 of %2").arg(done).arg(total));
        return !context.env.stopRequested();
    };
}

presets::RestoreSelection Selection(const RestoreCommand& command) {
    presets::RestoreSelection selection;
    selection.currentSettings = command.current;
    selection.mode = command.full ? presets::WriteMode::Full : presets::WriteMode::ChangedBytes;
    if (command.positions.empty()) selection.positions.fill(true);
    for (const int position : command.positions)
        if (position >= model::kFirstUserPosition && position <= model::kPresetPositions)
            selection.positions[static_cast<std::size_t>(position - model::kFirstUserPosition)] = true;
    return selection;
}

QString SelectionText(const presets::RestoreSelection& selection) {
    QStringList positions;
    for (int k = 0; k < model::kUserPositions; ++k)
        if (selection.positions[static_cast<std::size_t>(k)])
            positions << QString::number(k + model::kFirstUserPosition);
    QString text = positions.isEmpty() ? QString() : "positions " + positions.join(',');
    if (selection.currentSettings) text += positions.isEmpty() ? "the current settings" : " and the current settings";
    return text;
}

// Without --yes a person must say yes at a terminal; a script must say so.
ExitStatus Confirm(CommandContext& context, const RestoreCommand& command, const QString& what) {
    if (command.yes) return ExitStatus::Done;
    if (!context.env.stdinIsTerminal)
        return context.console.fail(ExitStatus::Refused,
                                    "restore writes into the device: add --yes when standard input is no terminal");
    context.env.err << "Write " << what.toStdString() << " of " << command.file.toStdString()
                    << " into the device? [y/N] " << std::flush;
    const QString answer = QString::fromStdString(context.env.readAnswer()).trimmed().toLower();
    if (answer == "y" || answer == "yes") return ExitStatus::Done;
    return context.console.fail(ExitStatus::Refused, "Nothing was written");
}

}  // namespace

devlink::Task<ExitStatus> RunBackup(CommandContext& context, const BackupCommand& command) {
    // A backup may be the only copy of a show: one already there is replaced
    // only when asked for, and found before the device is.
    if (!command.force && QFileInfo::exists(command.file))
        co_return context.console.fail(
            ExitStatus::Usage, QString("backup: %1 already exists; add --force to replace it").arg(command.file));
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    presets::DeviceBackup backup;
    ListProgress listProgress(context.console);
    const presets::BackupReadResult read =
        co_await presets::ReadDeviceBackup(context.link, backup, BackupProgressUntilStopped(context),
                                           std::chrono::system_clock::now(), listProgress.steps());
    switch (read) {
    case presets::BackupReadResult::Read: break;
    case presets::BackupReadResult::Cancelled:
        co_return context.console.fail(ExitStatus::Interrupted, "Stopped: no backup was written");
    case presets::BackupReadResult::LostLink: co_return context.lost();
    case presets::BackupReadResult::NoDevice:
        co_return context.console.fail(ExitStatus::NoDevice, "The device gave no preset block");
    }
    if (const auto failure = presets::WriteBackupFile(command.file, backup))
        co_return context.console.fail(ExitStatus::FileError, failure->text);
    const int used = static_cast<int>(std::count_if(backup.positions.begin(), backup.positions.end(),
                                                    [](const presets::BackupPosition& p) { return p.used; }));
    context.console.result(QString("Backup of %1 %2 and the current settings written to %3")
                               .arg(used)
                               .arg(QString(used == 1 ? "preset" : "presets"), command.file),
                           JsonLine()
                               .add("done", "backup")
                               .add("file", command.file)
                               .add("used", used)
                               .merge(NameFields("program", backup.programName)));
    co_return ExitStatus::Done;
}

devlink::Task<ExitStatus> RunRestore(CommandContext& context, const RestoreCommand& command) {
    auto read = presets::ReadBackupFile(command.file);
    if (const auto* failure = std::get_if<presets::BackupFileFailure>(&read))
        co_return context.console.fail(failure->problem ? ExitStatus::Refused : ExitStatus::FileError, failure->text);
    const auto& backup = std::get<presets::DeviceBackup>(read);
    const presets::RestoreSelection selection = Selection(command);
    if (const ExitStatus confirmed = Confirm(context, command, SelectionText(selection)); confirmed != ExitStatus::Done)
        co_return confirmed;

    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    model::PresetLibrary library;
    ListProgress listProgress(context.console);
    const devlink::LibraryReadResult listed =
        co_await devlink::ReadDeviceLibrary(context.link, library, listProgress.steps());
    if (listed != devlink::LibraryReadResult::Read) co_return context.lost();
    const presets::RestoreReport report = co_await presets::RestoreDevice(context.link, library, backup, selection,
                                                                          ProgressUntilStopped(context, "Restoring"));

    bool differs = false;
    const auto show = [&](const QString& part, presets::RestoreOutcome outcome, const QString& text, JsonLine json) {
        differs = differs || outcome == presets::RestoreOutcome::DiffersAfterWriting;
        context.console.result(part + ": " + text, json.add("outcome", text));
    };
    for (int k = 0; k < model::kUserPositions; ++k) {
        const auto outcome = report.positions[static_cast<std::size_t>(k)];
        if (outcome == presets::RestoreOutcome::NotChosen) continue;
        const auto& position = backup.positions[static_cast<std::size_t>(k)];
        const auto& counted = report.writes[static_cast<std::size_t>(k)];
        const QString name = position.used ? Name(position.name) : QString();
        const int number = k + model::kFirstUserPosition;
        show(QString("%1 %2").arg(number, 2, 10, QChar('0')).arg(position.used ? name : "(empty)"), outcome,
             QString::fromStdString(presets::RestorePositionText(report, k)),
             JsonLine()
                 .add("position", number)
                 .add("used", position.used)
                 .merge(NameFields("name", position.used ? model::DecodePresetName(position.name) : std::u32string()))
                 .add("written", counted.written)
                 .add("skipped", counted.skipped));
    }
    if (selection.currentSettings)
        show("current settings", report.currentSettings,
             QString::fromLatin1(presets::RestoreOutcomeText(report.currentSettings)), JsonLine().add("current", true));

    switch (report.result) {
    case presets::RestoreResult::Done: break;
    case presets::RestoreResult::Cancelled:
        co_return context.console.fail(ExitStatus::Interrupted,
                                       "Stopped: the positions marked Cancelled were not written");
    case presets::RestoreResult::LostLink: co_return context.lost();
    case presets::RestoreResult::NoDevice:
        co_return context.console.fail(ExitStatus::NoDevice, "No device to restore to");
    }
    if (differs) co_return context.console.fail(ExitStatus::NoDevice, "The device holds something else after writing");
    co_return ExitStatus::Done;
}

}  // namespace cli
