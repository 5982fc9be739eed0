#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/main_window.h"
#include "app/settings_autosave.h"
#include "app/splash_window.h"
#include "editor/parameter_editor.h"
#include "presets/autosave_file.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

const QString kCaption = "QRN4480 - feedback eliminator";

struct Shell {
    explicit Shell(bool demo = false, bool keepSettings = false) {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        if (keepSettings) session.autosavePath = keptPath();
        session.autosaveDelayMs = 1;  // the real timer, shortened
        window = std::make_unique<app::MainWindow>(session, rig.link, rig.dialogs);
        if (demo) {
            rig.device.setMuted(true);
            rig.dialogs.answers.push_back(ui::Answer::Yes);
        }
    }
    void start() {
        ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
        rig.takeWrites();
        rig.dialogs.shown.clear();
    }
    QString keptPath() const { return QDir(dir.path()).filePath("data/kept.qrna"); }
    QScrollBar* gainBar(int n) const { return window->editor().controls().rows.at(n).gainBar; }
    QStringList titles() const {
        QStringList list;
        for (const auto& m : rig.dialogs.shown) list << m.title;
        return list;
    }

    QTemporaryDir dir;
    SimRig rig;
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
};

model::PresetImage Changed(const model::PresetImage& image) {
    model::PresetImage changed = image;
    model::WriteNotchRecord(changed, 20, {12, 500, 2});
    changed[79] = changed[79] == 3 ? 4 : 3;
    return changed;
}

}  // namespace

// The marker follows the settings' content against the last ones kept.
TEST(UnsavedSettings, TitleEndsInAStarWhileTheSettingsDifferFromTheKeptOnes) {
    struct Case {
        const char* what;
        bool demo;
        std::function<void(Shell&)> act;
        QString title;
    };
    const Case cases[] = {
        {"nothing changed", false, [](Shell&) {}, kCaption},
        {"a gain edited", false, [](Shell& s) { s.gainBar(20)->setValue(3); }, kCaption + " *"},
        {"the old value put back", false,
         [](Shell& s) {
             const int old = s.gainBar(20)->value();
             s.gainBar(20)->setValue(3);
             s.gainBar(20)->setValue(old);
         },
         kCaption},
        {"the edit undone", false,
         [](Shell& s) {
             s.gainBar(20)->setValue(3);
             s.window->editor().history().undoAction()->trigger();
         },
         kCaption},
        {"saved to a file", false,
         [](Shell& s) {
             s.gainBar(20)->setValue(3);
             s.rig.dialogs.fileNames = {QDir(s.dir.path()).filePath("saved.Fbk")};
             s.window->onToolbarButton(app::kSavePreset);
         },
         kCaption},
        {"the device's preset stored or read", false,
         [](Shell& s) {
             s.gainBar(20)->setValue(3);
             s.window->editor().setPresetSource("Preset loaded from Device");
         },
         kCaption},
        {"an edit in demo mode", true, [](Shell& s) { s.gainBar(20)->setValue(3); }, kCaption + " - demo mode *"},
    };
    for (const auto& c : cases) {
        Shell shell(c.demo);
        shell.start();
        c.act(shell);
        EXPECT_EQ(shell.window->windowTitle(), c.title) << c.what;
    }
}

// Save, Discard or Cancel first, then the existing exit question.
TEST(UnsavedSettings, ClosingAsksToSaveUnsavedSettingsBeforeTheExitQuestion) {
    using ui::Answer;
    struct Case {
        const char* what;
        bool edited;
        std::deque<Answer> answers;
        QString fileName;
        bool closes;
        QStringList asked;
        bool saved;
    };
    const QStringList both = {"Unsaved settings", "Exit"};
    const Case cases[] = {
        {"nothing to save", false, {Answer::Yes}, "", true, {"Exit"}, false},
        {"Cancel stays", true, {Answer::Cancel}, "", false, {"Unsaved settings"}, false},
        {"Discard, then No stays", true, {Answer::Discard, Answer::No}, "", false, both, false},
        {"Discard, then Yes ends", true, {Answer::Discard, Answer::Yes}, "", true, both, false},
        {"Save to a file, then Yes ends", true, {Answer::Save, Answer::Yes}, "out.Fbk", true, both, true},
        {"Save, but no file chosen, stays", true, {Answer::Save}, "", false, {"Unsaved settings"}, false},
    };
    for (const auto& c : cases) {
        Shell shell;
        shell.start();
        if (c.edited) shell.gainBar(20)->setValue(3);
        shell.rig.takeWrites();
        const QString path = QDir(shell.dir.path()).filePath("out.Fbk");
        shell.rig.dialogs.answers = c.answers;
        shell.rig.dialogs.fileNames = {c.fileName.isEmpty() ? QString() : path};
        EXPECT_EQ(shell.window->close(), c.closes) << c.what;
        EXPECT_EQ(shell.titles(), c.asked) << c.what;
        EXPECT_EQ(QFile::exists(path), c.saved) << c.what;
        if (c.edited) {
            EXPECT_EQ(shell.rig.dialogs.shown[0].buttons, ui::Buttons::SaveDiscardCancel) << c.what;
            EXPECT_EQ(shell.rig.dialogs.shown[0].defaultButton, Answer::Save) << c.what;
        }
        const auto frames = shell.rig.takeWrites();
        EXPECT_EQ(frames.size(), c.closes ? 1u : 0u) << c.what << ": CloseLink only on leaving";
    }
}

// Settings left behind by a run that did not end are offered at the next
// start; the user's answer decides, and the file is gone afterwards.
TEST(UnsavedSettings, KeptSettingsFromACrashAreOfferedAtTheNextStart) {
    enum class Kept { None, Same, Different, Damaged };
    struct Case {
        const char* what;
        bool demo;
        Kept kept;
        std::deque<ui::Answer> answers;
        const char* asked;  // the end of the question or box; empty: nothing shown
        bool taken;
    };
    const Case cases[] = {
        {"no file", false, Kept::None, {}, "", false},
        {"the same settings", false, Kept::Same, {}, "", false},
        {"different, Yes sends them", false, Kept::Different, {ui::Answer::Yes}, "Send them to the device?", true},
        {"different, No keeps the device's",
         false,
         Kept::Different,
         {ui::Answer::No},
         "Send them to the device?",
         false},
        {"demo mode opens them", true, Kept::Different, {ui::Answer::Yes}, "Open them in the editor?", true},
        {"a damaged file is named", false, Kept::Damaged, {}, "the file is damaged.", false},
    };
    for (const auto& c : cases) {
        Shell shell(c.demo, true);
        model::PresetImage device = shell.session.image;
        {
            // What the start-up will read: the device's, or the default preset in demo mode.
            Shell probe(c.demo);
            probe.start();
            device = probe.session.image;
        }
        const model::PresetImage kept = c.kept == Kept::Same ? device : Changed(device);
        if (c.kept != Kept::None) {
            ASSERT_TRUE(presets::WriteAutosave(shell.keptPath(), kept));
        }
        if (c.kept == Kept::Damaged) {
            QFile file(shell.keptPath());
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.seek(50);
            file.write("\x7F", 1);
        }
        shell.rig.dialogs.answers.insert(shell.rig.dialogs.answers.end(), c.answers.begin(), c.answers.end());
        ASSERT_TRUE(devlink::RunToEnd(shell.window->load(shell.splash))) << c.what;
        const auto frames = shell.rig.takeWrites();
        QStringList shown = shell.rig.dialogs.texts();
        if (c.demo) shown.removeFirst();  // the demo mode question
        if (*c.asked) {
            ASSERT_EQ(shown.size(), 1) << c.what;
            EXPECT_TRUE(shown[0].endsWith(c.asked)) << c.what << ": " << shown[0].toStdString();
            if (c.kept == Kept::Different) {
                EXPECT_TRUE(shown[0].contains("\n\nWhat differs:\nRight notch 9: ") && shown[0].contains(" kept, "))
                    << c.what << ": what taking them would change";
            }
        } else {
            EXPECT_TRUE(shown.isEmpty()) << c.what;
        }
        if (c.kept == Kept::Damaged) {
            EXPECT_TRUE(shown.value(0).startsWith(shell.keptPath())) << c.what;
        }
        EXPECT_EQ(shell.session.image, c.taken ? kept : device) << c.what;
        EXPECT_EQ(shell.window->windowTitle().endsWith(" *"), c.taken) << c.what;
        if (c.taken) {
            EXPECT_EQ(shell.window->editor().history().undoAction()->text(), "Undo Recover kept settings") << c.what;
        }
        const bool notchesSent =
            std::any_of(frames.begin(), frames.end(), [](const Bytes& f) { return f.size() > 2 && f[2] == 0x07; });
        EXPECT_EQ(c.taken && !c.demo, notchesSent) << c.what << ": sent to the device";
        EXPECT_EQ(QFile::exists(shell.keptPath()), false) << c.what;
    }
}

TEST(UnsavedSettings, EveryChangeIsKeptByTheTimerAndANormalExitRemovesTheFile) {
    Shell shell(false, true);
    shell.start();
    shell.gainBar(20)->setValue(3);
    EXPECT_FALSE(QFile::exists(shell.keptPath())) << "written when the delay is over, not at the change";
    // Nothing but the event loop writes it: the timer must fire and write.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(shell.keptPath()); }, 5000));
    const auto kept = presets::ReadAutosave(shell.keptPath());
    ASSERT_TRUE(kept && std::holds_alternative<model::PresetImage>(*kept));
    EXPECT_EQ(std::get<model::PresetImage>(*kept), shell.session.image);

    shell.rig.dialogs.answers = {ui::Answer::Discard, ui::Answer::Yes};
    EXPECT_TRUE(shell.window->close());
    EXPECT_FALSE(QFile::exists(shell.keptPath()));
}

// A file that cannot be written is said once in the status bar, not at
// every change, and again only after a write has worked.
TEST(UnsavedSettings, SettingsThatCannotBeKeptAreSaidOnce) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const model::PresetImage image{};
    app::SettingsAutosave autosave(image, dir.filePath("not-a-folder/kept-settings.qrna"), 1000);
    QStringList said;
    QObject::connect(&autosave, &app::SettingsAutosave::keepFailed, [&said](const QString& text) { said << text; });
    for (int i = 0; i < 2; ++i) {
        autosave.schedule();
        EXPECT_FALSE(autosave.flush());
    }
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith("The settings could not be kept in ")) << said[0].toStdString();
}
