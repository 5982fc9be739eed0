#pragma once
// The toolbar's file commands: a .Fbk file replaces the editor's preset and
// goes to the device parameter by parameter; the editor's preset is written
// out byte for byte. Nothing is stored in the device's preset memory.
#include <QString>

#include "app/user_dialogs.h"
#include "model/preset_image.h"

class QWidget;

namespace editor {
class FrmEq;
}

namespace presets {

class PresetFiles {
public:
    // `applicationDir` holds the program (empty: the running program's
    // folder); the file dialogs start in its Preset folder.
    PresetFiles(model::PresetImage& image, editor::FrmEq& editor, ui::UserDialogs& dialogs,
                QString applicationDir = {}, QWidget* dialogParent = nullptr);

    // Asks for a file and loads it; a cancel changes nothing.
    void LoadPresetFile();
    // Asks for a file name and writes the image; a cancel writes nothing.
    void SavePresetFile();

    // A file dropped on the window or named on the command line: the same
    // checks and boxes as LoadPresetFile. True when it was applied.
    bool LoadPresetFromPath(const QString& path);
    // True when the file now holds the image; otherwise a box said why not.
    bool SavePresetToPath(const QString& path);

    ui::FileRequest fileRequest(const char* title) const;

private:
    model::PresetImage& image_;
    editor::FrmEq& editor_;
    ui::UserDialogs& dialogs_;
    QString applicationDir_;
    QWidget* parent_;
};

}  // namespace presets
