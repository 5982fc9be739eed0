#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QWheelEvent>

#include "editor_rig.h"

using namespace editor_test;

namespace {

void Wheel(QWidget* w, int notches) {
    QWheelEvent event(QPointF(w->width() / 2.0, w->height() / 2.0), w->mapToGlobal(QPointF(2, 2)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

QString SpokenValue(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Value); }

}  // namespace

// Every horizontal control of both channels: Right and Up raise, Page keys
// take the coarse step, Home and End reach the ends; a notch of the wheel
// moves one step (and sends), with or without the keyboard focus.
TEST(EditorInput, KeysRaiseValuesAndAWheelNotchIsOneStep) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[76] = preset[156] = 1;  // rows 2..12 manual
    rig.load(preset);
    rig.eq->show();
    rig.eq->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.eq.get()));
    QStringList names;
    for (int c = 0; c < 2; ++c) {
        const int n = 12 * c + 5;
        for (const char* array : {"HScroll6", "HScroll20", "HScroll30"})
            names << QStringLiteral("%1_%2").arg(array).arg(n);
        for (const char* array : {"HScroll1", "HScroll2", "HScroll3", "HScroll4", "HScroll5", "Slider1"})
            names << QStringLiteral("%1_%2").arg(array).arg(c);
    }
    ASSERT_EQ(names.size(), 18);
    for (const QString& name : names) {
        auto* bar = rig.named<QAbstractSlider>(name);
        ASSERT_NE(bar, nullptr) << name.toStdString();
        const std::string at = name.toStdString();
        struct Case {
            Qt::Key key;
            int expected;
        };
        const int min = bar->minimum();
        const int max = bar->maximum();
        const Case keys[] = {{Qt::Key_Home, min}, {Qt::Key_Right, min + 1},
                             {Qt::Key_Left, min}, {Qt::Key_Up, min + 1},
                             {Qt::Key_Down, min}, {Qt::Key_PageUp, std::min(max, min + bar->pageStep())},
                             {Qt::Key_End, max},  {Qt::Key_PageDown, max - bar->pageStep()}};
        for (const Case& k : keys) {
            QTest::keyClick(bar, k.key);
            EXPECT_EQ(bar->value(), k.expected) << at << " key " << k.key;
        }
        rig.frames();
        rig.eq->controls().linkBox->setFocus();
        const int before = bar->value();
        const int away = before == min ? 1 : -1;  // away from the end it stands at
        Wheel(bar, away);
        EXPECT_EQ(bar->value(), before + away) << at << ": an unfocused control takes the wheel";
        EXPECT_FALSE(rig.frames().empty()) << at;
        bar->setFocus();
        Wheel(bar, -away);
        EXPECT_EQ(bar->value(), before) << at << ": the focused control, one step too";
        EXPECT_FALSE(rig.frames().empty()) << at;
    }
}

// A screen reader's toggle acts as a click: the search starts, the link
// asks; the program's own unchecking does neither.
TEST(EditorInput, AccessibleToggleActsLikeAClick) {
    EditorRig rig;
    auto preset = DefaultPreset();
    preset[40] = 7;  // a Left gain the Right lacks: the halves differ
    rig.load(preset);
    const auto toggle = [](QWidget* w) {
        QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(w)->actionInterface();
        ASSERT_NE(actions, nullptr);
        actions->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(rig.eq->controls().searchButtons[1]);
    EXPECT_TRUE(rig.eq->searchRunning());
    EXPECT_EQ(rig.frames(), Frames{Frame({0x0A, 1, preset[76], preset[77], preset[78], preset[79], 1})});
    toggle(rig.eq->controls().searchButtons[1]);
    EXPECT_FALSE(rig.eq->searchRunning());
    rig.frames();

    rig.sim.dialogs.answers = {ui::Answer::No};
    toggle(rig.eq->controls().linkBox);
    ASSERT_EQ(rig.sim.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.sim.dialogs.shown[0].title, "Link Left & Right");
    EXPECT_FALSE(rig.eq->controls().linkBox->isChecked());
    EXPECT_FALSE(rig.eq->flags().channelsLinked);
    EXPECT_TRUE(rig.frames().empty());
    devlink::RunToEnd(rig.eq->applyPresetToEditor());  // unchecks the box itself: no question
    EXPECT_EQ(rig.sim.dialogs.shown.size(), 1u);
}

// Screen readers hear the value with its unit; tools still read the
// position as the numeric value.
TEST(EditorInput, BarsSpeakTheirValueWithItsUnit) {
    EditorRig rig;
    rig.loadDefaults();
    rig.row(11).gainBar->setValue(33);
    struct Case {
        const char* object;
        const char* spoken;
        int position;
    };
    const Case cases[] = {
        {"HScroll20_0", "0 dB", 45},      {"HScroll20_11", "-12 dB", 33},
        {"HScroll6_11", "247.9 Hz", 266}, {"HScroll30_11", "1/10 octave", 2},
        {"HScroll1_0", "11 notches", 10}, {"HScroll2_1", "1/10 octave", 2},
        {"HScroll3_0", "Fixed", 0},       {"Slider1_0", "7", 6},
    };
    for (const Case& c : cases) {
        auto* bar = rig.named<QAbstractSlider>(c.object);
        ASSERT_NE(bar, nullptr) << c.object;
        EXPECT_EQ(SpokenValue(bar), c.spoken) << c.object;
        EXPECT_EQ(bar->accessibleDescription(), c.spoken) << c.object;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->valueInterface()->currentValue().toInt(), c.position)
            << c.object;
    }
}
