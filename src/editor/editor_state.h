#pragma once
// What every part of the parameter editor works on: the preset image, the
// link and the dialogs it shares with the program, the window's controls,
// the editor's flags, and what was last sent for each notch and setting.
#include <QString>
#include <QWidget>
#include <functional>

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

    // Repaints a control now when a frame exchange is about to block the
    // window, so the user sees the value being sent.
    void showNow(QWidget* widget) const {
        const devlink::LinkFlags& f = link.flags();
        if (!f.demoMode && !f.suppressSend && !link.ended()) widget->repaint();
    }
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
};

}  // namespace editor
