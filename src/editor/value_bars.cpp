#include "editor/value_bars.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QMouseEvent>
#include <QWheelEvent>

namespace editor {
namespace {

void PaintFocusMark(QWidget* control) {
    if (!control->hasFocus()) return;
    QPainter painter(control);
    painter.setPen(QPen(control->palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(control->rect()).adjusted(1, 1, -1, -1));
}

// Up (or a tilt to the right) raises the value; a desktop that scrolls
// "naturally" turns the wheel's sign round, and it is turned back here.
void StepByWheel(QAbstractSlider& control, StepGestureState& state, QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    int eighths = delta.y() != 0 ? delta.y() : -delta.x();
    if (event->inverted()) eighths = -eighths;
    const int steps = state.wheel.add(eighths);
    if (steps != 0) control.setValue(control.value() + steps * control.singleStep());
    // Taken even at the end of the range: the page must not jump instead.
    event->accept();
}

bool BeginFineDrag(QAbstractSlider& control, StepGestureState& state, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !(event->modifiers() & Qt::ShiftModifier)) return false;
    state.fineDrag = true;
    state.dragStartX = event->position().toPoint().x();
    state.dragStartValue = control.value();
    if (control.focusPolicy() & Qt::ClickFocus) control.setFocus(Qt::MouseFocusReason);
    event->accept();
    return true;
}

bool MoveFineDrag(QAbstractSlider& control, const StepGestureState& state, QMouseEvent* event) {
    if (!state.fineDrag) return false;
    const int moved = event->position().toPoint().x() - state.dragStartX;
    control.setValue(FineDragValue(state.dragStartValue, moved, control.minimum(), control.maximum()));
    event->accept();
    return true;
}

bool EndFineDrag(StepGestureState& state, QMouseEvent* event) {
    if (!state.fineDrag || event->button() != Qt::LeftButton) return false;
    state.fineDrag = false;
    event->accept();
    return true;
}

// The accessible face of a bar or slider: its position as the numeric
// value, its value with the unit as the spoken text.
class SpokenRange final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpokenRange(QAbstractSlider* control)
        : QAccessibleWidget(control, qobject_cast<QSlider*>(control) ? QAccessible::Slider : QAccessible::ScrollBar) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            const QString spoken = widget()->accessibleDescription();
            return spoken.isEmpty() ? QString::number(control()->value()) : spoken;
        }
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return control()->value(); }
    void setCurrentValue(const QVariant& value) override { control()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return control()->maximum(); }
    QVariant minimumValue() const override { return control()->minimum(); }
    QVariant minimumStepSize() const override { return control()->singleStep(); }

private:
    QAbstractSlider* control() const { return static_cast<QAbstractSlider*>(widget()); }
};

QAccessibleInterface* SpokenRangeFactory(const QString& /*className*/, QObject* object) {
    if (auto* bar = dynamic_cast<ValueBar*>(object)) return new SpokenRange(bar);
    if (auto* slider = dynamic_cast<ValueSlider*>(object)) return new SpokenRange(slider);
    return nullptr;
}

}  // namespace

// QScrollBar inverts its keys by default (Right would lower the value).
ValueBar::ValueBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ValueBar::wheelEvent(QWheelEvent* event) { StepByWheel(*this, gestures_, event); }

void ValueBar::mousePressEvent(QMouseEvent* event) {
    if (!BeginFineDrag(*this, gestures_, event)) QScrollBar::mousePressEvent(event);
}

void ValueBar::mouseMoveEvent(QMouseEvent* event) {
    if (!MoveFineDrag(*this, gestures_, event)) QScrollBar::mouseMoveEvent(event);
}

void ValueBar::mouseReleaseEvent(QMouseEvent* event) {
    if (!EndFineDrag(gestures_, event)) QScrollBar::mouseReleaseEvent(event);
}

void ValueBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    PaintFocusMark(this);
}

ValueSlider::ValueSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ValueSlider::wheelEvent(QWheelEvent* event) { StepByWheel(*this, gestures_, event); }

void ValueSlider::mousePressEvent(QMouseEvent* event) {
    if (!BeginFineDrag(*this, gestures_, event)) QSlider::mousePressEvent(event);
}

void ValueSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!MoveFineDrag(*this, gestures_, event)) QSlider::mouseMoveEvent(event);
}

void ValueSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!EndFineDrag(gestures_, event)) QSlider::mouseReleaseEvent(event);
}

void ValueSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    PaintFocusMark(this);
}

void InstallSpokenValues() {
    QAccessible::removeFactory(SpokenRangeFactory);
    QAccessible::installFactory(SpokenRangeFactory);
}

}  // namespace editor
