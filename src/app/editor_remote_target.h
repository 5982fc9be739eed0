#pragma once
// The web remote's target in the editor: a page's request sets the editor's
// own control, so its frames, its undo step, the linked channel's mirror and
// the refusal while the device is busy are the editor's. A question the
// editor asks on the way is asked on the page; its Yes carries out the
// request again with that answer.
#include "app/remote_dialogs.h"
#include "devlink/device_link.h"
#include "remote/open_questions.h"
#include "remote/remote_target.h"

namespace app {

class MainWindow;

class EditorRemoteTarget final : public remote::RemoteTarget {
    Q_OBJECT
public:
    // `image` is the one the editor edits (the session's).
    EditorRemoteTarget(MainWindow& window, const model::PresetImage& image, devlink::DeviceLink& link,
                       RemoteDialogs& dialogs);

    QJsonObject state() const override;
    QString apply(const remote::Request& request, int client) override;
    void forgetClient(int client) override;

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
