// The main window's share of the edit history: the unsaved marker, the
// question before closing, the kept settings.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>

#include "app/main_window.h"
#include "app/settings_autosave.h"
#include "editor/parameter_editor.h"
#include "editor/step_names.h"
#include "presets/preset_files.h"

namespace app {

void MainWindow::connectEditHistory() {
    editor::EditHistory& history = editor_->history();
    connect(&history, &editor::EditHistory::modifiedChanged, this, [this] { refreshCaption(); });
    // First in the Edit menu, as everywhere; the menu bar's shortcuts reach
    // them wherever the focus is in the window.
    QAction* first = menus_.edit->actions().value(0);
    menus_.edit->insertActions(first, {history.undoAction(), history.redoAction()});
    menus_.edit->insertSeparator(first);
    if (!session_.autosavePath.isEmpty()) {
        autosave_ = std::make_unique<SettingsAutosave>(session_.image, session_.autosavePath, session_.autosaveDelayMs);
        connect(autosave_.get(), &SettingsAutosave::keepFailed, this,
                [this](const QString& text) { statusBar()->showMessage(text); });
    }
}

devlink::Task<void> MainWindow::startEditHistory() {
    editor_->history().startOver();
    if (!autosave_) co_return;
    autosave_->watch(*editor_);
    co_await autosave_->offerRecovery(*editor_, link_, session_.image, dialogs_, link_.flags().demoMode, this);
}

bool MainWindow::settleUnsavedSettings() {
    if (!editor_->settingsModified()) return true;
    switch (dialogs_.askToSave(kUnsavedQuestion, kUnsavedTitle, this)) {
    case ui::Answer::Save:
        presetFiles_->savePresetFile();
        // A cancelled or failed save keeps the program open.
        return !editor_->settingsModified();
    case ui::Answer::Discard: return true;
    default: return false;
    }
}

}  // namespace app
