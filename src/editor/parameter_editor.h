#pragma once
// The parameter editor "Parameters Control": both channels' notch rows,
// automatic search settings and response graphs. Every edit is written into
// the preset image and sent to the device at once; while the channels are
// linked it is repeated on the other channel. The window owns the editor's
// state and the four parts that work on it.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "editor/auto_settings_editor.h"
#include "editor/edit_history.h"
#include "editor/editor_state.h"
#include "editor/notch_row_editor.h"
#include "editor/preset_applier.h"
#include "editor/search_and_link.h"
#include "editor/settings_restorer.h"

namespace editor {

class ParameterEditor : public QWidget {
    Q_OBJECT
public:
    ParameterEditor(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                    QWidget* parent = nullptr);

    const EditorControls& controls() const { return state_.controls; }
    const EditorFlags& flags() const { return state_.flags; }
    const notch::NotchArrays& notchArrays() const { return state_.sent; }
    const notch::AutoSettings& autoSettings() const { return state_.settings; }
    const notch::ResponseTables& responses() const { return state_.responses; }

    bool searchRunning() const { return state_.flags.searchRunning; }
    // Compares the image's two channel halves; the link box asks before
    // copying over a difference.
    void checkChannelsDiffer();
    // Every edit is repeated on the other channel while linked. The link
    // box is the user's way; this is the program's (it asks nothing).
    void setChannelsLinked(bool linked);
    // Holds the program's own writes into controls away from their
    // handlers, as long as the returned guard lives.
    [[nodiscard]] UpdateGuard quietUpdates() { return UpdateGuard(state_.flags); }

    // Each of these is a step of the history, unless a named step is open.
    // Those that send are awaited by the job that holds the device.
    devlink::Task<void> applyPresetToEditor();
    void fillFromImage();
    void fillFromDefaultImage();
    devlink::Task<void> copyLeftToRight();
    devlink::Task<void> copyRightToLeft();

    // Undo and redo, the unsaved state and the change notices.
    EditHistory& history() { return history_; }
    QUndoStack& undoStack() { return history_.stack(); }
    // Everything done until endStep is one step named `text`: a preset read
    // through its dialog, a file loaded.
    void beginStep() { history_.beginStep(); }
    void endStep(const QString& text) { history_.endStep(text); }
    bool settingsModified() const { return history_.isModified(); }
    // The settings were written to a file: they are the kept ones now.
    void markSettingsSaved() { history_.markSaved(); }

    void sendNotch(int n) { rows_.sendNotch(n); }
    void computeNotchResponse(int n) { rows_.computeNotchResponse(n); }
    void redrawGraph() { rows_.redrawGraph(); }

    // The lock covers undo and redo too.
    void setSearchLock(bool lock) { search_.setSearchLock(lock); }
    // Off while the device is away: a search needs it.
    void setSearchAvailable(bool available) { search_.setSearchAvailable(available); }
    void setSearchLockExtension(std::function<void(bool lock)> extension);
    // The device's notches are no step of the user's.
    void applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> report);

    // Label7. Its text says where the settings are kept (read from or
    // stored to the device, loaded from a file), so the settings as they
    // are now count as saved.
    void setPresetSource(const QString& text);
    void showPresetTitle(const QString& title);  // Label8, repainted at once
    QString presetSource() const;
    QString presetTitle() const;

    // Runs a transfer that goes through the editor (a file load, a copy) as
    // one job holding the device; false, and refused, while another holds it.
    bool runTransfer(const char* what, devlink::JobRunner::Job work, std::function<void()> then = {}) {
        return RunTransfer(state_.link, state_.dialogs, what, std::move(work), std::move(then));
    }

    // Shows in the window itself that no device is connected.
    void setDemoMode(bool demo);
    // Told how far a whole preset or a channel copy has gone to the device.
    void setApplyProgress(std::function<void(int done, int total)> progress) {
        state_.applyProgress = std::move(progress);
    }
    // Both channels' graphs, one above the other, as a PNG file; false when
    // the file cannot be written.
    bool exportGraphPng(const QString& path) const;
    // Both channels' responses, one line per graph point (frequency, Left
    // dB, Right dB); false when the file cannot be written.
    bool exportResponsesCsv(const QString& path) const;

protected:
    // The editor lives as long as the program; only the main window ends it.
    void closeEvent(QCloseEvent* event) override;
    // A new desktop palette: the locked rows follow it.
    void changeEvent(QEvent* event) override;

private:
    void showLockedRowsReadOnly();
    void connectHistory();

    EditorState state_;
    NotchRowEditor rows_;
    AutoSettingsEditor autos_;
    PresetApplier presets_;
    SearchAndLink search_;
    SettingsRestorer restorer_;
    EditHistory history_;
    // Undo and redo are locked while a transfer holds the device.
    devlink::DeviceWork::Watch busyWatch_;
};

}  // namespace editor
