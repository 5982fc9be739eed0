#pragma once
// The web remote's target in the command-line tool: the device's current
// settings, edited with the frames the editor sends for the same edit, in
// its order. A notch edit is one SetNotch frame with the row's final
// values, and the partner row's while the channels are linked; a setting is
// its frame, then the other channel's while linked; linking asks first when
// the channels differ and then copies Left to Right; a reset asks first; a
// search starts and stops as the editor's does. Each frame goes out as the
// editor's do, as a job of its own or queued behind the one that waits, so
// the pages are served while the device is slow or silent. While the device
// is away, edits are kept and sent, all settings at once, when it answers.
#include <functional>

#include "devlink/device_link.h"
#include "devlink/task.h"
#include "model/preset_image.h"
#include "notch/found_notches.h"
#include "remote/open_questions.h"
#include "remote/remote_target.h"

namespace cli {

class DeviceTarget final : public remote::RemoteTarget {
    Q_OBJECT
public:
    DeviceTarget(devlink::DeviceLink& link, model::PresetImage& image);

    QJsonObject state() const override;
    QString apply(const remote::Request& request, int client) override;
    void forgetClient(int client) override { questions_.forget(client); }

    bool searchRunning() const { return search_ >= 0; }
    // Takes every waiting report of the running search into the settings
    // and the pages' log of found notches; outside a search drops what
    // nobody waits for. Run as a job.
    void takeReports();
    // The program ends, the pages closed: the exchange in progress is cut
    // off and what is queued forgotten; then the editor's stop frames go to
    // a search the device may still run (one the pages started and no stop
    // has reached, even if the cancel dropped it). `waitForJobs` returns
    // once some device work has moved on; this returns when none is left.
    void finish(const std::function<void()>& waitForJobs);
    // The device stopped answering: its search is over, the pages say so.
    void wentOffline();
    // It answers again: the settings kept meanwhile go to it when they
    // differ from its own. Run as a job.
    devlink::Task<void> cameBack();

private:
    QString carryOut(const remote::Request& request, int client, bool answeredYes);
    QString editNotch(const remote::NotchRequest& request);
    QString editSetting(const remote::SettingRequest& request);
    QString search(int selector, bool on);
    void stopSearch();
    void stopForExit();
    void sendStops(int selector);
    QString linkChannels(const remote::LinkRequest& request, int client, bool answeredYes);
    QString reset(const remote::ResetRequest& request, int client, bool answeredYes);
    // Asks the page; its Yes carries the request out.
    void ask(int client, const remote::Request& request, const char* title, const char* text);
    // Each frame as the editor sends an edit.
    void send(const std::vector<devlink::Payload>& frames);

    devlink::DeviceLink& link_;
    model::PresetImage& image_;
    int search_ = -1;          // the search the pages see running
    int searchOnDevice_ = -1;  // the one the device may run: started, its stop not yet out
    bool linked_ = false;
    notch::FoundNotches found_;
    remote::OpenQuestions questions_;
    devlink::DeviceWork::Watch workWatch_;
};

}  // namespace cli
