// The store dialog against the simulated device: every frame of a store in
// order, the progress bar, the lists and the title, and the stores that must
// write nothing.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "preset_rig.h"
#include "presets/preset_texts.h"
#include "presets/read_preset_dialog.h"
#include "presets/store_preset_dialog.h"

using namespace presets;
using namespace presets_test;
using testing_support::Frame;
using testing_support::Hex;

namespace {

Bytes WriteFrame(int address, std::uint8_t data) {
    return Frame({0x11, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF), 0, data});
}

struct ProgressTrace {
    std::vector<int> valueAtFrame;  // the bar's value when each frame reached the device
    std::vector<bool> shownAtFrame;
    // The window gets no events during a store, so the bar must appear where
    // the dialog already left room for it, without moving or resizing a thing.
    std::vector<bool> laidOutAtFrame;
};

ProgressTrace TraceProgress(PresetRig& rig, StorePresetDialog& dialog) {
    ProgressTrace trace;
    const QSize size = dialog.size();
    const QRect store = dialog.button(1)->geometry();
    const QRect bar = dialog.progressBar()->geometry();
    rig.sim.device.setFrameObserver(
        [&trace, &dialog, size, store, bar](sim::Direction dir, std::span<const std::uint8_t>) {
            if (dir != sim::Direction::In) return;
            trace.valueAtFrame.push_back(dialog.progressBar()->value());
            trace.shownAtFrame.push_back(dialog.progressBar()->isVisible());
            trace.laidOutAtFrame.push_back(dialog.size() == size && dialog.button(1)->geometry() == store &&
                                           dialog.progressBar()->geometry() == bar && !bar.isEmpty() &&
                                           dialog.rect().contains(bar));
        });
    return trace;
}

TEST(StorePresetDialog, LoadShowsSixteenPositionsAndTheFirstName) {
    PresetRig rig;
    rig.library.names[4] = U"First   ";
    StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Store preset"));
    EXPECT_EQ(dialog.list()->count(), 16);
    EXPECT_EQ(dialog.list()->item(1)->text(), QStringLiteral(" Empty  "));
    EXPECT_EQ(dialog.list()->toolTip(), QStringLiteral("Double click to select a preset"));
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    EXPECT_EQ(dialog.nameBox()->text(), QStringLiteral("First   "));
    EXPECT_EQ(dialog.positionBox()->count(), 16);
    EXPECT_EQ(dialog.positionBox()->itemText(0), QStringLiteral("05"));
    EXPECT_EQ(dialog.positionBox()->itemText(15), QStringLiteral("20"));
    EXPECT_EQ(dialog.positionBox()->currentText(), QStringLiteral("05"));
    EXPECT_EQ(dialog.button(0)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.button(1)->text(), QStringLiteral("Store"));
    EXPECT_FALSE(dialog.progressBar()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_TRUE(rig.sim.takeWrites().empty());
}

TEST(StorePresetDialog, StoreAtPositionSevenWritesDataNameThenMarker) {
    PresetRig rig;
    rig.image[160] = 0xEE;
    StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    ProgressTrace trace = TraceProgress(rig, dialog);
    dialog.positionBox()->setCurrentIndex(2);
    dialog.nameBox()->setText("PARTY");
    rig.sim.dialogs.answers = {ui::Answer::Yes};

    dialog.button(1)->click();

    const auto& asked = rig.sim.dialogs.shown;
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("               Are you sure ? "));
    EXPECT_EQ(asked[0].title, QStringLiteral("Store Preset"));
    EXPECT_EQ(asked[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(asked[0].defaultButton, ui::Answer::Yes);

    // Every frame of a store is checked in preset_transfer_test; here that
    // Combo1's third item and the typed name are what goes out.
    const auto frames = rig.sim.takeWrites();
    ASSERT_EQ(frames.size(), 169u);
    EXPECT_EQ(Hex(frames[160]), Hex(WriteFrame(0x0F30, ' ')));
    EXPECT_EQ(Hex(frames[162]), Hex(WriteFrame(0x0F32, 'P')));
    EXPECT_EQ(Hex(frames[168]), "F0 5B 11 00 32 00 55 00 00 F7");

    // One step per data or name byte, the bar shown throughout, gone after.
    ASSERT_EQ(trace.valueAtFrame.size(), 169u);
    for (int f = 0; f < 169; ++f) EXPECT_EQ(trace.valueAtFrame[f], f) << "frame " << f;
    EXPECT_EQ(std::count(trace.shownAtFrame.begin(), trace.shownAtFrame.end(), true), 169);
    EXPECT_EQ(std::count(trace.laidOutAtFrame.begin(), trace.laidOutAtFrame.end(), true), 169);
    EXPECT_EQ(dialog.progressBar()->maximum(), 171);
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_FALSE(dialog.progressBar()->isVisibleTo(&dialog));

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rig.sim.dialogs.busyCount, 1);
    EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("7: PARTY"));
    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from Device"));
    EXPECT_EQ(rig.image[160], 0xEE);

    // Both dialogs list the new name as typed from now on.
    ReadPresetDialog read(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    EXPECT_EQ(read.list()->item(6)->text(), QStringLiteral("PARTY"));
    StorePresetDialog again(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    EXPECT_EQ(again.list()->item(2)->text(), QStringLiteral("PARTY"));
    EXPECT_TRUE(rig.sim.takeWrites().empty());
}

TEST(StorePresetDialog, DemoModeSendsNothingButUpdatesListsProgressAndTitle) {
    PresetRig rig;
    rig.sim.link.flags().demoMode = true;
    StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    std::vector<int> values;
    QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged, [&values](int v) { values.push_back(v); });
    dialog.positionBox()->setCurrentIndex(15);
    dialog.nameBox()->setText("Last one");
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    dialog.button(1)->click();

    EXPECT_TRUE(rig.sim.takeWrites().empty());
    EXPECT_EQ(rig.sim.memory.read(0x003F), 0xFF);
    ASSERT_EQ(values.size(), 169u) << "168 steps up and the reset";
    EXPECT_EQ(values[167], 168);
    EXPECT_EQ(values.back(), 0);
    EXPECT_TRUE(rig.library.used[19]);
    EXPECT_EQ(rig.library.names[19], U"Last one");
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("20: Last one"));
    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from Device"));
}

TEST(StorePresetDialog, RefusedStoresWriteNothingAndKeepTheDialogOpen) {
    struct Case {
        std::string what;
        QString position;
        QString name;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"a position typed over the items", "21", "PARTY", kNoPositionSelected},
        {"a position without its zero", "7", "PARTY", kNoPositionSelected},
        {"no position at all", "", "PARTY", kNoPositionSelected},
        {"a name outside Latin-1", "07", QString::fromUtf8("Σound"), kNameNotStorable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PresetRig rig;
        const model::PresetLibrary before = rig.library;
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        dialog.positionBox()->setEditText(c.position);
        dialog.nameBox()->setText(c.name);
        dialog.button(1)->click();

        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u) << "the refusal, and no question";
        EXPECT_EQ(rig.sim.dialogs.shown[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(rig.sim.dialogs.shown[0].title, QStringLiteral("Store Preset"));
        EXPECT_TRUE(rig.sim.takeWrites().empty());
        EXPECT_EQ(rig.library.names, before.names);
        EXPECT_EQ(rig.library.used, before.used);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.progressBar()->isVisibleTo(&dialog));
        EXPECT_FALSE(dialog.storeToDevice()) << "called directly it refuses the same way";
        EXPECT_TRUE(rig.sim.takeWrites().empty());
    }
}

TEST(StorePresetDialog, NoKeepsTheDialogOpenAndSendsNothing) {
    PresetRig rig;
    StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    rig.sim.dialogs.answers = {ui::Answer::No};
    dialog.button(1)->click();
    EXPECT_EQ(rig.sim.dialogs.shown.size(), 1u);
    EXPECT_TRUE(rig.sim.takeWrites().empty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(rig.library.used[4]);
    EXPECT_EQ(rig.sim.dialogs.busyCount, 0);
}

TEST(StorePresetDialog, DoubleClickCopiesTheNameAndPositionSingleClickDoesNot) {
    PresetRig rig;
    rig.library.names[9] = U"Choir\x01 A";  // a control byte from the device
    rig.library.used[9] = true;
    StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    QListWidget* list = dialog.list();
    EXPECT_EQ(list->item(5)->text(), QString::fromStdU32String(U"Choir\u00B7 A")) << "shown safely";

    const QRect row = list->visualItemRect(list->item(5));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(list->currentRow(), 5);
    EXPECT_EQ(dialog.positionBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.nameBox()->text(), QStringLiteral(" Empty  "));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(dialog.positionBox()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(dialog.nameBox()->text(), QString::fromStdU32String(U"Choir\x01 A")) << "kept byte for byte";

    // Stored again, the control byte goes back to the device unchanged.
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    dialog.button(1)->click();
    const auto frames = rig.sim.takeWrites();
    ASSERT_EQ(frames.size(), 170u) << "a used position is marked unused first";
    EXPECT_EQ(Hex(frames[0]), Hex(WriteFrame(0x0030 + 5, 0xFF)));
    EXPECT_EQ(Hex(frames[166]), Hex(WriteFrame(0x0F20 + 8 * 5 + 5, 0x01)));
    EXPECT_EQ(rig.library.names[9], U"Choir\x01 A");
    EXPECT_EQ(rig.editor.presetTitle(), QString::fromStdU32String(U"10: Choir\u00B7 A"));
}

TEST(StorePresetDialog, KeyboardEnterPicksOrStoresEscapeCancels) {
    {
        PresetRig rig;
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        dialog.nameBox()->setText("KEYS");
        rig.sim.dialogs.answers = {ui::Answer::Yes};
        QTest::keyClick(dialog.nameBox(), Qt::Key_Return);
        EXPECT_EQ(rig.sim.takeWrites().size(), 169u);
        EXPECT_EQ(rig.library.names[4], U"KEYS");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        // Enter on a list entry picks it as a double-click does; it does not
        // store at the position Combo1 happened to show.
        PresetRig rig;
        rig.library.names[9] = U"Choir";
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        dialog.list()->setFocus();
        for (int i = 0; i < 5; ++i) QTest::keyClick(dialog.list(), Qt::Key_Down);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(dialog.list(), key);
        EXPECT_EQ(dialog.nameBox()->text(), QStringLiteral("Choir"));
        EXPECT_EQ(dialog.positionBox()->currentText(), QStringLiteral("10"));
        EXPECT_TRUE(rig.sim.dialogs.shown.empty());
        EXPECT_TRUE(rig.sim.takeWrites().empty());
        EXPECT_TRUE(dialog.isVisible());
    }
    {
        PresetRig rig;
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        QTest::keyClick(dialog.positionBox(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(rig.sim.takeWrites().empty());
        EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    }
}

TEST(StorePresetDialog, ADeviceLostMidStoreHidesTheBarKeepsTheTitleAndSaysWhatItCost) {
    struct Case {
        const char* what;
        int answered;  // memory writes the device answers: 160 data, 8 name, then the marker
        const char* says;
    };
    const Case cases[] = {
        {"in the data", 10, "Position 07 was not stored."},
        {"at the used marker, every byte written", 168,
         "Position 07 may not have been stored: every byte was written, but the device did not confirm it."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PresetRig rig;
        int writes = 0;
        rig.sim.device.setMemoryWriteObserver([&](int) {
            if (++writes == c.answered) rig.sim.device.setMuted(true);  // from the next frame on
        });
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        dialog.positionBox()->setCurrentIndex(2);
        dialog.nameBox()->setText("LOST");
        rig.sim.dialogs.answers = {ui::Answer::Yes};
        dialog.button(1)->click();

        ASSERT_EQ(rig.sim.end.messages, std::vector<std::string>{"Time out"});
        EXPECT_FALSE(rig.library.used[6]);
        EXPECT_TRUE(rig.editor.presetTitle().isEmpty());
        EXPECT_FALSE(dialog.progressBar()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.progressBar()->value(), 0);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 2u) << "the question, then what the store came to";
        EXPECT_EQ(rig.sim.dialogs.shown[1].text, QString::fromLatin1(c.says));
    }
}

}  // namespace

// "Write only changed bytes and verify": off at first, remembered once
// turned on, and then a store over the same preset sends the block read
// alone, one over a changed byte that byte between unmark and marker; the
// dialog says what the reading back found.
TEST(StorePresetDialog, ChangedBytesOptionWritesWhatDiffersAndReportsTheVerification) {
    struct Case {
        const char* what;
        int changedByte;  // -1: the device holds the image already
        std::vector<Bytes> frames;
        const char* report;
    };
    const Bytes readBlock = Frame({0x0B, 6});
    const Case cases[] = {
        {"nothing differs", -1, {readBlock}, "Position 07: Stored and verified (0 bytes written, 168 skipped)."},
        {"one byte differs",
         40,
         {readBlock, WriteFrame(0x0032, 0xFF), WriteFrame(0x0260 + 40, 0x00), WriteFrame(0x0032, 0x55), readBlock},
         "Position 07: Stored and verified (1 byte written, 167 skipped)."},
    };
    for (const Case& c : cases) {
        PresetRig rig;
        rig.storeInDevice(2, rig.image, "  PARTY ");
        if (c.changedByte >= 0) rig.image[c.changedByte] = 0x00;
        StorePresetDialog first(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        EXPECT_EQ(first.changedBytesBox()->text(), QStringLiteral("Write only changed bytes and verify"));
        first.changedBytesBox()->setChecked(true);
        StorePresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        EXPECT_TRUE(dialog.changedBytesBox()->isChecked()) << c.what;
        dialog.positionBox()->setCurrentIndex(2);
        dialog.nameBox()->setText("PARTY");
        rig.sim.dialogs.answers = {ui::Answer::Yes};

        dialog.button(1)->click();

        const auto frames = rig.sim.takeWrites();
        ASSERT_EQ(frames.size(), c.frames.size()) << c.what;
        for (std::size_t f = 0; f < frames.size(); ++f) EXPECT_EQ(Hex(frames[f]), Hex(c.frames[f])) << c.what;
        ASSERT_EQ(rig.sim.dialogs.shown.size(), 2u) << c.what;
        EXPECT_EQ(rig.sim.dialogs.shown[1].text, QString::fromLatin1(c.report)) << c.what;
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("7: PARTY")) << c.what;
        dialog.changedBytesBox()->setChecked(false);
    }
    PresetRig rig;
    EXPECT_FALSE(StorePresetDialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs)
                     .changedBytesBox()
                     ->isChecked());
}
