// One runner for core and widget tests: a QApplication on the offscreen
// platform exists for every suite, so widget tests need no set-up of their own.
// Each run gets a home and a settings folder of its own, so that no test reads
// or writes the user's settings and documents.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// A test that ends the program (Quit answered Yes calls QApplication::exit)
// leaves every event loop started afterwards to return at once, until the
// application's own loop runs again: a later test's dialog would close
// before it is answered. One turn of that loop after each test clears it.
class EndedProgramReset final : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(home.path()).filePath(".config")));
    QApplication app(argc, argv);
    QApplication::setOrganizationName("qrn4480-tests");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new EndedProgramReset);
    return RUN_ALL_TESTS();
}
