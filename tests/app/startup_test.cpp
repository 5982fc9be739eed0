#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <fstream>

#include "connection/init_config.h"
#include "connection/init_config_file.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "editor/parameter_editor.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

TEST(Splash, OnlyAScreenSmallerInBothDirectionsIsTooSmall) {
    struct Case {
        int w, h;
        bool tooSmall;
    };
    for (const Case c : {Case{640, 480, true}, Case{1024, 500, false}, Case{799, 599, true}, Case{800, 599, false},
                         Case{799, 600, false}, Case{1920, 1080, false}})
        EXPECT_EQ(app::ScreenTooSmall(c.w, c.h), c.tooSmall) << c.w << "x" << c.h;
}

class StartupTest : public ::testing::Test {
protected:
    void start(int devicePort, std::optional<std::int16_t> stored) {
        rig = std::make_unique<SimRig>(devicePort);
        session.startDir = dir.path();
        // A first run with the settings empty: an older version's init.cfg
        // in the start folder gives the port to try first.
        QSettings().clear();
        QFile::remove(dir.filePath("init.cfg"));
        if (stored) {
            const char bytes[2] = {static_cast<char>(*stored & 0xFF), static_cast<char>((*stored >> 8) & 0xFF)};
            std::ofstream(configPath(), std::ios::binary).write(bytes, 2);
        }
        window = std::make_unique<app::MainWindow>(session, rig->link, rig->dialogs);
    }
    std::string configPath() const { return dir.filePath("init.cfg").toStdString(); }
    std::vector<std::string> portsTried() const {
        std::vector<std::string> tries;
        for (const auto& name : rig->port.opens)
            if (tries.empty() || tries.back() != name) tries.push_back(name);
        return tries;
    }

    QTemporaryDir dir;
    app::Session session;
    std::unique_ptr<SimRig> rig;
    std::unique_ptr<app::MainWindow> window;
    app::SplashWindow splash;
};

TEST_F(StartupTest, StoredPortAnswersAndTheDeviceFillsTheEditor) {
    start(4, 4);
    ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
    EXPECT_EQ(portsTried(), std::vector<std::string>{kSimPortName});
    EXPECT_EQ(connection::ReadStoredPortNumber(configPath()), 4);
    EXPECT_EQ(window->windowTitle(), "QRN4480 - feedback eliminator");
    EXPECT_EQ(splash.status(), "Dumping memory: please wait ");
    EXPECT_EQ(session.library.names[0], U"Preset01");
    EXPECT_EQ(session.library.names[4], U" Empty  ");
    EXPECT_EQ(session.library.programName, U"SIM 4480");
    for (int i = 0; i < 160; ++i) ASSERT_EQ(session.image[i], rig->device.settings()[i]) << i;
    EXPECT_EQ(window->editor().presetSource(), "Preset loaded from Device");
    EXPECT_EQ(window->editor().presetTitle(), "");
    EXPECT_FALSE(rig->link.flags().suppressSend);
    EXPECT_FALSE(rig->link.flags().demoMode);
    EXPECT_TRUE(window->channelCompareTimer().isActive());
    EXPECT_EQ(window->channelCompareTimer().interval(), 3000);
    EXPECT_TRUE(rig->dialogs.shown.empty());
    // The editor was filled without sending: the dump's own frames end with
    // the three closing SearchControl frames.
    const auto& last = rig->port.writes.back();
    EXPECT_EQ(last[2], 0x0A);
    EXPECT_EQ(last[3], 2);
    for (const auto& frame : rig->port.writes) EXPECT_NE(frame[2], 0x07) << "no SetNotch while filling";
}

TEST_F(StartupTest, FailedStoredPortIsSkippedAndTheFoundPortIsStored) {
    start(5, 3);
    ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
    // Every port got the probe once, the stored one first; the link took the
    // device's line over, so that probe is the only one the device saw.
    const auto& probes = rig->portFactory.writes;
    ASSERT_EQ(probes.size(), 35u);
    EXPECT_EQ(probes.front().first, "/dev/silent3");
    EXPECT_EQ(std::count_if(probes.begin(), probes.end(), [](const auto& p) { return p.first == kSimPortName; }), 1);
    EXPECT_EQ(portsTried(), std::vector<std::string>{kSimPortName});
    EXPECT_EQ(std::count(rig->port.writes.begin(), rig->port.writes.end(), Frame({0x00})), 1);
    EXPECT_EQ(rig->port.writes.front(), Frame({0x00}));
    EXPECT_EQ(connection::ReadStoredPortNumber(configPath()), 5);
    EXPECT_EQ(connection::ReadInitConfigFile(configPath()), 3) << "the start folder is never written";
}

TEST_F(StartupTest, NoDeviceAndDemoModeAccepted) {
    struct Case {
        std::optional<std::int16_t> stored;
        std::int16_t written;
    };
    for (const Case c : {Case{std::nullopt, 35}, Case{35, 34}, Case{12, 35}}) {
        start(1, c.stored);
        rig->device.setMuted(true);
        rig->dialogs.answers = {ui::Answer::Yes};
        std::size_t writesAtQuestion = 0;
        rig->dialogs.onShow = [&](const ui::Message&) { writesAtQuestion = rig->port.writes.size(); };
        ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
        ASSERT_EQ(rig->dialogs.shown.size(), 1u);
        EXPECT_EQ(rig->dialogs.shown[0].text, "COM not found, do you want continue in demo mode?");
        EXPECT_EQ(rig->dialogs.shown[0].title, "Warning");
        EXPECT_EQ(rig->dialogs.shown[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(rig->dialogs.shown[0].icon, ui::Icon::None);
        EXPECT_EQ(rig->port.writes.size(), writesAtQuestion) << "demo mode writes nothing";
        EXPECT_TRUE(window->windowTitle().endsWith(" - demo mode"));
        EXPECT_EQ(window->windowTitle(), "QRN4480 - feedback eliminator - demo mode");
        EXPECT_EQ(window->editor().presetSource(), "Default settings (demo mode)") << "nothing came from a device";
        for (int p = 5; p <= 20; ++p) EXPECT_EQ(session.library.names[p - 1], U" Empty  ");
        for (int p = 1; p <= 4; ++p) EXPECT_TRUE(session.library.used[p - 1]);
        EXPECT_EQ(connection::ReadStoredPortNumber(configPath()), c.written);
        for (int i = 0; i < 160; ++i) ASSERT_EQ(session.image[i], model::DefaultImage[i]) << i;
        EXPECT_TRUE(rig->link.flags().demoMode);
        EXPECT_FALSE(rig->link.flags().suppressSend);
        EXPECT_FALSE(rig->port.isOpen()) << "no port is held in demo mode";
    }
}

TEST_F(StartupTest, NoDeviceAndDemoModeDeclinedEndsWithoutWritingTheConfig) {
    start(1, std::nullopt);
    rig->device.setMuted(true);
    rig->dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(devlink::RunToEnd(window->load(splash)));
    EXPECT_TRUE(window->quitWithoutConfirm());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(configPath())));
    EXPECT_EQ(connection::ReadStoredPortNumber(configPath()), 0);
}

TEST_F(StartupTest, APortRefusedOrHeldIsNamedBeforeTheQuestion) {
    struct Case {
        devlink::PortFault fault;
        QString title;
        QString text;  // contained in the box's text
    };
    const Case cases[] = {
        {devlink::PortFault::Permission, "Serial port not accessible", "dialout"},
        {devlink::PortFault::InUse, "Serial port in use", "Port 6 (/dev/silent6) is in use by another program."},
    };
    for (const Case& c : cases) {
        start(1, 1);
        rig->device.setMuted(true);
        rig->portFactory.refused["/dev/silent6"] = c.fault;
        rig->dialogs.answers = {ui::Answer::Yes};
        ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
        ASSERT_EQ(rig->dialogs.shown.size(), 2u);
        EXPECT_EQ(rig->dialogs.shown[0].title, c.title);
        EXPECT_TRUE(rig->dialogs.shown[0].text.contains("Port 6 (/dev/silent6)"));
        EXPECT_TRUE(rig->dialogs.shown[0].text.contains(c.text)) << rig->dialogs.shown[0].text.toStdString();
        EXPECT_EQ(rig->dialogs.shown[1].text, "COM not found, do you want continue in demo mode?");
    }
}

TEST_F(StartupTest, ChannelComparisonFollowsTheImage) {
    start(1, 1);
    ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
    session.image[100] = static_cast<std::uint8_t>(session.image[20] + 1);
    window->checkChannelsDiffer();
    EXPECT_TRUE(window->editor().flags().channelsDiffer);
    session.image[100] = session.image[20];
    std::copy(session.image.begin(), session.image.begin() + 80, session.image.begin() + 80);
    window->checkChannelsDiffer();
    EXPECT_FALSE(window->editor().flags().channelsDiffer);
}

}  // namespace
