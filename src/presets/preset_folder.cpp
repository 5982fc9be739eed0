#include "presets/preset_folder.h"

#include <QDir>

#include "presets/preset_texts.h"

namespace presets {

QString PresetFolder(const QString& applicationDir) {
    const QDir dir(applicationDir);
    const QString wanted = QString::fromLatin1(kPresetFolderName);
    // Sorted, so that of "preset" and "PRESET" on a case-sensitive disk the
    // same one is taken every time; the exact spelling wins over both.
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    if (folders.contains(wanted)) return dir.filePath(wanted);
    for (const QString& name : folders)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return applicationDir;
}

}  // namespace presets
