// qrn4480-screenshots FOLDER: draws the main window during a feedback search
// (1280x800; a laptop's 1366x768 and a netbook's 1024x600 screen in the
// light and the dark theme) and the parameter editor on its own into
// FOLDER, on the simulated device, for the README and for a person to review.
// scripts/screenshots runs it.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cstdio>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/theme.h"
#include "editor/parameter_editor.h"
#include "model/value_tables.h"
#include "support/sim_rig.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

bool MainWindowDuringAFeedbackSearch(const QDir& folder) {
    QTemporaryDir dir;
    testing_support::SimRig rig;
    app::Session session;
    session.startDir = dir.path();
    session.applicationDir = dir.path();
    app::MainWindow window(session, rig.link, rig.dialogs);
    app::SplashWindow splash;
    if (!devlink::RunToEnd(window.load(splash))) {
        std::fputs("the main window did not load from the simulated device\n", stderr);
        return false;
    }
    // A search in progress, with the notches the device has placed so far.
    QTest::mouseClick(window.editor().controls().searchButtons[0], Qt::LeftButton);
    for (int i = 0; i < 14 && rig.deliverReport(); ++i) window.pollSearchReports();
    struct Shot {
        QSize size;
        app::Theme theme;
        const char* suffix;
    };
    const Shot shots[] = {
        {{1280, 800}, app::Theme::Light, ""},     {{1366, 768}, app::Theme::Light, ""},
        {{1366, 768}, app::Theme::Dark, "-dark"}, {{1024, 600}, app::Theme::Light, ""},
        {{1024, 600}, app::Theme::Dark, "-dark"},
    };
    bool saved = true;
    for (const Shot& shot : shots) {
        app::ApplyTheme(shot.theme);
        window.resize(shot.size);
        window.show();
        QApplication::processEvents();
        saved &=
            Save(window, folder,
                 QString("main-window-%1x%2%3.png").arg(shot.size.width()).arg(shot.size.height()).arg(shot.suffix));
    }
    app::ApplyTheme(app::Theme::Light);
    return saved;
}

// The editor alone with six automatic notches placed and a device preset's title.
bool ParameterEditorWithAutomaticNotches(const QDir& folder) {
    testing_support::SimRig rig;
    rig.connect();
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    image[76] = 6, image[156] = 9;
    const int codes[] = {120, 300, 413, 560, 640, 700};
    for (int k = 6; k < 12; ++k) {
        const int r = model::NotchRecordOffset[k];
        image[r] = static_cast<std::uint8_t>(10 + 5 * (k - 6));
        image[r + 1] = static_cast<std::uint8_t>(codes[k - 6] >> 8);
        image[r + 2] = static_cast<std::uint8_t>(codes[k - 6] & 0xFF);
        image[r + 3] = static_cast<std::uint8_t>(k % 4);
    }
    image[152] = 0, image[153] = 0x01, image[154] = 0x9D, image[155] = 0;
    editor::ParameterEditor editor(image, rig.link, rig.dialogs);
    editor.fillFromImage();
    editor.showPresetTitle("5: Stage   ");
    editor.setPresetSource("Preset loaded from Device");
    editor.resize(1280, 680);
    editor.show();
    QApplication::processEvents();
    return Save(editor, folder, "parameter-editor-1280x680.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("Usage: qrn4480-screenshots FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "qrn4480-screenshots: no folder %s\n", argv[1]);
        return 2;
    }
    const bool mainWindow = MainWindowDuringAFeedbackSearch(folder);
    const bool editor = ParameterEditorWithAutomaticNotches(folder);
    return mainWindow && editor ? 0 : 1;
}
