#pragma once
// Device menu "Restore device...": a backup's positions beside the device's,
// the user's pick of what to write, and the outcome of each part once
// written and read back.
#include <QDialog>
#include <functional>

#include "devlink/device_link.h"
#include "model/preset_library.h"
#include "presets/backup_comparison.h"
#include "presets/device_backup.h"
#include "presets/device_restore.h"
#include "ui/user_dialogs.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace presets {

class RestoreDeviceDialog : public QDialog {
public:
    // Shown when the current settings were restored: the editor shows them.
    using CurrentRestored = std::function<void(const DeviceBlock&)>;

    // `deviceBlocks`: the device's blocks read for the comparison; the
    // restore writes against them instead of reading them again.
    RestoreDeviceDialog(const QString& path, const DeviceBackup& backup, const BackupComparison& comparison,
                        const DeviceBlocks& deviceBlocks, devlink::DeviceLink& link, model::PresetLibrary& library,
                        ui::UserDialogs& dialogs, CurrentRestored onCurrentRestored, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QCheckBox* currentSettingsBox() const { return currentBox_; }
    QPushButton* restoreButton() const { return restore_; }
    RestoreSelection selection() const;
    // Writes what is chosen after asking; fills the outcome column once the
    // restore is over.
    void restoreChosen();

protected:
    // Refused while the window's restore runs.
    void done(int result) override;

private:
    void showOutcome(const RestoreReport& report);
    void fillRow(int slot);
    void showDeviceAfter(const RestoreReport& report);
    void updateRestoreButton();

    DeviceBackup backup_;
    BackupComparison comparison_;
    DeviceBlocks deviceBlocks_;
    devlink::DeviceLink& link_;
    model::PresetLibrary& library_;
    ui::UserDialogs& dialogs_;
    CurrentRestored onCurrentRestored_;
    QTableWidget* table_;
    QCheckBox* currentBox_;
    QLabel* summary_;
    QPushButton* restore_;
    bool transferRunning_ = false;
};

// Opens a backup, compares it with the device (reading the blocks a name
// alone cannot decide) and opens the dialog (not modal to its caller: the
// caller goes on at once, and the window opens once the comparison is over). A damaged, truncated or foreign
// file is refused with its reason before anything is sent.
void RestoreDeviceFromFile(devlink::DeviceLink& link, model::PresetLibrary& library, ui::UserDialogs& dialogs,
                           const QString& folder, const RestoreDeviceDialog::CurrentRestored& onCurrentRestored,
                           QWidget* parent);

}  // namespace presets
