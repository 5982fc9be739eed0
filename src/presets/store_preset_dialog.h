#pragma once
// StorePresetDialog, "Store preset": writes the editor's preset and a name into one of
// the writable positions 5..20, one byte per frame, the used marker last.
#include <QDialog>
#include <optional>

#include "devlink/device_link.h"
#include "model/preset_image.h"
#include "model/preset_library.h"
#include "presets/command_buttons.h"
#include "presets/store_request.h"
#include "ui/user_dialogs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;

namespace editor {
class ParameterEditor;
}

namespace presets {

class LibraryButtons;
class PresetListPanel;

class StorePresetDialog : public QDialog {
    Q_OBJECT
public:
    StorePresetDialog(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
                      editor::ParameterEditor& editor, ui::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Starts the store of the image and gainBox's name at Combo1's position,
    // as the Store button does once it is answered Yes; the window says what
    // it came to and closes once it is over. A position typed over Combo1's
    // items or a name the device cannot hold writes nothing and says why.
    // False then, or when another transfer holds the device.
    bool storeToDevice();

    QListWidget* list() const;
    QLineEdit* nameBox() const { return nameBox_; }
    QComboBox* positionBox() const { return positionBox_; }
    QProgressBar* progressBar() const { return progressBar_; }
    // "Write only changed bytes and verify": off unless the user turned it
    // on, here or in an earlier session.
    QCheckBox* changedBytesBox() const { return changedBytesBox_; }
    PresetListPanel* presetList() const { return panel_; }
    LibraryButtons* libraryButtons() const { return libraryButtons_; }
    QPushButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

protected:
    // Refused while the window's store runs: the job writes into it.
    void done(int result) override;
    // Enter on List1 picks the entry as a double-click does, instead of
    // pressing "Store" for whatever position Combo1 shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLibrary();
    void onButtonClicked(int index);
    void onListActivated();
    std::optional<StoreRequest> checkedRequest();
    bool startStore(const StoreRequest& request);
    devlink::Task<bool> store(const StoreRequest& request);
    // Nothing in `stored` when the store was dropped before it began.
    void finishStore(const StoreRequest& request, std::optional<bool> stored);
    devlink::Task<bool> storeChangedBytes(const StoreRequest& request);
    void showStored();
    void stepProgress(int value);
    void onLibraryChanged(bool titleChanged, bool linkLost);

    model::PresetLibrary& library_;
    model::PresetImage& image_;
    devlink::DeviceLink& link_;
    editor::ParameterEditor& editor_;
    ui::UserDialogs& dialogs_;
    PresetListPanel* panel_;
    QLineEdit* nameBox_;
    QComboBox* positionBox_;
    QProgressBar* progressBar_;
    QCheckBox* changedBytesBox_;
    LibraryButtons* libraryButtons_;
    CommandButtons buttons_{};
    std::optional<devlink::DeviceWork::Watch> lockWatch_;
    // The last store went silent at its used marker, every byte written.
    bool markerUnconfirmed_ = false;
    bool transferRunning_ = false;
    // What a store of changed bytes found, said once it is over.
    std::optional<ui::Message> verification_;
};

}  // namespace presets
