// Device > Connect...: from demo mode to a device without a restart. The
// port search runs again (or one port the user names is probed); a device
// that answers is read as at start-up, and the settings made in demo mode
// are offered to it rather than thrown away.
#include <QAction>
#include <QStatusBar>

#include "app/connect_port_choice.h"
#include "app/main_window.h"
#include "app/settings_offer.h"
#include "connection/init_config.h"
#include "connection/port_search.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"

namespace app {

void MainWindow::connectToDevice() {
    if (!link_.flags().demoMode || editor::RefusedWhileBusy(link_)) return;
    if (editor_->searchRunning()) {
        statusBar()->showMessage("Stop the feedback search before connecting.");
        return;
    }
    const std::optional<int> chosen = AskConnectPort(link_.ports(), dialogs_, this);
    if (!chosen) return;
    // One job from the search to the settings offer: nothing else reaches
    // the device in between, and the window goes on meanwhile.
    link_.jobs().run([this, chosen = *chosen] {
        connection::PortSearchResult search;
        {
            const auto transfer = editor::DeviceTransfer::Begin(link_, dialogs_, "looking for the device");
            if (!transfer) return;
            link_.flags().demoMode = false;
            search = chosen ? connection::ProbeChosenPort(link_, chosen)
                            : connection::SearchDevicePorts(
                                  link_, connection::ReadStoredPortNumber(initConfigPath().toStdString()));
            link_.flags().demoMode = !search.found;
        }
        if (!search.found) {
            reportPermissionProblems(search);
            dialogs_.inform(chosen ? "No device answers on " + PortWhere(chosen, link_.ports()) + "."
                                   : QStringLiteral("No device answers on any port."),
                            "Connect", ui::Icon::Exclamation, this);
            return;
        }
        connection::WriteStoredPortNumber(static_cast<std::int16_t>(search.portNumber));
        setCaption(kMainCaption);
        showConnectionStatus();
        const QString where = QString::fromStdString(link_.portDescription());
        const OfferOutcome outcome = ReadDeviceAndOfferSettings(
            {session_, link_, *editor_, dialogs_, this}, DeviceRead::Everything, ConnectQuestion(where), "Connected");
        deviceRead_ = outcome != OfferOutcome::NotRead;
        if (outcome == OfferOutcome::TookDevices) editor_->setPresetSource(kPresetFromDevice);
        showConnectionStatus();
    });
}

}  // namespace app
