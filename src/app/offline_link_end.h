#pragma once
// The device stopped answering or its port failed: say why, then go on
// offline. The editor keeps every setting and can still be edited, as in
// demo mode; the main window reconnects when the device answers again.
#include <QObject>
#include <functional>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace app {

class OfflineLinkEnd final : public devlink::LinkEnd {
public:
    explicit OfflineLinkEnd(ui::UserDialogs& dialogs) : dialogs_(dialogs) {}
    // Told before the message, so the window shows the link offline
    // while the message waits to be read.
    void setOnLost(std::function<void()> onLost) { onLost_ = std::move(onLost); }
    void linkLost(const std::string& message) override;

private:
    ui::UserDialogs& dialogs_;
    std::function<void()> onLost_;
    // A box still waiting to be shown goes with the link end.
    QObject context_;
};

}  // namespace app
