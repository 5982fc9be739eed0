// A request that arrives while a transfer holds the device, the way an
// accessibility action or a queued call does (straight into the control,
// past any input filter, in the middle of the transfer's frames), never puts
// a frame between them and never opens a box that would stop them halfway.
#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/splash_window.h"
#include "editor/parameter_editor.h"
#include "presets/preset_file_io.h"
#include "presets/store_preset_dialog.h"
#include "support/sim_rig.h"

using namespace testing_support;

namespace {

enum class Transfer { LoadFile, Store };
enum class Press {
    StoreAction,
    ReadAction,
    RestoreAction,
    GainBar,
    TypedGain,
    StoreButton,
    EscapeInStore,
    Quit,
    Cancel,
    Nothing
};

constexpr int kPressAtFrame = 5;

struct Bench {
    Bench() {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        window = std::make_unique<app::MainWindow>(session, rig.link, rig.dialogs);
        EXPECT_TRUE(devlink::RunToEnd(window->load(splash)));
        rig.takeWrites();
        rig.dialogs.shown.clear();
    }
    QScrollBar* gainBar(int n) const { return window->editor().controls().rows.at(n).gainBar; }

    // Runs the transfer; on its fifth frame the press arrives. Returns the
    // frames that reached the device.
    std::vector<Bytes> run(Transfer transfer, Press press) {
        int frames = 0;
        rig.device.setFrameObserver([&](sim::Direction direction, std::span<const std::uint8_t>) {
            if (direction == sim::Direction::In && ++frames == kPressAtFrame) pressNow(press);
        });
        if (transfer == Transfer::LoadFile) {
            model::PresetImage file = session.image;
            model::WriteNotchRecord(file, 3, {20, 300, 1});
            model::WriteNotchRecord(file, 15, {25, 400, 2});
            const QString path = QDir(dir.path()).filePath("show.Fbk");
            EXPECT_FALSE(presets::WritePresetFile(path, file));
            window->openPresetFile(path);
        } else {
            store = std::make_unique<presets::StorePresetDialog>(session.library, session.image, rig.link,
                                                                 window->editor(), rig.dialogs, window.get());
            store->nameBox()->setText("Gig");
            store->show();
            store->storeToDevice();  // as the window's Store answered Yes does
            stored = store->result() == QDialog::Accepted;
        }
        rig.device.setFrameObserver({});
        busyText = window->statusBar()->currentMessage();
        return rig.takeWrites();
    }

    void pressNow(Press press) {
        const app::MainActions& a = window->actions();
        switch (press) {
        case Press::StoreAction: trigger(a.storePreset); break;
        case Press::ReadAction: trigger(a.readPreset); break;
        case Press::RestoreAction: trigger(a.restoreDevice); break;
        case Press::GainBar:
            gainBar(20)->setValue(gainBar(20)->value() - 7);
            gainAfterPress = gainBar(20)->value();
            break;
        case Press::TypedGain: {
            QLineEdit* box = window->editor().controls().rows.at(20).gainBox;
            box->setText("-12");
            QTest::keyClick(box, Qt::Key_Return);
            gainAfterPress = gainBar(20)->value();
            break;
        }
        case Press::StoreButton:
            if (store) {
                lockedAtPress = !store->button(1)->isEnabled() && !store->button(0)->isEnabled();
                store->button(1)->click();
            }
            break;
        case Press::EscapeInStore:
            QTest::keyClick(store.get(), Qt::Key_Escape);
            store->close();
            storeShownAfterPress = store->isVisible();
            break;
        case Press::Quit: a.quit->trigger(); break;
        case Press::Cancel: rig.link.cancelJobs(); break;  // what Quit's "Cancel it" does
        case Press::Nothing: break;
        }
        shownDuringTransfer = rig.dialogs.shown.size();
    }
    // An enabled action would open its modal window here and hang the
    // test; what must hold is that it is locked.
    void trigger(QAction* action) {
        lockedAtPress = !action->isEnabled();
        if (lockedAtPress) action->trigger();
    }

    QTemporaryDir dir;
    SimRig rig;
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<presets::StorePresetDialog> store;
    bool lockedAtPress = false;
    int gainAfterPress = -1;
    std::size_t shownDuringTransfer = 0;
    bool stored = false;
    bool storeShownAfterPress = false;
    QString busyText;
};

TEST(DeviceBusy, ARequestDuringATransferIsRefusedOrDeferredAndNothingGoesBetweenItsFrames) {
    struct Case {
        const char* what;
        Transfer transfer;
        Press press;
        const char* busyWith;  // in the refusal; empty: nothing said
    };
    const Case cases[] = {
        {"Store pressed during a file load", Transfer::LoadFile, Press::StoreAction, ""},
        {"Read pressed during a file load", Transfer::LoadFile, Press::ReadAction, ""},
        {"Restore pressed during a store", Transfer::Store, Press::RestoreAction, ""},
        {"a gain set during a file load", Transfer::LoadFile, Press::GainBar, "loading a preset file"},
        {"a gain set during a store", Transfer::Store, Press::GainBar, "storing a preset"},
        {"a gain typed during a file load", Transfer::LoadFile, Press::TypedGain, "loading a preset file"},
        {"a second Store during a store", Transfer::Store, Press::StoreButton, ""},
        {"Escape and the close box during a store", Transfer::Store, Press::EscapeInStore, "storing a preset"},
        {"Quit during a file load", Transfer::LoadFile, Press::Quit, ""},
        {"Quit during a store", Transfer::Store, Press::Quit, ""},
        {"a store cancelled", Transfer::Store, Press::Cancel, ""},
    };
    for (const Case& c : cases) {
        Bench alone;
        const std::vector<Bytes> expected = alone.run(c.transfer, Press::Nothing);
        ASSERT_GT(expected.size(), static_cast<std::size_t>(kPressAtFrame)) << c.what;

        Bench bench;
        const int gainBefore = bench.gainBar(20)->value();
        const bool cancel = c.press == Press::Cancel;
        if (c.press == Press::Quit) bench.rig.dialogs.answers = {ui::Answer::Yes};
        const std::vector<Bytes> frames = bench.run(c.transfer, c.press);
        if (cancel) {
            // The frame on the line when Cancel came is the last; the marker
            // never goes out, so the position is left unused, not half-written.
            ASSERT_EQ(frames.size(), static_cast<std::size_t>(kPressAtFrame)) << c.what;
            EXPECT_TRUE(std::equal(frames.begin(), frames.end(), expected.begin())) << c.what;
            EXPECT_FALSE(bench.stored) << c.what;
            EXPECT_FALSE(bench.session.library.used[model::kFixedPositions + 2]) << c.what;
        } else {
            EXPECT_EQ(frames, expected) << c.what << ": the transfer's frames, alone and in order";
        }
        EXPECT_EQ(bench.shownDuringTransfer, 0u) << c.what << ": no box opened inside the transfer";
        if (c.press == Press::StoreAction || c.press == Press::ReadAction || c.press == Press::RestoreAction ||
            c.press == Press::StoreButton) {
            EXPECT_TRUE(bench.lockedAtPress) << c.what;
        }
        if (c.press == Press::GainBar || c.press == Press::TypedGain) {
            EXPECT_EQ(bench.gainAfterPress, gainBefore) << c.what << ": the bar is put back";
            EXPECT_EQ(bench.gainBar(20)->value(), gainBefore) << c.what;
        }
        if (*c.busyWith) {
            EXPECT_EQ(bench.busyText, QStringLiteral("The device is busy %1. Try again when it has finished.")
                                          .arg(QString::fromLatin1(c.busyWith)))
                << c.what;
        }
        EXPECT_TRUE(bench.window->actions().storePreset->isEnabled()) << c.what << ": unlocked after";

        if (c.press == Press::EscapeInStore) {
            EXPECT_TRUE(bench.storeShownAfterPress) << "the window stays while its frames go on";
            EXPECT_TRUE(bench.stored) << "and its store ends with its marker";
        }
        if (c.press != Press::Quit) continue;
        // The close comes from the outer event loop once the transfer is
        // over, with the usual question, and only then is the link closed.
        EXPECT_FALSE(bench.window->quitRequested()) << c.what;
        QCoreApplication::processEvents();
        EXPECT_TRUE(bench.window->quitRequested()) << c.what;
        ASSERT_EQ(bench.rig.dialogs.shown.size(), 1u) << c.what;
        EXPECT_EQ(bench.rig.dialogs.shown[0].title, "Exit") << c.what;
        EXPECT_EQ(bench.rig.takeWrites(), std::vector<Bytes>{Frame({0x0F})}) << c.what << ": CloseLink, last";
    }
}

}  // namespace
