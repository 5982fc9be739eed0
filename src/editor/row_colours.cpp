#include "editor/row_colours.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <initializer_list>

namespace editor {
namespace {

double Channel(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& c) {
    return 0.2126 * Channel(c.redF()) + 0.7152 * Channel(c.greenF()) + 0.0722 * Channel(c.blueF());
}

// A mark must stand out from both row backgrounds like any control's edge.
constexpr double kMarkContrast = 3.0;
constexpr double kTextContrast = 4.5;

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

RowColours RowColoursFor(const QPalette& palette) {
    RowColours c;
    c.manualBack = palette.color(QPalette::Active, QPalette::Base);
    c.lockedBack = palette.color(QPalette::Active, QPalette::Window);
    c.lockedText = palette.color(QPalette::Active, QPalette::Text);
    // The desktop's own accent when it stands out from both backgrounds,
    // else the text colour itself, which always does.
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    const bool accentShows =
        ContrastRatio(accent, c.manualBack) >= kMarkContrast && ContrastRatio(accent, c.lockedBack) >= kMarkContrast;
    c.markBack = accentShows ? accent : c.lockedText;
    c.markText = c.manualBack;
    for (const QColor& text : {palette.color(QPalette::Active, QPalette::HighlightedText), c.lockedText,
                               QColor(Qt::black), QColor(Qt::white)})
        if (ContrastRatio(text, c.markBack) > ContrastRatio(c.markText, c.markBack)) c.markText = text;
    if (ContrastRatio(c.markText, c.markBack) < kTextContrast) {
        c.markBack = c.lockedText;
        c.markText = c.manualBack;
    }
    return c;
}

QPalette LockedRowsPalette(const QPalette& palette) {
    QPalette locked = palette;
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        locked.setColor(QPalette::Disabled, role, locked.color(QPalette::Active, role));
    locked.setColor(QPalette::Disabled, QPalette::Base, locked.color(QPalette::Active, QPalette::Window));
    return locked;
}

void PaintAutoMark(QLabel* mark, const QPalette& palette) {
    const RowColours c = RowColoursFor(palette);
    QPalette own = palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        own.setColor(group, QPalette::Window, c.markBack);
        own.setColor(group, QPalette::WindowText, c.markText);
    }
    mark->setPalette(own);
}

void ShowAsReadOnly(QLineEdit* box, const QPalette& palette) {
    QPalette own = palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        own.setColor(group, QPalette::Base, palette.color(QPalette::Active, QPalette::Window));
    box->setPalette(own);
    box->setFrame(false);
}

}  // namespace editor
