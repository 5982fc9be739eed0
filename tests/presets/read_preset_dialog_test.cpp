// The read dialog against the simulated device: the question, the one block
// read, the image and the title, and the reads that do nothing.
#include <gtest/gtest.h>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "preset_rig.h"
#include "presets/preset_list_panel.h"
#include "presets/read_preset_dialog.h"
#include "sim/factory_presets.h"

using namespace presets;
using namespace presets_test;
using testing_support::Hex;

namespace {

TEST(ReadPresetDialog, LoadListsTwentyNamesWithTheirNumbers) {
    PresetRig rig;
    rig.library.names[6] = U"Line\nTwo";
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Read Preset"));
    ASSERT_EQ(dialog.list()->count(), 20);
    EXPECT_EQ(dialog.list()->item(0)->text(), QStringLiteral("Preset01"));
    EXPECT_EQ(dialog.list()->item(4)->text(), QStringLiteral(" Empty  "));
    EXPECT_EQ(dialog.list()->item(6)->text(), QString::fromStdU32String(U"Line\u00B7Two"));
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    EXPECT_EQ(dialog.list()->toolTip(), QStringLiteral("Double click to load a preset"));
    EXPECT_EQ(dialog.presetList()->numberColumn()->text().split('\n').size(), 20);
    EXPECT_EQ(dialog.button(0)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.button(1)->text(), QStringLiteral("Read"));
    EXPECT_EQ(rig.library.names[6], U"Line\nTwo") << "the list shows, the library keeps";
}

TEST(ReadPresetDialog, UsedPositionIsReadWithOneBlockAndNothingSentBack) {
    PresetRig rig;
    const model::PresetImage stored = VariedImage(7);
    rig.storeInDevice(2, stored, "  PARTY ");
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    dialog.list()->setCurrentRow(6);
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    dialog.button(1)->click();

    ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
    const ui::Message& question = rig.sim.dialogs.shown[0];
    EXPECT_EQ(question.text, QStringLiteral("Overwrite current editing with the preset 7, are you sure ? "));
    EXPECT_EQ(question.title, QStringLiteral("Read Preset"));
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, ui::Answer::Yes);

    const auto frames = rig.sim.takeWrites();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Hex(frames[0]), "F0 5B 0B 06 00 00 00 00 00 F7");
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 160, rig.image.begin()));
    EXPECT_EQ(rig.editor.flags().channelsLinked, false);
    EXPECT_FALSE(rig.sim.link.flags().suppressSend);

    EXPECT_EQ(rig.library.presetTitle, U"7:   PARTY ");
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("7:   PARTY "));
    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from Device"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Reading Preset......"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rig.sim.dialogs.busyCount, 1);
    EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);
}

TEST(ReadPresetDialog, FixedPositionNeedsNoMarker) {
    PresetRig rig;
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    const QRect row = dialog.list()->visualItemRect(dialog.list()->item(2));
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_TRUE(rig.sim.dialogs.shown.empty()) << "a single click only selects";
    QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, row.center());

    ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.sim.dialogs.shown[0].text,
              QStringLiteral("Overwrite current editing with the preset 3, are you sure ? "));
    const auto frames = rig.sim.takeWrites();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Hex(frames[0]), "F0 5B 0B 02 00 00 00 00 00 F7");
    const auto& factory = sim::factoryPreset(2);
    // The editor gives the automatic rows the automatic width; every other
    // byte is the block's.
    for (int n = 0; n < 24; ++n) {
        const int r = model::NotchRecordOffset[n];
        EXPECT_EQ(rig.image[r], factory[r]) << "gain of notch " << n;
        EXPECT_EQ(rig.image[r + 1] * 256 + rig.image[r + 2], factory[r + 1] * 256 + factory[r + 2])
            << "frequency of notch " << n;
    }
    for (int offset : {0, 19, 20, 21, 27, 76, 77, 78, 79, 80, 100, 101, 156, 157, 158, 159})
        EXPECT_EQ(rig.image[offset], factory[offset]) << "byte " << offset;
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("3: Preset03"));
}

TEST(ReadPresetDialog, EmptyPositionOrNoAnswerChangesNothing) {
    struct Case {
        std::string what;
        int row;
        std::deque<ui::Answer> answers;
        QString box;
        std::function<void(PresetRig&)> link = {};
        QString after = {};  // what was not done, once the dialog has closed
        bool sends = false;
    };
    const auto offline = [](PresetRig& rig) {
        rig.sim.device.setMuted(true);
        rig.sim.link.sendCommand({0x0F, 0, 0, 0, 0, 0, 0});
        rig.sim.device.setMuted(false);
    };
    const auto silent = [](PresetRig& rig) { rig.sim.device.setMuted(true); };
    const std::vector<Case> cases = {
        {"unused position", 7, {}, "Preset empty"},
        {"last unused position", 19, {}, "Preset empty"},
        {"No to the question", 0, {ui::Answer::No}, "Overwrite current editing with the preset 1, are you sure ? "},
        {"link offline",
         0,
         {ui::Answer::Yes},
         "Overwrite current editing with the preset 1, are you sure ? ",
         offline,
         "Position 01 was not read."},
        {"device silent",
         2,
         {ui::Answer::Yes},
         "Overwrite current editing with the preset 3, are you sure ? ",
         silent,
         "Position 03 was not read.",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PresetRig rig;
        const model::PresetImage before = rig.image;
        rig.editor.setPresetSource("Preset loaded from PC");
        if (c.link) c.link(rig);
        rig.sim.takeWrites();
        ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
        dialog.show();
        dialog.list()->setCurrentRow(c.row);
        rig.sim.dialogs.answers = c.answers;
        dialog.button(1)->click();

        ASSERT_EQ(rig.sim.dialogs.shown.size(), c.after.isEmpty() ? 1u : 2u);
        EXPECT_EQ(rig.sim.dialogs.shown[0].text, c.box);
        EXPECT_EQ(rig.sim.dialogs.shown[0].title, QStringLiteral("Read Preset"));
        if (c.answers.empty()) {
            EXPECT_EQ(rig.sim.dialogs.shown[0].icon, ui::Icon::Critical);
        }
        if (!c.after.isEmpty()) {
            EXPECT_EQ(rig.sim.dialogs.shown[1].text, c.after);
            EXPECT_EQ(rig.sim.dialogs.shown[1].title, QStringLiteral("Read Preset"));
            EXPECT_EQ(rig.sim.dialogs.shown[1].icon, ui::Icon::Exclamation);
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
        } else {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Read Preset"));
        }
        EXPECT_EQ(rig.sim.takeWrites().empty(), !c.sends);
        EXPECT_EQ(dialog.isVisible(), c.after.isEmpty());
        EXPECT_EQ(rig.image, before);
        EXPECT_TRUE(rig.editor.presetTitle().isEmpty());
        EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from PC"));
        EXPECT_TRUE(rig.library.presetTitle.empty());
    }
}

TEST(ReadPresetDialog, DemoModeReappliesTheImageAndSetsTheTitle) {
    PresetRig rig;
    rig.sim.link.flags().demoMode = true;
    const model::PresetImage before = rig.image;
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    dialog.list()->setCurrentRow(1);
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    QTest::keyClick(dialog.list(), Qt::Key_Return);  // Enter reads
    EXPECT_TRUE(rig.sim.takeWrites().empty());
    EXPECT_EQ(rig.image, before);
    EXPECT_EQ(rig.editor.presetTitle(), QStringLiteral("2: Preset02"));
    EXPECT_EQ(rig.editor.presetSource(), QStringLiteral("Preset loaded from Device"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ReadPresetDialog, APortThatWillNotReopenIsSaidAndClosesTheDialog) {
    PresetRig rig;
    const model::PresetImage before = rig.image;
    rig.sim.port.refused[testing_support::kSimPortName] = devlink::PortFault::OpenFailed;
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    rig.sim.dialogs.answers = {ui::Answer::Yes};
    dialog.button(1)->click();

    ASSERT_EQ(rig.sim.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.sim.dialogs.shown[1].text,
              QStringLiteral("The preset could not be read: the device's port did not open again."));
    EXPECT_EQ(rig.sim.dialogs.shown[1].title, QStringLiteral("Read Preset"));
    EXPECT_EQ(rig.sim.dialogs.shown[1].icon, ui::Icon::Critical);
    EXPECT_TRUE(rig.sim.end.messages.empty());
    EXPECT_EQ(rig.image, before);
    EXPECT_TRUE(rig.editor.presetTitle().isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(ReadPresetDialog, EscapeCancels) {
    PresetRig rig;
    ReadPresetDialog dialog(rig.library, rig.image, rig.sim.link, rig.editor, rig.sim.dialogs);
    dialog.show();
    QTest::keyClick(dialog.list(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(rig.sim.takeWrites().empty());
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
}

}  // namespace
