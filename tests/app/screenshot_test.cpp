// Saves pictures of the main window for the README and for review; runs only
// when QRN_SCREENSHOT_DIR names a folder (scripts/screenshots).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "editor/parameter_editor.h"
#include "support/sim_rig.h"

namespace {

TEST(Screenshot, MainWindowDuringAFeedbackSearch) {
    const QString folder = qEnvironmentVariable("QRN_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "QRN_SCREENSHOT_DIR not set";
    QTemporaryDir dir;
    testing_support::SimRig rig;
    app::Session session;
    session.startDir = dir.path();
    session.applicationDir = dir.path();
    app::MainWindow window(session, rig.link, rig.dialogs);
    app::SplashWindow splash;
    ASSERT_TRUE(window.load(splash));
    // A search in progress, with the notches the device has placed so far.
    QTest::mouseClick(window.editor().controls().searchButtons[0], Qt::LeftButton);
    for (int i = 0; i < 14 && rig.deliverReport(); ++i) window.pollSearchReports();
    for (const QSize size : {QSize(1280, 800), QSize(800, 600)}) {
        window.resize(size);
        window.show();
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(QString("main-window-%1x%2.png").arg(size.width()).arg(size.height()));
        EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
    }
}

}  // namespace
