#include "presets/backup_file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "presets/atomic_file.h"

namespace presets {
namespace {

QString Quoted(const QString& path) { return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path)); }

BackupFileFailure Refusal(const QString& path, const QString& reason, std::optional<BackupProblem> problem = {}) {
    return {Quoted(path) + QStringLiteral(" ") + reason + QStringLiteral("."), problem};
}

BackupFileFailure WriteFailure(const QString& path, const QString& reason) {
    return {
        QStringLiteral("The backup could not be written to %1 (%2). No file was changed.").arg(Quoted(path), reason),
        std::nullopt};
}

}  // namespace

std::variant<DeviceBackup, BackupFileFailure> ReadBackupFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return Refusal(path, QStringLiteral("does not exist"));
    if (info.isDir()) return Refusal(path, QStringLiteral("is a folder, not a backup"));
    // A pipe or a device could block the program for ever or never end.
    if (!info.isFile()) return Refusal(path, QStringLiteral("is not a regular file"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refusal(path, QStringLiteral("cannot be read (%1)").arg(file.errorString()));
    // One byte more than the largest backup is enough to tell that a file
    // is too long; the rest is never read.
    const QByteArray data = file.read(kMaxBackupFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return Refusal(path, QStringLiteral("cannot be read (%1)").arg(file.errorString()));

    auto decoded = DecodeBackup(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
    if (auto* backup = std::get_if<DeviceBackup>(&decoded)) return std::move(*backup);
    const auto& failure = std::get<BackupDecodeFailure>(decoded);
    return Refusal(path, QString::fromStdString(failure.reason), failure.problem);
}

std::optional<BackupFileFailure> WriteBackupFile(const QString& path, const DeviceBackup& backup) {
    const QFileInfo info(path);
    if (!info.exists() && !info.dir().exists())
        return WriteFailure(
            path, QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(info.absolutePath())));
    const std::vector<std::uint8_t> bytes = EncodeBackup(backup);
    if (const auto reason = ReplaceFileContents(path, bytes)) return WriteFailure(path, *reason);
    return std::nullopt;
}

}  // namespace presets
