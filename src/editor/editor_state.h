#pragma once
// What every part of the parameter editor works on: the preset image, the
// link and the dialogs it shares with the program, the window's controls,
// the editor's flags, and what was last sent for each notch and setting.
#include <QString>
#include <QWidget>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "devlink/device_link.h"
#include "editor/device_transfer.h"
#include "editor/editor_controls.h"
#include "editor/editor_flags.h"
#include "model/preset_image.h"
#include "notch/auto_settings.h"
#include "notch/notch_arrays.h"
#include "notch/response.h"
#include "ui/user_dialogs.h"

namespace editor {

struct EditorState {
    EditorState(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* window)
        : image(image), link(link), dialogs(dialogs), window(window) {}

    // A user's edit while a transfer holds the device would go out between
    // its frames: refused, and the caller puts its control back.
    bool editRefused() const { return !flags.updatingControls && RefusedWhileBusy(link); }
    // A user's edit is complete; the history takes it as one step named
    // `text` (nothing when it changed nothing).
    void finishStep(const QString& text) const {
        if (stepDone) stepDone(text);
    }

    // A whole preset or channel going to the device: `done` of `total`
    // parameters sent, so the window can show how far it is.
    void reportApplied(int done, int total) const {
        if (applyProgress && !link.flags().suppressSend) applyProgress(done, total);
    }

    // A control held down while the device answers late is edited again
    // inside the send of its previous edit, and the newer edit mirrors
    // itself to the other channel at once. Each edit of a control takes the
    // next number, so the older one sees it was overtaken and leaves the
    // other channel alone: its turn would send the newer value again.
    unsigned beginEdit(const QObject* control) { return ++editCounts[control]; }
    bool overtaken(const QObject* control, unsigned edit) const { return editCounts.at(control) != edit; }

    // Where the editor's frames go: a user's edit to the link's edit queue;
    // while a transfer applies settings, to the list its job then sends in
    // order (Collected). Nothing while sending is suppressed.
    void send(const devlink::Payload& payload) const {
        if (link.flags().suppressSend) return;
        if (outbox)
            outbox->push_back(payload);
        else
            link.sendCommand(payload);
    }

    model::PresetImage& image;
    devlink::DeviceLink& link;
    ui::UserDialogs& dialogs;
    QWidget* window;  // the editor window: parent of its questions, context of its connections
    EditorControls controls;
    EditorFlags flags;
    notch::NotchArrays sent;
    notch::AutoSettings settings;
    notch::ResponseTables responses;
    std::function<void(const QString& text)> stepDone;
    std::function<void(int done, int total)> applyProgress;
    std::unordered_map<const QObject*, unsigned> editCounts;
    std::vector<devlink::Payload>* outbox = nullptr;
};

// The frames the editor's code makes while `make` runs, for the job that
// then awaits them: a transfer's frames go out in its own job, never as
// edits queued behind it. Collected only while `make` runs, never across a
// wait, so an edit from elsewhere meanwhile is never taken for one of them.
template <typename Make>
std::vector<devlink::Payload> FramesOf(EditorState& state, Make&& make) {
    std::vector<devlink::Payload> frames;
    std::vector<devlink::Payload>* const outer = std::exchange(state.outbox, &frames);
    try {
        make();
    } catch (...) {
        state.outbox = outer;
        throw;
    }
    state.outbox = outer;
    return frames;
}

}  // namespace editor
