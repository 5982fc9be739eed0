#include "presets/preset_file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "presets/atomic_file.h"
#include "presets/preset_file_format.h"
#include "presets/preset_texts.h"

namespace presets {
namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

PresetFileFailure LoadRefusal(const QString& path, const QString& reason) {
    return {Shown(path) + QStringLiteral("\n") + reason};
}

PresetFileFailure SaveFailure(const QString& path, const QString& reason) {
    return {
        QStringLiteral("The preset could not be saved as\n%1\n(%2).\nNo file was changed.").arg(Shown(path), reason),
        true};
}

}  // namespace

std::variant<model::PresetImage, PresetFileFailure> ReadPresetFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return PresetFileFailure{QString::fromLatin1(kFileNotFound)};
    if (info.isDir()) return LoadRefusal(path, QStringLiteral("is a folder, not a preset file."));
    // A pipe or a device could block the program for ever or never end.
    if (!info.isFile()) return LoadRefusal(path, QStringLiteral("is not a regular file."));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadRefusal(path, QStringLiteral("cannot be read (%1).").arg(file.errorString()));
    const QByteArray data = file.read(kPresetFileSize);
    if (file.error() != QFileDevice::NoError)
        return LoadRefusal(path, QStringLiteral("cannot be read (%1).").arg(file.errorString()));
    file.close();

    const auto content = ParsePresetFile(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
    switch (content.check) {
    case PresetFileCheck::Ok: return content.image;
    case PresetFileCheck::TooShort:
        return LoadRefusal(path, QStringLiteral("is not a preset file: it holds %1 bytes, a preset file holds %2.")
                                     .arg(data.size())
                                     .arg(kPresetFileSize));
    case PresetFileCheck::Damaged: break;
    }
    return LoadRefusal(path, QStringLiteral("is damaged: some of its values lie outside their ranges. "
                                            "Nothing was loaded."));
}

std::optional<PresetFileFailure> WritePresetFile(const QString& path, const model::PresetImage& image) {
    const auto reason = ReplaceFileContents(path, image);
    if (reason) return SaveFailure(path, *reason);
    return std::nullopt;
}

}  // namespace presets
