#pragma once
// ReadPresetDialog, "Read Preset": loads one of the device's twenty positions into
// the editor. The device already holds what it sends, so nothing goes back.
#include <QDialog>
#include <optional>

#include "devlink/device_link.h"
#include "model/preset_image.h"
#include "model/preset_library.h"
#include "presets/command_buttons.h"
#include "ui/user_dialogs.h"

class QListWidget;
class QProgressBar;

namespace editor {
class ParameterEditor;
}

namespace presets {

class LibraryButtons;
class PresetListPanel;

class ReadPresetDialog : public QDialog {
    Q_OBJECT
public:
    ReadPresetDialog(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
                     editor::ParameterEditor& editor, ui::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Reads position index + 1 (index 0..19) into the image and the editor
    // and makes it the editor's title. In demo mode the image stays as it
    // is. False when the device was lost on the way and nothing was applied.
    devlink::Task<bool> loadPresetFromDevice(int index);

    QListWidget* list() const;
    PresetListPanel* presetList() const { return panel_; }
    QPushButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    LibraryButtons* libraryButtons() const { return libraryButtons_; }
    QProgressBar* progressBar() const { return progressBar_; }

protected:
    // Refused while the window's read or library action runs.
    void done(int result) override;

private:
    void showLibrary();
    void onButtonClicked(int index);
    void onListActivated();
    void readSelected();
    void finishRead(int index, bool ran, bool loaded);
    void onLibraryChanged(bool titleChanged, bool linkLost);

    model::PresetLibrary& library_;
    model::PresetImage& image_;
    devlink::DeviceLink& link_;
    editor::ParameterEditor& editor_;
    ui::UserDialogs& dialogs_;
    PresetListPanel* panel_;
    QProgressBar* progressBar_;
    LibraryButtons* libraryButtons_;
    CommandButtons buttons_{};
    std::optional<devlink::DeviceWork::Watch> lockWatch_;
    bool transferRunning_ = false;
};

}  // namespace presets
