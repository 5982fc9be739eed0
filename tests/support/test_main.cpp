// One runner for core and widget tests: a QApplication on the offscreen
// platform exists for every suite, so widget tests need no set-up of their own.
// Each run gets a home and a settings folder of its own, so that no test reads
// or writes the user's settings and documents.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath(".config")));
    QApplication app(argc, argv);
    QApplication::setOrganizationName("qrn4480-tests");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
