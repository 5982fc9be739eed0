#include "presets/backup_to_file.h"
#include "editor/device_transfer.h"

#include <QDate>
#include <QDir>
#include <memory>

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

void BackUpDeviceToFile(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const QString& folder, QWidget* parent,
                        std::function<void(const QString& report)> done) {
    if (link.flags().demoMode || link.ended()) {
        dialogs.inform("There is no device to back up: the editor is not connected.", kTitle, ui::Icon::Exclamation,
                       parent);
        return;
    }
    const QString chosen = dialogs.saveFileName(
        {kTitle, SuggestedBackupPath(folder, QDate::currentDate()), "QRN4480 backup (*.qrnbak)"}, parent);
    if (chosen.isEmpty()) return;
    const QString path = WithBackupSuffix(chosen);

    struct Reading {
        DeviceBackup backup;
        BackupReadResult result = BackupReadResult::Cancelled;
    };
    auto reading = std::make_shared<Reading>();
    // The file is written, and what came of it said, once the read is over.
    editor::RunWindowTransfer(
        parent, link, dialogs, "backing up the device",
        [&link, reading, parent]() -> devlink::Task<void> {
            ui::TransferProgressDialog progress(kTitle, "Reading the device's presets...", parent);
            const TransferProgress shown = [&progress](int done, int total) { return progress.update(done, total); };
            reading->result = co_await ReadDeviceBackup(link, reading->backup, shown);
        },
        [&dialogs, reading, path, parent, done = std::move(done)](bool ran) {
            if (!ran) return;
            switch (reading->result) {
            case BackupReadResult::Read: break;
            case BackupReadResult::Cancelled:
            case BackupReadResult::LostLink: return;  // a lost link has said why
            case BackupReadResult::NoDevice:
                dialogs.inform("The device did not give its presets; nothing was written.", kTitle,
                               ui::Icon::Exclamation, parent);
                return;
            }
            if (const auto failure = WriteBackupFile(path, reading->backup)) {
                dialogs.inform(failure->text, kTitle, ui::Icon::Critical, parent);
                return;
            }
            if (done) done("Device backed up to " + QDir::toNativeSeparators(path));
        });
}

}  // namespace presets
