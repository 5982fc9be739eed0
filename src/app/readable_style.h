#pragma once
// The desktop's own style, with every check box's edge drawn so that it
// stands out from the field it lies on: some dark desktop themes draw an
// unticked box in nearly the field's colour, and a list of them (the
// Restore window's) then looks empty.
#include <QProxyStyle>

namespace app {

class ReadableStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// The edge's colour on a box of the palette: most of the way from the
// box's field to its text.
QColor CheckBoxEdge(const QPalette& palette);

}  // namespace app
