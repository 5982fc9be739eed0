#include "cli/preset_files_cli.h"

#include <QFileInfo>

#include "presets/preset_file_io.h"
#include "presets/preset_texts.h"

namespace cli {
namespace {

QString OneLine(const QString& text) { return QString(text).replace('\n', ' ').trimmed(); }

}  // namespace

std::optional<model::PresetImage> ReadPresetFileOrSay(Console& console, const QString& path, ExitStatus& status) {
    auto read = presets::ReadPresetFile(path);
    if (auto* image = std::get_if<model::PresetImage>(&read)) return *image;
    const QFileInfo info(path);
    // A file that was read and found wrong is refused; one that could not
    // be read at all is a file error.
    const bool readable = info.isFile() && info.isReadable();
    const QString& text = std::get<presets::PresetFileFailure>(read).text;
    const QString message = info.exists() ? OneLine(text) : path + ":" + QString::fromLatin1(presets::kFileNotFound);
    status = console.fail(readable ? ExitStatus::Refused : ExitStatus::FileError, message);
    return std::nullopt;
}

ExitStatus WritePresetFileOrSay(Console& console, const QString& path, const model::PresetImage& image) {
    if (const auto failure = presets::WritePresetFile(path, image))
        return console.fail(ExitStatus::FileError, OneLine(failure->text));
    return ExitStatus::Done;
}

}  // namespace cli
