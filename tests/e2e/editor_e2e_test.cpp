// The whole program's path on the real serial port: start-up read of the
// simulated device into the editor, a feedback search whose reports show up
// live, and its stop.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest/QTest>

#include "app/main_window.h"
#include "app/report_watcher.h"
#include "app/splash_window.h"
#include "devlink/any_port.h"
#include "editor/parameter_editor.h"
#include "sim/memory_file.h"
#include "sim/simulator_thread.h"
#include "support/recording_link_end.h"
#include "support/scripted_dialogs.h"

namespace {

TEST(EditorEndToEnd, StartUpReadThenALiveSearchAndItsStop) {
    QTemporaryDir dir;
    const std::string memoryPath = dir.filePath("device.mem").toStdString();
    sim::DeviceMemory memory;
    memory.write(0x0030 + 2, 0x55);  // position 7
    for (int j = 0; j < 8; ++j) memory.write(0x0F30 + j, static_cast<std::uint8_t>(" LIVE   "[j]));
    std::string error;
    ASSERT_TRUE(sim::saveMemoryFile(memoryPath, memory, &error)) << error;
    sim::PtyOptions options;
    options.memoryFile = memoryPath;
    options.reportIntervalMs = 5;
    sim::SimulatorThread simulator;
    ASSERT_TRUE(simulator.start(options, &error)) << error;

    devlink::AnyPort port;
    devlink::SteadyClock clock;
    testing_support::RecordingLinkEnd end;
    devlink::PortTable table = devlink::PortTable::fromList(simulator.portPath(), ':');
    devlink::DeviceLink link(port, clock, end, table);
    testing_support::ScriptedDialogs dialogs;
    app::Session session;
    session.startDir = dir.path();
    session.applicationDir = dir.path();
    app::MainWindow window(session, link, dialogs);
    app::ReportWatcher watcher(port, link, [&window] { window.pollSearchReports(); });
    app::SplashWindow splash;
    ASSERT_TRUE(devlink::RunToEnd(window.load(splash)));
    EXPECT_EQ(session.library.names[6], U" LIVE   ");
    EXPECT_TRUE(session.library.used[6]);
    EXPECT_EQ(session.library.names[7], U" Empty  ");
    EXPECT_EQ(window.windowTitle(), "QRN4480 - feedback eliminator");

    const auto before = session.image;
    QPushButton* searchLeft = window.editor().controls().searchButtons[1];
    QTest::mouseClick(searchLeft, Qt::LeftButton);
    ASSERT_TRUE(window.editor().flags().searchRunning);
    EXPECT_FALSE(window.toolbarButton(app::kLoadPreset)->isEnabled());

    // Reports arrive through the event loop; wait until they moved a Left
    // automatic notch (the device places them at random frequencies).
    const int automaticRows = session.image[model::NumNotchAutoOffset[0]];
    const auto leftNotchMoved = [&] {
        for (int n = 0; n < automaticRows; ++n)
            if (model::ReadNotchRecord(session.image, n) != model::ReadNotchRecord(before, n)) return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(leftNotchMoved, 10000));
    for (int n = 12; n < 24; ++n)
        EXPECT_EQ(model::ReadNotchRecord(session.image, n), model::ReadNotchRecord(before, n)) << "Right untouched";

    QTest::mouseClick(searchLeft, Qt::LeftButton);
    EXPECT_FALSE(window.editor().flags().searchRunning);
    EXPECT_TRUE(window.toolbarButton(app::kLoadPreset)->isEnabled());
    EXPECT_TRUE(end.messages.empty());
}

}  // namespace
