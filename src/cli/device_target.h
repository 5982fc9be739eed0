#pragma once
// The web remote's target in the command-line tool: the device's current
// settings, edited with the frames `set` and `search` send. A notch edit is
// one SetNotch frame with the row's final values; a setting is its frame;
// a search starts and stops as the editor's does. Linking channels and the
// reset buttons are the editor's own and are refused here.
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

private:
    QString send(const std::vector<devlink::Payload>& frames);
    QString search(int selector, bool on);

    devlink::DeviceLink& link_;
    model::PresetImage& image_;
    QString status_;
    int search_ = -1;
};

}  // namespace cli
