#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {
namespace {

constexpr int kSize = 64;
const QColor kInk(40, 48, 60);
const QColor kLeft(200, 30, 30);
const QColor kRight(30, 60, 200);

// The icon's colours from the palette: lines in the window's text colour,
// paper in the fields' colour, channel letters as the graph draws them.
struct Inks {
    QColor line, paper, body, left, right, accent;
};

bool IsDark(const QColor& c) { return c.lightnessF() < 0.5; }

Inks InksFor(const QPalette& palette) {
    const bool dark = IsDark(palette.color(QPalette::Active, QPalette::Window));
    Inks ink;
    ink.line = palette.color(QPalette::Active, QPalette::WindowText);
    ink.paper = palette.color(QPalette::Active, QPalette::Base);
    ink.body = palette.color(QPalette::Active, QPalette::Button);
    ink.left = dark ? QColor(255, 120, 120) : kLeft;
    ink.right = dark ? QColor(130, 175, 255) : kRight;
    ink.accent = dark ? QColor(90, 210, 130) : QColor(20, 130, 70);
    return ink;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(QPen(color, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing1 = line;
    wing1.setLength(12);
    wing1.setAngle(line.angle() + 35);
    QLineF wing2 = line;
    wing2.setLength(12);
    wing2.setAngle(line.angle() - 35);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

// A sheet of paper: the preset file on the PC.
void Document(QPainter& p, const Inks& ink) {
    QPainterPath sheet;
    sheet.moveTo(14, 6);
    sheet.lineTo(38, 6);
    sheet.lineTo(50, 18);
    sheet.lineTo(50, 58);
    sheet.lineTo(14, 58);
    sheet.closeSubpath();
    p.setPen(QPen(ink.line, 3));
    p.setBrush(ink.paper);
    p.drawPath(sheet);
    p.drawLine(QPointF(38, 6), QPointF(38, 18));
    p.drawLine(QPointF(38, 18), QPointF(50, 18));
}

// A rack unit with two knobs: the device.
void Device(QPainter& p, const Inks& ink) {
    p.setPen(QPen(ink.line, 3));
    p.setBrush(ink.body);
    p.drawRoundedRect(QRectF(6, 34, 52, 22), 3, 3);
    p.setBrush(ink.line);
    p.drawEllipse(QPointF(18, 45), 4, 4);
    p.drawEllipse(QPointF(30, 45), 4, 4);
    p.setBrush(ink.accent);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(40, 42, 12, 6));
}

void ChannelLetter(QPainter& p, const QString& letter, QPointF centre, const QColor& color) {
    QFont font;
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRectF(centre.x() - 14, centre.y() - 16, 28, 32), Qt::AlignCenter, letter);
}

}  // namespace

QIcon MakeToolbarIcon(ToolbarIcon which, const QPalette& palette) {
    const Inks ink = InksFor(palette);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ToolbarIcon::LoadFromPc:
        Document(p, ink);
        Arrow(p, QPointF(32, 24), QPointF(32, 50), ink.accent);  // out of the file
        break;
    case ToolbarIcon::SaveToPc:
        Document(p, ink);
        Arrow(p, QPointF(32, 50), QPointF(32, 24), ink.accent);  // into the file
        break;
    case ToolbarIcon::StoreToDevice:
        Device(p, ink);
        Arrow(p, QPointF(32, 4), QPointF(32, 28), ink.accent);
        break;
    case ToolbarIcon::ReadFromDevice:
        Device(p, ink);
        Arrow(p, QPointF(32, 28), QPointF(32, 4), ink.accent);
        break;
    case ToolbarIcon::CopyLeftToRight:
        ChannelLetter(p, "L", QPointF(12, 32), ink.left);
        ChannelLetter(p, "R", QPointF(52, 32), ink.right);
        Arrow(p, QPointF(24, 32), QPointF(40, 32), ink.line);
        break;
    case ToolbarIcon::CopyRightToLeft:
        ChannelLetter(p, "L", QPointF(12, 32), ink.left);
        ChannelLetter(p, "R", QPointF(52, 32), ink.right);
        Arrow(p, QPointF(40, 32), QPointF(24, 32), ink.line);
        break;
    }
    return QIcon(pixmap);
}

QIcon MakeApplicationIcon() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
    QPainterPath curve;
    curve.moveTo(8, 18);
    curve.lineTo(24, 18);
    curve.cubicTo(30, 18, 30, 54, 34, 54);
    curve.cubicTo(38, 54, 38, 18, 44, 18);
    curve.lineTo(56, 18);
    p.setPen(QPen(kLeft, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    return QIcon(pixmap);
}

}  // namespace app
