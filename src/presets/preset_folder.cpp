#include "presets/preset_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "presets/preset_texts.h"

namespace presets {
namespace {

constexpr char kLastFolderKey[] = "presets/lastFolder";
constexpr char kUserPresetFolderName[] = "QRN4480 Presets";

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

// The Preset folder beside the program, exact spelling first; empty when none.
QString ProgramPresetFolder(const QString& applicationDir) {
    const QDir dir(applicationDir);
    const QString wanted = QString::fromLatin1(kPresetFolderName);
    // Sorted, so that of "preset" and "PRESET" on a case-sensitive disk the
    // same one is taken every time; the exact spelling wins over both.
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    if (folders.contains(wanted)) return dir.filePath(wanted);
    for (const QString& name : folders)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return {};
}

QString NearestExistingFolder(QString path) {
    while (!IsFolder(path)) {
        const QString parent = QFileInfo(path).path();
        if (parent == path) return QDir::homePath();
        path = parent;
    }
    return path;
}

}  // namespace

QString UserPresetFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QString::fromLatin1(kUserPresetFolderName));
}

QString PresetFolder(const QString& applicationDir, const QString& userFolder) {
    QString beside = ProgramPresetFolder(applicationDir);
    if (!beside.isEmpty() && QFileInfo(beside).isWritable()) return beside;
    return userFolder;
}

QString DialogStartFolder(const QString& applicationDir, bool forSaving, const QString& userFolder) {
    QString last = QSettings().value(kLastFolderKey).toString();
    if (IsFolder(last)) return last;
    const QString folder = PresetFolder(applicationDir, userFolder);
    if (forSaving) QDir().mkpath(folder);
    return NearestExistingFolder(folder);
}

void RememberPresetFolder(const QString& folder) { QSettings().setValue(kLastFolderKey, folder); }

}  // namespace presets
