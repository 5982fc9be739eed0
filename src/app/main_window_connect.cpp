// Device > Connect...: from demo mode, or from a lost device, to a device
// without a restart. The port search runs again (or one port the user
// names or types is probed); a device that answers is read as at start-up,
// and the settings made meanwhile are offered to it rather than thrown
// away.
#include <QAction>
#include <QStatusBar>

#include "app/connect_port_choice.h"
#include "app/main_window.h"
#include "app/settings_offer.h"
#include "connection/init_config.h"
#include "connection/port_search.h"
#include "connection/typed_port.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"

namespace app {

void MainWindow::connectToDevice() {
    const bool offline = link_.lost() && !link_.flags().demoMode;
    if ((!link_.flags().demoMode && !offline) || editor::RefusedWhileBusy(link_)) return;
    if (editor_->searchRunning()) {
        statusBar()->showMessage("Stop the feedback search before connecting.");
        return;
    }
    const std::optional<ConnectChoice> chosen = AskConnectPort(link_.ports(), dialogs_, this);
    if (!chosen) return;
    int port = chosen->port;
    if (!chosen->typed.empty()) {
        port = connection::NumberForTypedPort(link_.ports(), chosen->typed, PortExistsHere);
        link_.namePort(port, chosen->typed);
    }
    const int lostPort = link_.portNumber();
    // One job from the search to the settings offer: nothing else reaches
    // the device in between, and the window goes on meanwhile.
    link_.jobs().run([this, port, typed = chosen->typed, offline, lostPort]() -> devlink::Task<void> {
        connection::PortSearchResult search;
        {
            const auto transfer = editor::DeviceTransfer::Begin(link_, dialogs_, "looking for the device");
            if (!transfer) co_return;
            if (offline)
                link_.resumeForConnect();
            else
                link_.flags().demoMode = false;
            // Never an await inside ?: (g++ 12 destroys its temporaries twice).
            if (port)
                search = co_await connection::ProbeChosenPort(link_, port);
            else
                search = co_await connection::SearchDevicePorts(
                    link_, connection::ReadStoredPortNumber(initConfigPath().toStdString()));
            if (!search.found) {
                // Back as it was: demo mode, or offline on the lost port,
                // which is still tried every two seconds.
                if (offline)
                    link_.resumeLoss(lostPort);
                else
                    link_.flags().demoMode = true;
            }
        }
        if (!search.found) {
            showConnectionStatus();
            co_await reportPermissionProblems(search);
            const QString none = port ? "No device answers on " + PortWhere(port, link_.ports()) + "."
                                      : QStringLiteral("No device answers on any port.");
            const ui::Message nobody{none, "Connect", ui::Icon::Exclamation};
            co_await editor::Asked(link_, dialogs_, nobody, this);
            co_return;
        }
        if (typed.empty())
            connection::WriteStoredPortNumber(static_cast<std::int16_t>(search.portNumber));
        else
            connection::WriteTypedPort({static_cast<std::int16_t>(search.portNumber), typed});
        reconnectTimer_.stop();
        setCaption(kMainCaption);
        showConnectionStatus();
        const QString where = QString::fromStdString(link_.portDescription());
        const SettingsOffer offer{session_, link_, *editor_, dialogs_, this};
        const OfferOutcome outcome =
            co_await ReadDeviceAndOfferSettings(offer, DeviceRead::Everything, ConnectQuestion(where), "Connected");
        deviceRead_ = outcome != OfferOutcome::NotRead;
        if (outcome == OfferOutcome::TookDevices) editor_->setPresetSource(kPresetFromDevice);
        showConnectionStatus();
    });
}

}  // namespace app
