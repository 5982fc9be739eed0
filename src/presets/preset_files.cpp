#include "presets/preset_files.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "editor/parameter_editor.h"
#include "editor/step_names.h"
#include "presets/preset_folder.h"
#include "presets/preset_texts.h"

namespace presets {

ui::Message PresetFileBox(const PresetFileFailure& failure) {
    return {failure.text, QString::fromLatin1(kErrorTitle),
            failure.critical ? ui::Icon::Critical : ui::Icon::Exclamation, ui::Buttons::Ok, ui::Answer::Ok};
}

PresetFiles::PresetFiles(model::PresetImage& image, editor::ParameterEditor& editor, ui::UserDialogs& dialogs,
                         QString applicationDir, QWidget* dialogParent)
    : image_(image),
      editor_(editor),
      dialogs_(dialogs),
      applicationDir_(applicationDir.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(applicationDir)),
      parent_(dialogParent) {}

ui::FileRequest PresetFiles::fileRequest(const char* title, bool forSaving) const {
    // Looked up each time: the folder may have been made since the last use.
    return {QString::fromLatin1(title), DialogStartFolder(applicationDir_, forSaving),
            QString::fromLatin1(kFileFilter)};
}

void PresetFiles::loadPresetFile() {
    const QString path = dialogs_.openFileName(fileRequest(kOpenFileTitle, false), parent_);
    if (!path.isEmpty() && loadFromPath(path)) RememberPresetFolder(QFileInfo(path).absolutePath());
}

void PresetFiles::savePresetFile() {
    const QString path = dialogs_.saveFileName(fileRequest(kSaveFileTitle, true), parent_);
    if (!path.isEmpty() && saveToPath(path)) RememberPresetFolder(QFileInfo(path).absolutePath());
}

bool PresetFiles::loadFromPath(const QString& path) {
    if (path.isEmpty()) return false;
    auto read = ReadPresetFile(path);
    if (const auto* refusal = std::get_if<PresetFileFailure>(&read)) {
        dialogs_.show(PresetFileBox(*refusal), parent_);
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    return editor_.runTransfer("loading a preset file", [this, name, image = std::get<model::PresetImage>(read)]() -> devlink::Task<void> {
        // One step, however many parameters the file changes.
        editor_.beginStep();
        image_ = image;
        // Sending allowed: the device gets every notch and setting of the file.
        co_await editor_.applyPresetToEditor();
        editor_.endStep(editor::LoadStepText(name));
        editor_.setPresetSource(QString::fromLatin1(kLoadedFromPc));
        editor_.showPresetTitle(name);
    });
}

bool PresetFiles::saveToPath(const QString& path) {
    if (path.isEmpty()) return false;
    if (const auto failure = WritePresetFile(path, image_)) {
        dialogs_.show(PresetFileBox(*failure), parent_);
        return false;
    }
    editor_.markSettingsSaved();
    return true;
}

}  // namespace presets
