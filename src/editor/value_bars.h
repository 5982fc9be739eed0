#pragma once
// The editor's bars and slider. Right and Up raise a value, Page keys take
// the coarse step, Home and End go to the ends; a notch of the mouse wheel
// over a control moves it one step, focused or not (no click first, which
// on a bar's trough would jump a page); a drag with Shift held moves in
// single steps; a focused control shows a focus mark. Screen readers hear
// the value with its unit (the control's accessible description) while
// tools still read the position as the numeric value.
#include <QScrollBar>
#include <QSlider>

#include "editor/step_gestures.h"

namespace editor {

// A Shift-drag in progress, and the wheel's part-notches.
struct StepGestureState {
    WheelSteps wheel;
    bool fineDrag = false;
    int dragStartX = 0;
    int dragStartValue = 0;
};

class ValueBar final : public QScrollBar {
public:
    explicit ValueBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    StepGestureState gestures_;
};

class ValueSlider final : public QSlider {
public:
    explicit ValueSlider(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    StepGestureState gestures_;
};

// Lets screen readers speak the spoken values of ValueBar and ValueSlider.
// Safe to call more than once.
void InstallSpokenValues();

}  // namespace editor
