#pragma once
// The toolbar's file commands: a .Fbk file replaces the editor's preset and
// goes to the device parameter by parameter; the editor's preset is written
// out byte for byte. Nothing is stored in the device's preset memory.
#include <QString>

#include "model/preset_image.h"
#include "presets/preset_file_io.h"
#include "ui/user_dialogs.h"

class QWidget;

namespace editor {
class ParameterEditor;
}

namespace presets {

// The box that shows why a file would not load or save: " Error", OK only.
ui::Message PresetFileBox(const PresetFileFailure& failure);

class PresetFiles {
public:
    // `applicationDir` holds the program (empty: the running program's
    // folder); the file dialogs start in the folder last used, else in the
    // preset folder (presets/preset_folder.h).
    PresetFiles(model::PresetImage& image, editor::ParameterEditor& editor, ui::UserDialogs& dialogs,
                QString applicationDir = {}, QWidget* dialogParent = nullptr);

    // Asks for a file and loads it; a cancel changes nothing.
    void loadPresetFile();
    // Asks for a file name and writes the image; a cancel writes nothing.
    void savePresetFile();

    // A file dropped on the window or named on the command line: the same
    // checks and boxes as loadPresetFile. True when it was applied.
    bool loadFromPath(const QString& path);
    // True when the file now holds the image; otherwise a box said why not.
    bool saveToPath(const QString& path);

    // Saving makes the user's preset folder when it is missing.
    ui::FileRequest fileRequest(const char* title, bool forSaving) const;

private:
    model::PresetImage& image_;
    editor::ParameterEditor& editor_;
    ui::UserDialogs& dialogs_;
    QString applicationDir_;
    QWidget* parent_;
};

}  // namespace presets
