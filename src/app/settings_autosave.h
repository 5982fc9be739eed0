#pragma once
// Keeps the editor's settings in a file while the program runs: written at
// most a second after each change (one timer, restarted by every change, so
// an idle editor costs nothing), removed when the program ends normally. A
// file still there at the next start means the last run did not end so:
// its settings are offered back.
#include <QObject>
#include <QString>
#include <QTimer>

#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_image.h"
#include "ui/user_dialogs.h"

namespace editor {
class ParameterEditor;
}

namespace app {

inline constexpr char kRecoverTitle[] = "Settings kept from the last run";
inline constexpr char kRecoverStepText[] = "Recover kept settings";

class SettingsAutosave final : public QObject {
    Q_OBJECT
public:
    // `path` is the file; its folder is made when first written.
    SettingsAutosave(const model::PresetImage& image, QString path, int delayMs, QObject* parent = nullptr);

    // Every change of the editor's settings schedules a write.
    void watch(editor::ParameterEditor& editor);
    void schedule();
    // Writes now when a write is due (the timer calls it when the delay is
    // over). False when the file cannot be written.
    bool flush();
    // The program ends normally: nothing to recover.
    void discard();
    const QString& path() const { return path_; }

    // At start-up, before any change: a file left behind whose settings
    // differ from the editor's is offered to the user, who may send it to
    // the device (open it, in demo mode). A damaged file is named and
    // dropped. The file is gone afterwards either way.
    devlink::Task<void> offerRecovery(editor::ParameterEditor& editor, devlink::DeviceLink& link,
                                      model::PresetImage& image, ui::UserDialogs& dialogs, bool demo,
                                      QWidget* parent = nullptr);

signals:
    // The file could not be written (a full disk, a folder that cannot be
    // made): said once, until a write succeeds again.
    void keepFailed(const QString& text);

private:
    const model::PresetImage& image_;
    QString path_;
    QTimer timer_;
    // Not the timer's state: a single-shot timer is no longer active when
    // its own timeout runs.
    bool due_ = false;
    bool failing_ = false;
};

}  // namespace app
