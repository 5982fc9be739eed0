#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <utility>
#include <QtTest/QTest>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "devlink/commands.h"
#include "devlink/preset_block.h"
#include "editor/parameter_editor.h"
#include "main_window_fixture.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

const Bytes kCloseLink = Frame({0x0F});

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTheirToolTips) {
    start();
    window->show();
    QApplication::processEvents();
    struct Case {
        int index;
        const char* tip;
    };
    const Case cases[] = {{0, "Load Preset from PC"},     {1, "Save Preset to PC"},  {2, "Store Preset to device"},
                          {3, "Read Preset from device"}, {7, "Copy Left to Right"}, {8, "Copy Right to Left"}};
    int lastX = -1;
    for (const auto& c : cases) {
        QToolButton* button = window->toolbarButton(c.index);
        ASSERT_NE(button, nullptr) << c.index;
        EXPECT_EQ(button->toolTip(), c.tip);
        EXPECT_EQ(button->accessibleName(), c.tip);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_GT(button->x(), lastX) << "buttons stand in index order";
        lastX = button->x();
    }
    for (int other : {4, 5, 6, 9}) EXPECT_EQ(window->toolbarButton(other), nullptr);
}

TEST_F(MainWindowTest, ChannelCopiesAskFirstAndSendOnlyOnYes) {
    struct Case {
        int index;
        const char* text;
        const char* title;
        int firstChannel;
    };
    const Case cases[] = {
        {7, "Copy Channel Left to Right, Are you sure ?", "Copy Left to Right", 1},
        {8, "Copy Channel Right to Left, Are you sure ?", "Copy Right to Left", 0},
    };
    start();
    session.image[model::NotchRecordOffset[3]] = 10;  // make the halves differ
    for (const auto& c : cases) {
        const auto before = session.image;
        rig.dialogs.answers = {ui::Answer::No};
        click(c.index);
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.dialogs.shown[0].text, c.text);
        EXPECT_EQ(rig.dialogs.shown[0].title, c.title);
        EXPECT_EQ(rig.dialogs.shown[0].defaultButton, ui::Answer::Yes);
        EXPECT_TRUE(rig.takeWrites().empty());
        EXPECT_EQ(session.image, before);

        rig.dialogs.shown.clear();
        rig.dialogs.answers = {ui::Answer::Yes};
        click(c.index);
        const auto frames = rig.takeWrites();
        // Twelve notches of the destination, then its six settings.
        ASSERT_EQ(frames.size(), 18u);
        for (int k = 0; k < 12; ++k) {
            EXPECT_EQ(frames[k][2], 0x07);
            EXPECT_EQ(frames[k][3], c.firstChannel);
            EXPECT_EQ(frames[k][4], k);
        }
        EXPECT_EQ(rig.dialogs.busyDepth, 0);
        EXPECT_GT(rig.dialogs.busyCount, 0);
        rig.dialogs.shown.clear();
    }
}

TEST_F(MainWindowTest, CloseIsRefusedSilentlyWhileASearchRuns) {
    start();
    QPushButton* searchBoth = window->editor().controls().searchButtons[0];
    searchBoth->click();
    rig.takeWrites();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_TRUE(rig.takeWrites().empty());
    // Nor while an edit made during the search waits for its reply.
    bool closedInWait = false;
    rig.port.linePace = true;
    rig.port.duringWait = [&] {
        if (!std::exchange(closedInWait, true)) {
            EXPECT_FALSE(window->close());
            QCoreApplication::processEvents();  // the event loop goes on while the edit waits
        }
    };
    QLineEdit* sensitivity = window->editor().controls().settings[0].sensitivityBox;
    sensitivity->setText("5");
    QTest::keyClick(sensitivity, Qt::Key_Return);
    rig.port.duringWait = nullptr;
    rig.port.linePace = false;
    QCoreApplication::processEvents();
    EXPECT_TRUE(closedInWait);
    EXPECT_TRUE(rig.dialogs.shown.empty()) << "no question about waiting for the edit either";
    rig.takeWrites();
    searchBoth->click();
    rig.takeWrites();
    rig.dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u) << "the question comes once the search is off";
}

TEST_F(MainWindowTest, ExitQuestionNoKeepsRunningYesSendsCloseLinkAndEnds) {
    start();
    rig.dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "               Are you sure ? ");
    EXPECT_EQ(rig.dialogs.shown[0].title, "Exit");
    EXPECT_EQ(rig.dialogs.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(rig.dialogs.shown[0].defaultButton, ui::Answer::No);
    EXPECT_TRUE(rig.takeWrites().empty());
    EXPECT_FALSE(window->quitRequested());

    rig.dialogs.answers = {ui::Answer::Yes};
    EXPECT_TRUE(window->close());
    const auto frames = rig.takeWrites();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Hex(frames[0]), "F0 5B 0F 00 00 00 00 00 00 F7");
    EXPECT_TRUE(window->quitRequested());
}

TEST_F(MainWindowTest, DemoModeEndsWithoutWritingToThePort) {
    start(true);
    rig.dialogs.answers = {ui::Answer::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(rig.takeWrites().empty()) << "not even CloseLink";
    EXPECT_TRUE(window->quitRequested());
}

TEST(MainWindowStart, DecliningDemoModeEndsWithoutTheExitQuestion) {
    QTemporaryDir dir;
    SimRig rig;
    rig.device.setMuted(true);
    app::Session session;
    session.startDir = dir.path();
    app::MainWindow window(session, rig.link, rig.dialogs);
    app::SplashWindow splash;
    rig.dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(devlink::RunToEnd(window.load(splash)));
    const auto asked = rig.dialogs.shown.size();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(rig.dialogs.shown.size(), asked);
}

TEST_F(MainWindowTest, ADroppedOrNamedPresetFileLoadsAndSendsEveryParameter) {
    start();
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    image[model::NotchRecordOffset[20]] = 12;
    image[160] = 0x5A;
    const QString path = dir.filePath("live.Fbk");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
    file.close();

    window->openPresetFile(path);
    EXPECT_EQ(session.image, image);
    EXPECT_EQ(window->editor().presetSource(), "Preset loaded from PC");
    EXPECT_EQ(window->editor().presetTitle(), "live.Fbk");
    const auto frames = rig.takeWrites();
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const Bytes& f) { return f[2] == 0x07; }), 24);
    // The status bar's bar went through all 24 notches and both channels.
    const auto* progress = window->findChild<QProgressBar*>("ApplyProgress");
    EXPECT_EQ(progress->value(), 26);
    EXPECT_EQ(progress->maximum(), 26);
    EXPECT_TRUE(progress->isHidden()) << "gone once everything is sent";
}

TEST_F(MainWindowTest, OnlyOneLocalFileCanBeDroppedAndNotDuringASearch) {
    start();
    QMimeData one, two, remote, text;
    one.setUrls({QUrl::fromLocalFile("/tmp/a.Fbk")});
    two.setUrls({QUrl::fromLocalFile("/tmp/a.Fbk"), QUrl::fromLocalFile("/tmp/b.Fbk")});
    remote.setUrls({QUrl("https://example.org/a.Fbk")});
    text.setText("/tmp/a.Fbk");
    EXPECT_EQ(window->droppablePresetFile(&one), "/tmp/a.Fbk");
    for (const QMimeData* refused : {&two, &remote, &text}) EXPECT_TRUE(window->droppablePresetFile(refused).isEmpty());
    window->actions().loadPreset->setEnabled(false);  // as a search locks it
    EXPECT_TRUE(window->droppablePresetFile(&one).isEmpty());
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ASearchLocksTheSixButtonsAndItsReportsReachTheEditor) {
    start();
    QPushButton* searchRight = window->editor().controls().searchButtons[2];
    QTest::mouseClick(searchRight, Qt::LeftButton);
    ASSERT_TRUE(window->editor().flags().searchRunning);
    for (int index : {0, 1, 2, 3, 7, 8}) EXPECT_FALSE(window->toolbarButton(index)->isEnabled()) << index;
    rig.takeWrites();

    ASSERT_TRUE(rig.deliverReport());
    const auto before = session.image;
    window->pollSearchReports();
    const auto frames = rig.takeWrites();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Hex(frames[0]), "F0 5B 30 00 00 00 00 00 00 F7");
    EXPECT_NE(session.image, before) << "the reported notch is in the image";

    QTest::mouseClick(searchRight, Qt::LeftButton);
    for (int index : {0, 1, 2, 3, 7, 8}) EXPECT_TRUE(window->toolbarButton(index)->isEnabled()) << index;
    window->pollSearchReports();
    EXPECT_EQ(rig.takeWrites().size(), 4u) << "the four stop frames, and no poll once stopped";
}

// A report the device sent before it heard the stop is a notch it placed:
// the editor must show it and acknowledge it, not drop it with the bytes an
// exchange finds waiting or ahead of its reply. The soak's last two missing
// reports went so. Disabled until the link takes whole reports during an
// exchange instead of dropping them (the mend belongs in DeviceLink::exchange
// and its reply takes).
TEST(MainWindowSearch, AReportSentBeforeTheDeviceHeardTheStopIsShownAndAcknowledged) {
    struct Case {
        const char* what;
        bool whileTheStopWaits;  // else: waiting whole when the stop is pressed
    };
    const Case cases[] = {
        {"waiting whole on the line when the stop is pressed", false},
        {"arriving ahead of the stop's reply", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::LoadedMainWindow loaded;
        ASSERT_TRUE(loaded.load());
        SimRig& rig = loaded.rig;
        app::MainWindow& window = *loaded.window;
        const app::Session& session = loaded.session;
        QPushButton* searchRight = window.editor().controls().searchButtons[2];
        QTest::mouseClick(searchRight, Qt::LeftButton);
        ASSERT_TRUE(window.editor().flags().searchRunning);
        rig.takeWrites();
        const Bytes report = rig.device.takeReport();  // the device places the notch as it sends it
        ASSERT_EQ(report.size(), 10u);
        bool delivered = !c.whileTheStopWaits;
        if (delivered) rig.port.deliver(report);
        rig.port.linePace = true;
        rig.port.duringWait = [&] {
            if (!std::exchange(delivered, true)) rig.port.deliver(report);
        };
        QTest::mouseClick(searchRight, Qt::LeftButton);
        rig.port.duringWait = nullptr;
        window.pollSearchReports();
        ASSERT_TRUE(delivered);

        int acks = 0;
        int stops = 0;
        for (const Bytes& f : rig.takeWrites()) {
            acks += f[2] == 0x30 ? 1 : 0;
            stops += f[2] == 0x0A ? 1 : 0;
        }
        EXPECT_EQ(acks, 1) << "the report acknowledged once";
        EXPECT_EQ(stops, 4);
        EXPECT_TRUE(
            std::equal(session.image.begin(), session.image.begin() + model::kBlockSize, rig.device.settings().begin()))
            << "the editor shows the notch the device placed";
    }
}

}  // namespace

namespace {

// A device that stops answering leaves the program running offline; once it
// answers again its settings are read, and only a difference is asked about.
TEST(MainWindowOffline, OfflineThenReconnectKeepsOrTakesTheSettings) {
    struct Case {
        const char* what;
        bool deviceChanged;
        std::vector<ui::Answer> answers;
        bool editorKept;  // false: the editor took the device's settings
    };
    const Case cases[] = {
        {"the same settings: nothing asked", false, {}, true},
        {"different, Yes sends the editor's", true, {ui::Answer::Yes}, true},
        {"different, No takes the device's", true, {ui::Answer::No}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        SimRig rig;
        app::Session session;
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        app::SplashWindow splash;
        app::MainWindow window(session, rig.link, rig.dialogs);
        ASSERT_TRUE(devlink::RunToEnd(window.load(splash)));
        ASSERT_EQ(window.connectionStatus(), "Connected: port 1 (/dev/qrn-sim)");

        rig.device.setMuted(true);
        window.editor().sendNotch(3);
        ASSERT_EQ(rig.end.messages, std::vector<std::string>{"Time out"});
        window.goOffline();
        EXPECT_EQ(window.connectionStatus(), "Offline: port 1 (/dev/qrn-sim) not answering, reconnecting");
        EXPECT_TRUE(window.reconnectTimer().isActive());
        window.tryReconnect();
        window.tryReconnect();
        EXPECT_TRUE(rig.link.ended()) << "a silent device is not back";

        rig.device.setMuted(false);
        if (c.deviceChanged) rig.port.peer(Frame({0x07, 0, 0, 0x00, 0xD5, 2, 9}));
        const model::PresetImage editorBefore = session.image;
        rig.dialogs.answers.assign(c.answers.begin(), c.answers.end());
        rig.dialogs.shown.clear();
        window.tryReconnect();
        window.pollSearchReports();
        EXPECT_FALSE(rig.link.ended());
        EXPECT_FALSE(window.reconnectTimer().isActive());
        EXPECT_EQ(window.connectionStatus(), "Connected: port 1 (/dev/qrn-sim)");
        EXPECT_EQ(rig.dialogs.shown.size(), c.answers.size());

        model::PresetImage device{};
        ASSERT_TRUE(devlink::RunToEnd(devlink::ReadPresetBlockInto(rig.link, devlink::kCurrentSettingsBlock, device)));
        EXPECT_TRUE(std::equal(device.begin(), device.begin() + 160, session.image.begin()))
            << "editor and device agree afterwards";
        EXPECT_EQ(std::equal(editorBefore.begin(), editorBefore.begin() + 160, session.image.begin()), c.editorKept);
    }
}

}  // namespace
