#pragma once
// The editor's bars and slider. Right and Up raise a value, Page keys take
// the coarse step, Home and End go to the ends; the mouse wheel changes a
// value only when the control has the keyboard focus (otherwise it scrolls
// the page); a focused control shows a focus mark. Screen readers hear the
// value with its unit (the control's accessible description) while tools
// still read the position as the numeric value.
#include <QScrollBar>
#include <QSlider>

namespace editor {

class ValueBar final : public QScrollBar {
public:
    explicit ValueBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

class ValueSlider final : public QSlider {
public:
    explicit ValueSlider(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Lets screen readers speak the spoken values of ValueBar and ValueSlider.
// Safe to call more than once.
void InstallSpokenValues();

}  // namespace editor
