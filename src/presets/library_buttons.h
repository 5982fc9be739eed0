#pragma once
// "Rename...", "Clear" and "Copy to..." under a preset list: they ask what
// they must (a name, a target, whether to lose a preset), run the library
// action and say what a lost device cost. The dialog that holds them tells
// them which writable position its list points at and refreshes its list
// when they report a change.
#include <QWidget>
#include <functional>
#include <optional>

#include "devlink/device_link.h"
#include "model/preset_library.h"
#include "presets/library_actions.h"
#include "ui/user_dialogs.h"

class QProgressBar;
class QPushButton;

namespace presets {

class LibraryButtons : public QWidget {
    Q_OBJECT
public:
    // `progressBar` is the dialog's, shown during a copy.
    LibraryButtons(model::PresetLibrary& library, devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                   QProgressBar* progressBar, QWidget* parent);

    // Tab reaches the three buttons, in their order, right after `previous`.
    void placeInTabOrderAfter(QWidget* previous);
    // Slot 0..15 (position 5..20), or none for a fixed position or no selection.
    void setSelectedSlot(std::optional<int> slot);
    // The buttons rest while the dialog reads or stores.
    void setTransferRunning(bool running);
    // One of these buttons' own transfers has not ended yet.
    bool transferRunning() const { return ownTransfer_; }

    QPushButton* renameButton() const { return rename_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* copyButton() const { return copy_; }

signals:
    // An action ran: the lists may differ, the title too. A lost link has
    // been reported already.
    void libraryChanged(bool titleChanged, bool linkLost);

private:
    void onRename();
    void onClear();
    void onCopy();
    bool refuseEmpty(int slot, const QString& title);
    std::optional<int> askTarget(int source);
    std::optional<StoreRequest> askName(int slot, const QString& title, const QString& label);
    // Runs one action with the buttons resting and the busy pointer, then
    // says what it cost.
    // The action runs as a transfer; what it came to is said once it is over.
    void run(int writtenSlot, const QString& title, std::function<devlink::Task<LibraryResult>()> action);
    void finish(LibraryResult result, int writtenSlot, const QString& title, const std::u32string& titleBefore);
    void stepProgress(int done);
    void updateEnabled();

    model::PresetLibrary& library_;
    devlink::DeviceLink& link_;
    ui::UserDialogs& dialogs_;
    QProgressBar* progressBar_;
    QPushButton* rename_;
    QPushButton* clear_;
    QPushButton* copy_;
    std::optional<int> slot_;
    bool running_ = false;
    bool ownTransfer_ = false;
};

}  // namespace presets
