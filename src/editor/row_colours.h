#pragma once
// The colours that tell a notch row the automatic search owns from one the
// user tunes, chosen from the palette so that a light and a dark desktop
// both keep them apart at a glance.
#include <QColor>
#include <QPalette>

class QLabel;
class QLineEdit;
class QWidget;

namespace editor {

// WCAG contrast ratio of two colours, 1..21.
double ContrastRatio(const QColor& a, const QColor& b);

struct RowColours {
    QColor manualBack;  // a box the user types into
    QColor lockedBack;  // a box of a row the search owns
    QColor lockedText;
    QColor markBack;  // the "auto" mark beside a row the search owns
    QColor markText;
};
RowColours RowColoursFor(const QPalette& palette);

// The palette of the notch rows and settings: locked controls keep the
// text of enabled ones over the window's colour, as read-only fields do.
QPalette LockedRowsPalette(const QPalette& palette);
// A filled badge in the mark colours.
void PaintAutoMark(QLabel* mark, const QPalette& palette);
// A box nothing is typed into: no frame, the window's colour.
void ShowAsReadOnly(QLineEdit* box, const QPalette& palette);

}  // namespace editor
