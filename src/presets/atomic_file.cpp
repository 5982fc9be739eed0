#include "presets/atomic_file.h"

#include <QFileInfo>
#include <QSaveFile>

namespace presets {

std::optional<QString> ReplaceFileContents(const QString& path, std::span<const std::uint8_t> bytes) {
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir()) return QStringLiteral("that name is a folder");
        if (!info.isFile()) return QStringLiteral("that name is not a regular file");
        // Replacing goes round the file's own protection; honour it instead.
        if (!info.isWritable()) return QStringLiteral("the file is write-protected");
    }

    QSaveFile file(path);
    // Unbuffered, so that a write the disk cuts short (full, or over a size
    // limit) shows here as a short count; buffered, the rest would be lost
    // in the final flush and the cut file committed over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    const auto size = static_cast<qint64>(bytes.size());
    const auto written = file.write(reinterpret_cast<const char*>(bytes.data()), size);
    if (written != size) {
        const QString reason = written < 0 ? file.errorString()
                                           : QStringLiteral("the disk took only %1 of %2 bytes").arg(written).arg(size);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

}  // namespace presets
