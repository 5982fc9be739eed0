#pragma once
// A main window loaded from the simulated device, its start-up frames and
// questions already taken.
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "support/sim_rig.h"

namespace testing_support {

class MainWindowTest : public ::testing::Test {
protected:
    void start(bool demo = false) {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        window = std::make_unique<app::MainWindow>(session, rig.link, rig.dialogs);
        if (demo) {
            rig.device.setMuted(true);
            rig.dialogs.answers.push_back(ui::Answer::Yes);
        }
        ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
        rig.takeWrites();
        rig.dialogs.shown.clear();
    }
    void click(int index) { QTest::mouseClick(window->toolbarButton(index), Qt::LeftButton); }

    QTemporaryDir dir;
    SimRig rig;
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
};

// The same loaded window, one for each row of a table.
struct LoadedMainWindow {
    bool load() {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        window = std::make_unique<app::MainWindow>(session, rig.link, rig.dialogs);
        return devlink::RunToEnd(window->load(splash));
    }

    QTemporaryDir dir;
    SimRig rig;
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
};

}  // namespace testing_support
