#include "editor/value_bars.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
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

// A wheel turn over an unfocused control belongs to the page around it:
// ignored here, Qt hands it on to the parents up to the scroll area.
bool WheelBelongsToPage(const QWidget* control, QWheelEvent* event) {
    if (control->hasFocus()) return false;
    event->ignore();
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

void ValueBar::wheelEvent(QWheelEvent* event) {
    if (!WheelBelongsToPage(this, event)) QScrollBar::wheelEvent(event);
}

void ValueBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    PaintFocusMark(this);
}

ValueSlider::ValueSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ValueSlider::wheelEvent(QWheelEvent* event) {
    if (!WheelBelongsToPage(this, event)) QSlider::wheelEvent(event);
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
