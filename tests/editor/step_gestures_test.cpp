#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "editor/step_gestures.h"
#include "editor_rig.h"

using namespace editor_test;

TEST(StepGestures, AWheelNotchIsOneStepAndPartsAddUp) {
    struct Case {
        const char* what;
        std::vector<int> eighths;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {"one notch up", {120}, {1}},
        {"one notch down", {-120}, {-1}},
        {"two notches at once", {240}, {2}},
        {"a touchpad's halves", {60, 60, 60}, {0, 1, 0}},
        {"turning back drops the part left over", {60, -60, -60}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        editor::WheelSteps wheel;
        std::vector<int> steps;
        for (const int e : c.eighths) steps.push_back(wheel.add(e));
        EXPECT_EQ(steps, c.steps) << c.what;
    }
}

TEST(StepGestures, AShiftDragMovesOneStepEveryEightPixels) {
    struct Case {
        int start, moved, expected;
    };
    const Case cases[] = {
        {100, 7, 100}, {100, 8, 101}, {100, -7, 100}, {100, -8, 99},
        {100, 56, 107},  // the drag that used to cross 7600 Hz
        {0, -50, 0},     {729, 80, 729},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editor::FineDragValue(c.start, c.moved, 0, 729), c.expected) << c.start << " " << c.moved;
}

// On a real frequency bar: the press with Shift never jumps, ten pixels to
// the right is the next frequency and one frame, and the release ends it.
TEST(StepGestures, AShiftDragOnARowsBarSendsSingleSteps) {
    EditorRig rig;
    rig.loadDefaults();
    rig.eq->resize(1280, 800);
    rig.eq->show();
    QScrollBar* bar = rig.row(11).freqBar;
    const int before = bar->value();
    rig.frames();
    const auto send = [bar](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPointF at(x, bar->height() / 2.0);
        QMouseEvent event(type, at, bar->mapToGlobal(at), Qt::LeftButton, buttons, Qt::ShiftModifier);
        QApplication::sendEvent(bar, &event);
    };
    const int right = bar->width() - 2;  // the trough, far from the thumb
    send(QEvent::MouseButtonPress, right - 20, Qt::LeftButton);
    EXPECT_EQ(bar->value(), before) << "no jump on the press";
    send(QEvent::MouseMove, right - 10, Qt::LeftButton);
    EXPECT_EQ(bar->value(), before + 1);
    EXPECT_EQ(rig.frames().size(), 1u);
    send(QEvent::MouseMove, right - 36, Qt::LeftButton);
    EXPECT_EQ(bar->value(), before - 2);
    send(QEvent::MouseButtonRelease, right - 36, Qt::NoButton);
    send(QEvent::MouseMove, right, Qt::NoButton);
    EXPECT_EQ(bar->value(), before - 2) << "the drag ended with the release";
}
