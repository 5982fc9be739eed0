#pragma once
// FrmRead, "Read Preset": loads one of the device's twenty positions into
// the editor. The device already holds what it sends, so nothing goes back.
#include <QDialog>

#include "app/user_dialogs.h"
#include "link/device_link.h"
#include "model/preset_image.h"
#include "model/preset_library.h"
#include "presets/command_buttons.h"

class QListWidget;

namespace editor {
class FrmEq;
}

namespace presets {

class PresetListPanel;

class FrmRead : public QDialog {
    Q_OBJECT
public:
    FrmRead(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
            editor::FrmEq& editor, ui::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Reads position index + 1 (index 0..19) into the image and the editor
    // and makes it the editor's title. In demo mode the image stays as it
    // is. False when the device was lost on the way and nothing was applied.
    bool LoadPresetFromDevice(int index);

    QListWidget* List1() const;
    PresetListPanel* presetList() const { return panel_; }
    QPushButton* Command1(int index) const { return command1_.at(static_cast<std::size_t>(index)); }

private:
    void Form_Load();
    void Command1_Click(int index);
    void List1_DblClick();
    void readSelected();

    model::PresetLibrary& library_;
    model::PresetImage& image_;
    devlink::DeviceLink& link_;
    editor::FrmEq& editor_;
    ui::UserDialogs& dialogs_;
    PresetListPanel* panel_;
    CommandButtons command1_{};
};

}  // namespace presets
