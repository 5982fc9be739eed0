#pragma once
// The web remote's target in the command-line tool: the device's current
// settings, edited with the frames `set` and `search` send. A notch edit is
// one SetNotch frame with the row's final values; a setting is its frame;
// a search starts and stops as the editor's does. Linking channels and the
// reset buttons are the editor's own and are refused here. While the device
// is away, edits are kept (as the editor keeps them) and sent, all settings
// at once, when it answers again.
#include "devlink/device_link.h"
#include "model/preset_image.h"
#include "remote/remote_target.h"

namespace cli {

class DeviceTarget final : public remote::RemoteTarget {
    Q_OBJECT
public:
    DeviceTarget(devlink::DeviceLink& link, model::PresetImage& image, QString status)
        : link_(link), image_(image), status_(std::move(status)) {}

    QJsonObject state() const override;
    QString apply(const remote::Request& request, int client) override;

    bool searchRunning() const { return search_ >= 0; }
    // Takes every waiting report of the running search into the settings.
    void takeReports();
    // The editor's stop frames for the running search, if one runs.
    void stopSearch();
    // The device stopped answering: its search is over, the pages say so.
    void wentOffline(const QString& why);
    // It answers again: the settings kept meanwhile go to it when they
    // differ from its own. False when it was lost again on the way.
    bool cameBack();

private:
    QString send(const std::vector<devlink::Payload>& frames);
    QString search(int selector, bool on);

    devlink::DeviceLink& link_;
    model::PresetImage& image_;
    QString status_;
    QString offline_;  // why, while the device is away
    int search_ = -1;
};

}  // namespace cli
