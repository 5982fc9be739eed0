#pragma once
// The web remote's target in the editor: a page's request sets the editor's
// own control, so its frames, its undo step, the linked channel's mirror and
// the refusal while the device is busy are the editor's. A question the
// editor asks on the way is asked on the page; its Yes carries out the
// request again with that answer. A question device work waits on (whose
// settings to keep) is put to every page while its box stands open here,
// and the first answer, here or on any page, is the one taken.
#include "app/remote_dialogs.h"
#include "devlink/device_link.h"
#include "remote/open_questions.h"
#include "remote/remote_target.h"
#include "ui/qt_user_dialogs.h"

namespace app {

class MainWindow;

class EditorRemoteTarget final : public remote::RemoteTarget, public ui::QuestionMirror {
    Q_OBJECT
public:
    // `image` is the one the editor edits (the session's).
    EditorRemoteTarget(MainWindow& window, const model::PresetImage& image, devlink::DeviceLink& link,
                       RemoteDialogs& dialogs);

    QJsonObject state() const override;
    QString apply(const remote::Request& request, int client) override;
    void forgetClient(int client) override;

    void opened(const ui::Message& message, std::function<bool(ui::Answer)> answer) override;
    void closed() override;

private:
    QString run(const remote::Request& request, int client, std::optional<ui::Answer> answer);
    QString setControl(const remote::Request& request);

    MainWindow& window_;
    const model::PresetImage& image_;
    devlink::DeviceLink& link_;
    RemoteDialogs& dialogs_;
    remote::OpenQuestions questions_;
    devlink::DeviceWork::Watch busyWatch_;
};

}  // namespace app
