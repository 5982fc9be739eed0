#pragma once
// What every part of the parameter editor works on: the preset image, the
// link and the dialogs it shares with the program, the window's controls,
// the editor's flags, and what was last sent for each notch and setting.
#include <QString>
#include <QWidget>
#include <functional>
#include <unordered_map>

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
};

}  // namespace editor
