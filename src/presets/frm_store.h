#pragma once
// FrmStore, "Store preset": writes the editor's preset and a name into one of
// the writable positions 5..20, one byte per frame, the used marker last.
#include <QDialog>
#include <optional>

#include "app/user_dialogs.h"
#include "link/device_link.h"
#include "model/preset_image.h"
#include "model/preset_library.h"
#include "presets/command_buttons.h"
#include "presets/store_request.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;

namespace editor {
class FrmEq;
}

namespace presets {

class PresetListPanel;

class FrmStore : public QDialog {
    Q_OBJECT
public:
    FrmStore(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
             editor::FrmEq& editor, ui::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Stores the image and Text1's name at Combo1's position. A position
    // typed over Combo1's items or a name the device cannot hold writes
    // nothing and says why. False then, or when the device was lost.
    bool Memorize_eep();

    QListWidget* List1() const;
    QLineEdit* Text1() const { return text1_; }
    QComboBox* Combo1() const { return combo1_; }
    QProgressBar* ProgressBar1() const { return progressBar1_; }
    PresetListPanel* presetList() const { return panel_; }
    QPushButton* Command1(int index) const { return command1_.at(static_cast<std::size_t>(index)); }

protected:
    // Enter on List1 picks the entry as a double-click does, instead of
    // pressing "Store" for whatever position Combo1 shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Command1_Click(int index);
    void List1_DblClick();
    std::optional<StoreRequest> checkedRequest();
    bool store(const StoreRequest& request);
    void stepProgress(int value);

    model::PresetLibrary& library_;
    model::PresetImage& image_;
    devlink::DeviceLink& link_;
    editor::FrmEq& editor_;
    ui::UserDialogs& dialogs_;
    PresetListPanel* panel_;
    QLineEdit* text1_;
    QComboBox* combo1_;
    QProgressBar* progressBar1_;
    CommandButtons command1_{};
};

}  // namespace presets
