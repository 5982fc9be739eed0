// The device goes away under a running editor and comes back: the program
// arranged as main() arranges it (the window painting through the waits,
// offline instead of ending, the reconnect timer), against a simulator that
// is stopped and started again on the same pseudo-terminal link or TCP port.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <optional>

#include "app/main_window.h"
#include "app/offline_link_end.h"
#include "app/report_watcher.h"
#include "app/splash_window.h"
#include "connection/connection_status.h"
#include "devlink/any_port_factory.h"
#include "devlink/commands.h"
#include "devlink/job_wait_port.h"
#include "devlink/preset_block.h"
#include "devlink/tcp_port.h"
#include "editor/parameter_editor.h"
#include "sim/simulator_thread.h"
#include "support/scripted_dialogs.h"

namespace {

// Offline at the next frame, a reconnect probe every 2 s: a few periods.
constexpr int kReconnectWithinMs = 3 * connection::kReconnectEveryMs + static_cast<int>(devlink::kReplyTimeoutMs);

struct EditorOnRestartableDevice {
    explicit EditorOnRestartableDevice(bool network) {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        if (network)
            options.tcpPort = 0;
        else
            options.linkPath = dir.filePath("ttyQRN").toStdString();
        startDevice();
        // The same name after a restart: the link for a terminal, the port
        // the first run was given for the network.
        if (network) options.tcpPort = devlink::ParseNetworkPortName(portName)->port;
        link.emplace(waiting, clock, end, devlink::PortTable::fromList(portName, ':'), jobs);
        jobs.driveFromLoop(devlink::PostThrough(port));
        link->setPortFactory(&factory);
        window.emplace(session, *link, dialogs);
        end.setOnLost([this](const std::string& why) { window->goOffline(QString::fromStdString(why)); });
        watcher.emplace(port, *link, [this] { window->pollSearchReports(); });
    }
    EditorOnRestartableDevice(const EditorOnRestartableDevice&) = delete;
    EditorOnRestartableDevice& operator=(const EditorOnRestartableDevice&) = delete;
    // A job still waiting refers to the window and the port.
    ~EditorOnRestartableDevice() { jobs.abandon(); }
    void startDevice() {
        std::string error;
        simulator.emplace();
        ASSERT_TRUE(simulator->start(options, &error)) << error;
        portName = options.tcpPort ? simulator->portPath() : options.linkPath;
    }

    QTemporaryDir dir;
    sim::PtyOptions options;
    std::optional<sim::SimulatorThread> simulator;
    std::string portName;
    devlink::AnyPort port;
    devlink::JobRunner jobs;
    devlink::JobWaitPort waiting{port, jobs};
    devlink::AnyPortFactory factory{port, jobs};
    devlink::SteadyClock clock;
    testing_support::ScriptedDialogs dialogs;
    app::OfflineLinkEnd end;
    std::optional<devlink::DeviceLink> link;
    app::Session session;
    std::optional<app::MainWindow> window;
    std::optional<app::ReportWatcher> watcher;
};

TEST(ReconnectEndToEnd, AStoppedDeviceLeavesTheEditorOfflineUntilItAnswersAgain) {
    struct Case {
        const char* what;
        bool network;
        bool editedWhileAway;  // the restarted device then differs from the editor
    };
    const Case cases[] = {
        {"terminal, nothing changed: nothing asked", false, false},
        {"terminal, edited while away: asked, Yes sends the editor's", false, true},
        {"network, nothing changed: nothing asked", true, false},
        {"network, edited while away: asked, Yes sends the editor's", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorOnRestartableDevice rig(c.network);
        app::SplashWindow splash;
        // As the program starts it: one job, the window live meanwhile.
        bool loaded = false;
        rig.jobs.run([&]() -> devlink::Task<void> { loaded = co_await rig.window->load(splash); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.jobs.busy(); }, kReconnectWithinMs));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(rig.waiting.waitsInPlace(), 0) << "every wait handed the event loop back";
        const QString where = QString::fromStdString("port 1 (" + rig.portName + ")");
        ASSERT_EQ(rig.window->connectionStatus(), "Connected: " + where);

        // The port notices by itself: nothing needs to be sent.
        rig.simulator.reset();
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.link->ended(); }, kReconnectWithinMs));
        EXPECT_EQ(rig.window->connectionStatus(), "Offline: " + where + " not answering, reconnecting");
        // The banner says it, with the link's reason; no box that would
        // outlive the loss.
        EXPECT_TRUE(rig.window->offlineBannerText().startsWith("Offline: the device on " + where + " stopped answering.") &&
                    rig.window->offlineBannerText().contains(" Reason: "))
            << rig.window->offlineBannerText().toStdString();
        EXPECT_TRUE(rig.dialogs.shown.empty());

        QScrollBar* gain = rig.window->editor().controls().rows[11].gainBar;
        if (c.editedWhileAway) gain->setValue((gain->value() + 3) % (gain->maximum() + 1));
        const model::PresetImage editor = rig.session.image;
        rig.dialogs.answers = {ui::Answer::Yes};
        rig.startDevice();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.link->ended() && !rig.link->reconnecting() && !rig.jobs.busy(); },
                                    kReconnectWithinMs));
        EXPECT_EQ(rig.window->connectionStatus(), "Connected: " + where);
        EXPECT_EQ(rig.dialogs.shown.size(), c.editedWhileAway ? 1u : 0u) << "asked only when they differ";
        EXPECT_FALSE(rig.window->reconnectTimer().isActive());

        model::PresetImage device{};
        bool read = false;
        rig.jobs.run([&]() -> devlink::Task<void> {
            read = co_await devlink::ReadPresetBlockInto(*rig.link, devlink::kCurrentSettingsBlock, device);
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.jobs.busy(); }, kReconnectWithinMs));
        ASSERT_TRUE(read);
        EXPECT_EQ(rig.waiting.waitsInPlace(), 0);
        EXPECT_TRUE(std::equal(device.begin(), device.begin() + model::kBlockSize, editor.begin()))
            << "the device runs the editor's settings";
    }
}

}  // namespace
