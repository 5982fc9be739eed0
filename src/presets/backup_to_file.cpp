#include "presets/backup_to_file.h"
#include "editor/device_transfer.h"

#include <QDate>
#include <QDir>

#include "presets/backup_file_io.h"
#include "presets/backup_read.h"
#include "ui/transfer_progress.h"

namespace presets {
namespace {

constexpr char kTitle[] = "Back up device";

QString WithBackupSuffix(const QString& path) {
    return path.endsWith(".qrnbak", Qt::CaseInsensitive) ? path : path + ".qrnbak";
}

}  // namespace

QString SuggestedBackupPath(const QString& folder, const QDate& today) {
    return QDir(folder).filePath("QRN4480 backup " + today.toString(Qt::ISODate) + ".qrnbak");
}

QString BackUpDeviceToFile(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const QString& folder,
                           QWidget* parent) {
    if (link.flags().demoMode || link.ended()) {
        dialogs.inform("There is no device to back up: the editor is not connected.", kTitle, ui::Icon::Exclamation,
                       parent);
        return {};
    }
    const QString chosen = dialogs.saveFileName(
        {kTitle, SuggestedBackupPath(folder, QDate::currentDate()), "QRN4480 backup (*.qrnbak)"}, parent);
    if (chosen.isEmpty()) return {};
    const QString path = WithBackupSuffix(chosen);

    const auto transfer = editor::DeviceTransfer::Begin(link, dialogs, "backing up the device");
    if (!transfer) return {};
    DeviceBackup backup;
    BackupReadResult result;
    {
        ui::TransferProgressDialog progress(kTitle, "Reading the device's presets...", parent);
        result =
            ReadDeviceBackup(link, backup, [&progress](int done, int total) { return progress.update(done, total); });
    }
    switch (result) {
    case BackupReadResult::Read: break;
    case BackupReadResult::Cancelled:
    case BackupReadResult::LostLink: return {};  // a lost link has said why
    case BackupReadResult::NoDevice:
        dialogs.inform("The device did not give its presets; nothing was written.", kTitle, ui::Icon::Exclamation,
                       parent);
        return {};
    }
    if (const auto failure = WriteBackupFile(path, backup)) {
        dialogs.inform(failure->text, kTitle, ui::Icon::Critical, parent);
        return {};
    }
    return "Device backed up to " + QDir::toNativeSeparators(path);
}

}  // namespace presets
