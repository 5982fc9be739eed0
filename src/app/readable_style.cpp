#include "app/readable_style.h"

#include <QPainter>
#include <QStyleOption>

namespace app {

QColor CheckBoxEdge(const QPalette& palette) {
    const QColor field = palette.color(QPalette::Active, QPalette::Base);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    constexpr double kTowardText = 0.6;
    const auto mix = [](double a, double b) { return a + (b - a) * kTowardText; };
    return QColor::fromRgbF(static_cast<float>(mix(field.redF(), text.redF())),
                            static_cast<float>(mix(field.greenF(), text.greenF())),
                            static_cast<float>(mix(field.blueF(), text.blueF())));
}

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A list's check boxes come here too: the style draws them as boxes.
    if (element != PE_IndicatorCheckBox) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(CheckBoxEdge(option->palette), 1));
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

}  // namespace app
