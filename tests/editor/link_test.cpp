#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "editor_rig.h"

using namespace editor_test;

namespace {

const QString kQuestion =
    "      You requested to Link channel Left & Right  \r\n"
    "        This will copy channel Left to Right     \r\n"
    "                     confirm?                    ";

QCheckBox* LinkBox(const EditorRig& rig) { return rig.eq->controls().linkBox; }

// Left and Right differ in a notch and in an automatic setting.
model::PresetImage Different() {
    auto image = DefaultPreset();
    image[28 + 4 * 11] = 20;
    image[76] = 5;
    return image;
}

}  // namespace

// The halves are compared when the box is clicked; the periodic comparison's
// flag may be stale either way.
TEST(linkChannels, EqualHalvesLinkAtOnceWithoutAQuestion) {
    EditorRig rig;
    rig.load(Different());
    rig.eq->checkChannelsDiffer();
    rig.loadDefaults();
    LinkBox(rig)->click();
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
    EXPECT_TRUE(rig.eq->flags().channelsLinked);
    EXPECT_TRUE(LinkBox(rig)->isChecked());
    EXPECT_TRUE(rig.frames().empty());

    LinkBox(rig)->click();
    EXPECT_FALSE(rig.eq->flags().channelsLinked);
    EXPECT_FALSE(LinkBox(rig)->isChecked());
    EXPECT_TRUE(rig.frames().empty());
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
}

TEST(linkChannels, DifferentHalvesAskNoLeavesThemUnlinkedYesCopiesLeftToRight) {
    for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
        const bool yes = answer == ui::Answer::Yes;
        SCOPED_TRACE(yes);
        EditorRig rig;
        rig.loadDefaults();
        rig.eq->checkChannelsDiffer();
        rig.load(Different());
        rig.sim.dialogs.answers.push_back(answer);
        LinkBox(rig)->click();

        ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
        const ui::Message& q = rig.sim.dialogs.shown[0];
        EXPECT_EQ(q.text, kQuestion);
        EXPECT_EQ(q.title, "Link Left & Right");
        EXPECT_EQ(q.buttons, ui::Buttons::YesNo);
        EXPECT_EQ(q.icon, ui::Icon::None);
        EXPECT_EQ(rig.eq->flags().channelsLinked, yes);
        EXPECT_EQ(LinkBox(rig)->isChecked(), yes);
        EXPECT_EQ(rig.sim.dialogs.busyCount, yes ? 1 : 0);
        EXPECT_EQ(rig.sim.dialogs.busyDepth, 0);

        // What the copy alone does to the same preset.
        EditorRig copied;
        copied.load(Different());
        if (yes) devlink::RunToEnd(copied.eq->copyLeftToRight());
        EXPECT_EQ(Dump(rig.frames()), Dump(copied.frames()));
        EXPECT_EQ(rig.image, copied.image);
        EXPECT_EQ(std::equal(rig.image.begin() + 28, rig.image.begin() + 80, rig.image.begin() + 108), yes);
    }
}

TEST(linkChannels, APresetAppliedToTheEditorClearsTheBoxWithoutAsking) {
    EditorRig rig;
    rig.loadDefaults();
    LinkBox(rig)->click();
    ASSERT_TRUE(rig.eq->flags().channelsLinked);
    rig.load(Different());
    EXPECT_FALSE(LinkBox(rig)->isChecked());
    EXPECT_FALSE(rig.eq->flags().channelsLinked);
    EXPECT_TRUE(rig.sim.dialogs.shown.empty());
}

TEST(linkChannels, DemoModeSearchBoxesLockingAndLinkWorkAndNothingIsSent) {
    EditorRig rig;
    rig.sim.link.flags().demoMode = true;
    rig.eq->fillFromDefaultImage();
    rig.sim.link.flags().suppressSend = false;  // as at the end of start-up
    QPushButton* left = rig.eq->controls().searchButtons[1];
    left->click();
    EXPECT_TRUE(rig.eq->flags().searchRunning);
    EXPECT_FALSE(rig.eq->controls().searchButtons[0]->isEnabled());
    EXPECT_FALSE(LinkBox(rig)->isEnabled());
    left->click();
    EXPECT_FALSE(rig.eq->flags().searchRunning);
    EXPECT_TRUE(LinkBox(rig)->isEnabled());

    rig.row(3).gainBar->setValue(20);
    rig.sim.dialogs.answers.push_back(ui::Answer::Yes);
    LinkBox(rig)->click();
    EXPECT_TRUE(rig.eq->flags().channelsLinked);
    EXPECT_EQ(rig.image[120], 20);
    EXPECT_EQ(rig.row(15).gainBox->text(), "-25");
    EXPECT_TRUE(rig.sim.port.writes.empty());
}

TEST(EditorWindow, RefusesToClose) {
    QMdiArea area;  // outlives the editor, which the rig deletes first
    EditorRig rig;
    QMdiSubWindow* sub = area.addSubWindow(rig.eq.get());
    area.show();
    sub->show();
    EXPECT_FALSE(sub->close());
    EXPECT_FALSE(rig.eq->close());
    EXPECT_TRUE(sub->isVisible());
    EXPECT_TRUE(rig.eq->isVisible());
    EXPECT_EQ(area.subWindowList().size(), 1);
}
