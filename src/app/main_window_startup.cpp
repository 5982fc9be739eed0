// Start-up: the port search, the read of the whole device or demo mode,
// then the edit history and the kept settings' offer. One job, awaited
// from the event loop, so the splash and the window paint meanwhile.
#include <QStatusBar>

#include "app/main_window.h"
#include "app/settings_autosave.h"
#include "app/splash_window.h"
#include "app/user_places.h"
#include "connection/init_config.h"
#include "connection/port_search.h"
#include "devlink/memory_dump.h"
#include "editor/device_transfer.h"
#include "editor/parameter_editor.h"

namespace app {

devlink::Task<bool> MainWindow::load(SplashWindow& splash, bool demoOnly) {
    link_.flags().demoMode = false;
    quitWithoutConfirm_ = false;

    if (demoOnly) {
        link_.flags().demoMode = true;
        enterDemoMode(splash);
    } else {
        splash.showStatus(kSearchingStatus);
        const int stored = connection::ReadStoredPortNumber(initConfigPath().toStdString());
        const connection::PortSearchResult search = co_await connection::SearchDevicePorts(link_, stored);
        if (!search.found) {
            co_await reportPermissionProblems(search);
            const ui::Message demo{kDemoQuestion, "Warning", ui::Icon::None, ui::Buttons::YesNo, ui::Answer::Yes};
            const ui::Answer answer = co_await editor::Asked(link_, dialogs_, demo);
            if (answer != ui::Answer::Yes) {
                quitWithoutConfirm_ = true;
                co_return false;
            }
            link_.flags().demoMode = true;
            enterDemoMode(splash);
        }
        connection::WriteStoredPortNumber(static_cast<std::int16_t>(search.portNumber));
    }

    co_await dumpDeviceMemory(splash);

    link_.flags().suppressSend = false;
    channelCompareTimer_.start(kChannelCompareMs);
    session_.library.presetTitle.clear();
    showPresetTitle();
    // Nothing came from a device in demo mode, nor from a dump cut short.
    editor_->setPresetSource(link_.flags().demoMode ? kDemoSettingsSource
                             : deviceRead_          ? kPresetFromDevice
                                                    : kDefaultSettingsSource);

    editorWindow_->show();
    showConnectionStatus();
    quitRequested_ = false;
    co_await startEditHistory();
    co_return true;
}

devlink::Task<void> MainWindow::reportPermissionProblems(connection::PortSearchResult search) {
    for (int port : search.permissionDenied) {
        const QString name = QString::fromStdString(link_.ports().name(port).value_or(""));
        const ui::Message refused{PortPermissionMessage(port, name), "Serial port not accessible",
                                  ui::Icon::Exclamation};
        co_await editor::Asked(link_, dialogs_, refused, this);
    }
    for (int port : search.inUse) {
        const ui::Message inUse{
            QString::fromStdString(connection::PortInUseMessage(port, link_.ports().name(port).value_or(""))),
            "Serial port in use", ui::Icon::Exclamation};
        co_await editor::Asked(link_, dialogs_, inUse, this);
    }
}

void MainWindow::enterDemoMode(SplashWindow& splash) {
    splash.showStatus(devlink::kDumpStatus);
    session_.library.resetToFixedOnly();
    editorWindow_->hide();
    editor_->fillFromDefaultImage();  // leaves sending suppressed until start-up ends
    editorWindow_->show();
    setCaption(kDemoCaption);
    editor_->redrawGraph();
}

devlink::Task<void> MainWindow::dumpDeviceMemory(SplashWindow& splash) {
    if (!link_.flags().demoMode) {
        devlink::DumpHooks hooks;
        hooks.status = [&splash](const std::string& text) { splash.showStatus(QString::fromStdString(text)); };
        hooks.progress = [&splash](int done, int total) { splash.showProgress(done, total); };
        hooks.fillEditor = [this] {
            editorWindow_->hide();
            editor_->fillFromImage();
            editorWindow_->show();
        };
        deviceRead_ = co_await devlink::DumpDeviceMemory(link_, session_.image, session_.library, hooks);
        setCaption(kMainCaption);
        if (!deviceRead_) {
            // Nothing half-read is shown: the fixed list and the default
            // preset until the device answers again.
            session_.library.resetToFixedOnly();
            editor_->fillFromDefaultImage();
        }
    }
    editor_->redrawGraph();
}

}  // namespace app
