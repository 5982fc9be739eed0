// The device lost and found again, and demo mode left for a device: the
// editor's settings are never overwritten unasked, the question's buttons
// say what they do, and each answer sends exactly what it says.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

#include "app/connect_port_choice.h"
#include "app/main_window.h"
#include "app/offline_banner.h"
#include "app/settings_offer.h"
#include "app/splash_window.h"
#include "connection/init_config.h"
#include "connection/typed_port.h"
#include "devlink/commands.h"
#include "devlink/preset_block.h"
#include "editor/parameter_editor.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

const QString kWhere = "port 1 (/dev/qrn-sim)";
// Left notch 1 as the device's own knob would leave it.
const Bytes kDeviceKnob = Frame({0x07, 0, 0, 0x00, 0xD5, 2, 9});

std::vector<Bytes> NotchFrames(const std::vector<Bytes>& frames) {
    std::vector<Bytes> notches;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(notches),
                 [](const Bytes& f) { return f[2] == 0x07; });
    return notches;
}

// A window loaded from a simulated device of its own, or in demo mode.
struct EditorOnSim {
    explicit EditorOnSim(bool demo) {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        window = std::make_unique<app::MainWindow>(session, rig.link, rig.dialogs);
        rig.device.setMuted(demo);
        if (demo) rig.dialogs.answers.push_back(ui::Answer::Yes);
        EXPECT_TRUE(devlink::RunToEnd(window->load(splash)));
        rig.takeWrites();
        rig.dialogs.shown.clear();
    }
    QTemporaryDir dir;
    SimRig rig;
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
};

void ExpectLabelledQuestion(const ui::Message& asked, const char* title) {
    EXPECT_EQ(asked.title, title);
    EXPECT_EQ(asked.choices.yes, "Send my settings to the device");
    EXPECT_EQ(asked.choices.no, "Use the device's settings");
    EXPECT_EQ(asked.defaultButton, ui::Answer::Yes);
    EXPECT_EQ(asked.waitingFor, app::kWaitingForSettingsChoice) << "put to the remote's pages too";
}

TEST(MainWindowOffline, EditsMadeOfflineAreKeptAndOfferedWhenTheDeviceAnswersAgain) {
    struct Case {
        const char* what;
        ui::Answer answer;
        bool editorKept;
    };
    const Case cases[] = {
        {"Send my settings: every notch goes out, the offline edit among them", ui::Answer::Yes, true},
        {"Use the device's settings: nothing goes out, and undo brings the edits back", ui::Answer::No, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorOnSim e(false);
        SimRig& rig = e.rig;
        const model::PresetImage& image = e.session.image;
        app::MainWindow* window = e.window.get();
        QScrollBar* lost = window->editor().controls().rows[10].gainBar;
        QScrollBar* away = window->editor().controls().rows[11].gainBar;
        rig.device.setMuted(true);
        lost->setValue(30);  // the edit at the moment of loss
        window->goOffline();
        EXPECT_EQ(window->offlineBannerText(), app::OfflineBannerText(kWhere));
        away->setValue(20);
        EXPECT_EQ(image[model::NotchRecordOffset[10] + 0], 30) << "kept in the editor";
        EXPECT_EQ(image[model::NotchRecordOffset[11] + 0], 20);
        const model::PresetImage edited = image;

        rig.device.setMuted(false);
        rig.port.peer(kDeviceKnob);
        rig.takeWrites();
        rig.dialogs.shown.clear();
        rig.dialogs.answers = {c.answer};
        window->tryReconnect();
        window->pollSearchReports();
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        ExpectLabelledQuestion(rig.dialogs.shown[0], "Reconnected");
        EXPECT_TRUE(rig.dialogs.shown[0].text.contains(kWhere));
        EXPECT_EQ(window->offlineBannerText(), "");

        const std::vector<Bytes> frames = rig.takeWrites();
        ASSERT_GE(frames.size(), 2u);
        EXPECT_EQ(Hex(frames[0]), "F0 5B 00 00 00 00 00 00 00 F7") << "the reconnect probe";
        EXPECT_EQ(Hex(frames[1]), "F0 5B 0B FF 00 00 00 00 00 F7") << "then the current settings are read";
        const std::vector<Bytes> notches = NotchFrames(frames);
        if (c.editorKept) {
            ASSERT_EQ(notches.size(), 24u);
            EXPECT_EQ(Hex(notches[0]).substr(0, 14), "F0 5B 07 00 00") << "in preset order";
            EXPECT_EQ(notches[10][8], 30);
            EXPECT_EQ(notches[11][8], 20);
            EXPECT_EQ(image, edited);
        } else {
            EXPECT_EQ(frames.size(), 2u) << "taking the device's settings sends nothing";
            EXPECT_EQ(image[model::NotchRecordOffset[0] + 0], 9);
            window->editor().history().undoAction()->trigger();
            EXPECT_EQ(image, edited);
        }
    }
}

TEST(MainWindowOffline, ASearchIsLockedWhileTheDeviceIsAwayAndOneLostIsStoppedOnItsReturn) {
    for (const bool searching : {false, true}) {
        SCOPED_TRACE(searching ? "a search ran at the loss" : "no search ran");
        EditorOnSim e(false);
        SimRig& rig = e.rig;
        app::MainWindow* window = e.window.get();
        const auto& boxes = window->editor().controls().searchButtons;
        if (searching) boxes[1]->click();
        rig.device.setMuted(true);
        rig.link.sendCommand(devlink::CloseLinkPayload());  // unanswered: the link is lost
        ASSERT_TRUE(rig.link.lost());
        window->goOffline("Time out");
        EXPECT_EQ(window->offlineBannerText(), app::OfflineBannerText(kWhere, "Time out"));
        EXPECT_FALSE(window->editor().flags().searchRunning);
        for (QPushButton* box : boxes) {
            EXPECT_FALSE(box->isChecked());
            EXPECT_FALSE(box->isEnabled()) << "a search needs the device";
        }
        EXPECT_EQ(window->statusBar()->currentMessage(), searching ? app::kSearchStoppedOffline
                                                                   : app::kSearchLockedOffline);

        rig.device.setMuted(false);
        rig.takeWrites();
        window->tryReconnect();
        window->pollSearchReports();
        std::vector<std::string> commands;
        for (const Bytes& f : rig.takeWrites()) commands.push_back(Hex(f).substr(6, 2));
        const std::vector<std::string> expected =
            searching ? std::vector<std::string>{"00", "0A", "0A", "0B"} : std::vector<std::string>{"00", "0B"};
        EXPECT_EQ(commands, expected) << "probe, the search told to stop as the window shows it, the read";
        for (QPushButton* box : boxes) EXPECT_TRUE(box->isEnabled());
        EXPECT_TRUE(rig.dialogs.shown.empty());
    }
}

TEST(MainWindowConnect, ConnectLeavesDemoModeForTheDeviceAndOffersTheDemoSettings) {
    struct Case {
        const char* what;
        std::optional<QString> where;  // nothing: Connect was cancelled
        bool deviceAnswers;
        bool editedInDemo;
        std::vector<ui::Answer> answers;
        bool demoSettingsKept;
    };
    const Case cases[] = {
        {"cancelled: nothing sent", std::nullopt, true, false, {}, true},
        {"no device answers: said, still demo mode", "Search every port", false, false, {}, true},
        {"the same settings: nothing asked", "Search every port", true, false, {}, true},
        {"different, Send my settings", "Search every port", true, true, {ui::Answer::Yes}, true},
        {"different, Use the device's", "Search every port", true, true, {ui::Answer::No}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorOnSim e(true);
        SimRig& rig = e.rig;
        const model::PresetImage& image = e.session.image;
        app::MainWindow* window = e.window.get();
        if (c.editedInDemo) window->editor().controls().rows[5].gainBar->setValue(12);
        const model::PresetImage demo = image;
        ASSERT_TRUE(window->actions().connectDevice->isEnabled());
        rig.device.setMuted(!c.deviceAnswers);
        rig.dialogs.typed = {c.where};
        rig.dialogs.answers.assign(c.answers.begin(), c.answers.end());
        window->actions().connectDevice->trigger();

        const bool connected = c.where && c.deviceAnswers;
        EXPECT_EQ(rig.link.flags().demoMode, !connected);
        EXPECT_EQ(window->windowTitle().startsWith(app::kDemoCaption), !connected);
        EXPECT_EQ(window->connectionStatus(), connected ? "Connected: " + kWhere : QString("Demo mode"));
        EXPECT_EQ(window->actions().connectDevice->isEnabled(), !connected);
        const std::vector<Bytes> frames = rig.takeWrites();
        if (!c.where) {
            EXPECT_TRUE(frames.empty());
        }
        if (c.where && !c.deviceAnswers) {
            ASSERT_EQ(rig.dialogs.shown.size(), 1u);
            EXPECT_EQ(rig.dialogs.shown[0].text, "No device answers on any port.");
        }
        if (connected) {
            ASSERT_FALSE(frames.empty());
            EXPECT_EQ(Hex(frames[0]), "F0 5B 00 00 00 00 00 00 00 F7") << "the probe";
            EXPECT_EQ(rig.dialogs.shown.size(), c.answers.size());
            if (!c.answers.empty()) ExpectLabelledQuestion(rig.dialogs.shown[0], "Connected");
            const std::vector<Bytes> notches = NotchFrames(frames);
            EXPECT_EQ(notches.size(), c.answers == std::vector{ui::Answer::Yes} ? 24u : 0u);
            if (!notches.empty()) {
                EXPECT_EQ(notches[5][8], 12);
            }
            model::PresetImage device{};
            ASSERT_TRUE(devlink::RunToEnd(devlink::ReadPresetBlockInto(rig.link, devlink::kCurrentSettingsBlock, device)));
            EXPECT_TRUE(std::equal(device.begin(), device.begin() + model::kBlockSize, image.begin()))
                << "editor and device agree afterwards";
        }
        EXPECT_EQ(image == demo, c.demoSettingsKept);
    }
}

// Offline, Connect... is offered too: a device that answers ends the
// reconnect attempts and is offered the editor's settings; none leaves the
// editor offline on the lost port, still trying it.
TEST(MainWindowConnect, ConnectWhileOfflineTakesTheDeviceOrStaysOffline) {
    for (const bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "a device answers" : "none answers");
        EditorOnSim e(false);
        SimRig& rig = e.rig;
        app::MainWindow* window = e.window.get();
        EXPECT_FALSE(window->actions().connectDevice->isEnabled()) << "connected: nothing to connect to";
        rig.device.setMuted(true);
        window->editor().controls().rows[11].gainBar->setValue(30);
        window->goOffline();
        ASSERT_TRUE(rig.link.lost());
        EXPECT_TRUE(window->actions().connectDevice->isEnabled());
        rig.device.setMuted(!answers);
        rig.takeWrites();
        rig.dialogs.shown.clear();
        rig.dialogs.typed = {QString("Search every port")};
        rig.dialogs.answers = {ui::Answer::Yes};
        window->actions().connectDevice->trigger();
        EXPECT_EQ(rig.link.lost(), !answers);
        EXPECT_EQ(window->reconnectTimer().isActive(), !answers);
        EXPECT_FALSE(rig.link.flags().demoMode);
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        if (answers) {
            ExpectLabelledQuestion(rig.dialogs.shown[0], "Connected");
            EXPECT_EQ(window->connectionStatus(), "Connected: " + kWhere);
            EXPECT_EQ(window->offlineBannerText(), "");
            EXPECT_EQ(NotchFrames(rig.takeWrites()).size(), 24u) << "the editor's settings, sent";
        } else {
            EXPECT_EQ(rig.dialogs.shown[0].text, "No device answers on any port.");
            EXPECT_EQ(window->offlineBannerText(), app::OfflineBannerText(kWhere)) << "offline on the lost port";
        }
    }
}

TEST(ConnectPortChoice, OffersASearchAndThePortsThatExistOrTakesOneTyped) {
    devlink::PortTable ports = devlink::PortTable::fromList("", ':');
    ports.set(2, "/dev/null");
    ports.set(3, "/dev/qrn-no-such-port");
    ports.set(35, "tcp://127.0.0.1:4001");
    using app::ConnectChoice;
    struct Case {
        const char* what;
        std::optional<QString> typed;
        std::optional<ConnectChoice> choice;
    };
    const Case cases[] = {
        {"the search", "Search every port", ConnectChoice{0, {}}},
        {"an existing port", "Port 2 (/dev/null)", ConnectChoice{2, {}}},
        {"a network port, last of the table", "Port 35 (tcp://127.0.0.1:4001)", ConnectChoice{35, {}}},
        {"cancelled", std::nullopt, std::nullopt},
        {"a typed address", " tcp://192.0.2.7:4480 ", ConnectChoice{0, "tcp://192.0.2.7:4480"}},
        {"a typed path the table names: that port", "/dev/null", ConnectChoice{2, {}}},
        {"a typed path the table names but that is missing here", "/dev/qrn-no-such-port", ConnectChoice{3, {}}},
        {"a typed path of its own", "/dev/qrn-elsewhere", ConnectChoice{0, "/dev/qrn-elsewhere"}},
        {"nothing typed", "  ", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs dialogs;
        dialogs.typed = {c.typed};
        EXPECT_EQ(app::AskConnectPort(ports, dialogs, nullptr), c.choice);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].choices,
                  QStringList({"Search every port", "Port 2 (/dev/null)", "Port 35 (tcp://127.0.0.1:4001)"}));
        EXPECT_TRUE(dialogs.prompts[0].typable);
    }
}

// A typed port takes the number that names it, else the highest one that
// names nothing here, so no port of this machine is hidden.
TEST(ConnectPortChoice, ATypedPortTakesANumberNoPortOfThisMachineUses) {
    const auto exists = [](const std::string& name) { return name.starts_with("/dev/here"); };
    devlink::PortTable full = devlink::PortTable::fromList("", ':');
    for (int n = 1; n <= 35; ++n) full.set(n, "/dev/here" + std::to_string(n));
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::string>> table;
        std::string typed;
        int number;
    };
    const Case cases[] = {
        {"an empty table: the last number", {}, "tcp://h:1", 35},
        {"already named: its own number", {{7, "tcp://h:1"}}, "tcp://h:1", 7},
        {"the last numbers exist: below them", {{35, "/dev/here35"}, {34, "/dev/here34"}}, "/dev/x", 33},
        {"a missing device gives way", {{35, "/dev/gone"}}, "/dev/x", 35},
    };
    for (const Case& c : cases) {
        devlink::PortTable ports = devlink::PortTable::fromList("", ':');
        for (const auto& [n, name] : c.table) ports.set(n, name);
        EXPECT_EQ(connection::NumberForTypedPort(ports, c.typed, exists), c.number) << c.what;
    }
    EXPECT_EQ(connection::NumberForTypedPort(full, "/dev/x", exists), 35) << "every number taken: the last";
}

// Remembered like a found port: put back at its number at the next start;
// a device found on another port later forgets it.
TEST(ConnectPortChoice, ATypedPortIsRememberedUntilAnotherIsFound) {
    QSettings().clear();
    ASSERT_TRUE(connection::WriteTypedPort({33, "tcp://127.0.0.1:4480"}));
    devlink::PortTable ports;
    connection::AddRememberedTypedPort(ports);
    EXPECT_EQ(ports.name(33), "tcp://127.0.0.1:4480");
    EXPECT_EQ(connection::ReadStoredPortNumber("/nonexistent/init.cfg"), 33);
    ASSERT_TRUE(connection::WriteStoredPortNumber(33));
    EXPECT_TRUE(connection::ReadTypedPort().has_value()) << "found again on its own number";
    ASSERT_TRUE(connection::WriteStoredPortNumber(5));
    EXPECT_FALSE(connection::ReadTypedPort().has_value());
    devlink::PortTable fresh;
    connection::AddRememberedTypedPort(fresh);
    EXPECT_EQ(fresh.name(33), devlink::PortTable().name(33));
    QSettings().clear();
}

}  // namespace
