#include "ide/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int iconSize = 16;

void drawPage(QPainter& p, QRect r, QColor fill = Qt::white)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 3, r.top());
    page.lineTo(r.right(), r.top() + 3);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setBrush(fill);
    p.setPen(QColor(60, 60, 60));
    p.drawPath(page);
}

void drawLines(QPainter& p, int x, int y, int width, int count, int step = 2)
{
    p.setPen(QColor(90, 90, 90));
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + i * step, x + width, y + i * step);
}

void drawArrow(QPainter& p, bool left)
{
    QPainterPath arc;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 90, 170), 2));
    if (left) {
        arc.moveTo(4, 7);
        arc.cubicTo(8, 2, 14, 4, 13, 12);
        p.drawPath(arc);
        p.setBrush(QColor(0, 90, 170));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(1, 7), QPoint(7, 3), QPoint(7, 11)}));
    } else {
        arc.moveTo(12, 7);
        arc.cubicTo(8, 2, 2, 4, 3, 12);
        p.drawPath(arc);
        p.setBrush(QColor(0, 90, 170));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(15, 7), QPoint(9, 3), QPoint(9, 11)}));
    }
}

void drawIndent(QPainter& p, bool in)
{
    drawLines(p, 1, 2, 13, 1);
    drawLines(p, 7, 6, 7, 3);
    drawLines(p, 1, 13, 13, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 90, 170));
    if (in)
        p.drawPolygon(QPolygon({QPoint(1, 5), QPoint(5, 8), QPoint(1, 11)}));
    else
        p.drawPolygon(QPolygon({QPoint(5, 5), QPoint(1, 8), QPoint(5, 11)}));
}

void drawChip(QPainter& p, QColor body)
{
    p.setPen(QColor(40, 40, 40));
    for (int x = 4; x <= 11; x += 3) {
        p.drawLine(x, 1, x, 3);
        p.drawLine(x, 12, x, 14);
    }
    p.setBrush(body);
    p.drawRect(2, 3, 11, 9);
}

void drawIcon(QPainter& p, ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::New:
        drawPage(p, QRect(3, 1, 10, 14));
        break;
    case ToolIcon::Open:
        p.setPen(QColor(120, 90, 20));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(1, 4, 13, 10);
        p.setBrush(QColor(250, 225, 130));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
        break;
    case ToolIcon::Save:
        p.setPen(QColor(30, 30, 80));
        p.setBrush(QColor(60, 80, 160));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(3, 9, 9, 5);
        break;
    case ToolIcon::Print:
        drawPage(p, QRect(4, 1, 8, 6));
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(1, 6, 14, 6);
        drawPage(p, QRect(4, 10, 8, 5));
        break;
    case ToolIcon::Cut:
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.drawLine(4, 1, 10, 10);
        p.drawLine(11, 1, 5, 10);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 10, 4, 4);
        p.drawEllipse(9, 10, 4, 4);
        break;
    case ToolIcon::Copy:
        drawPage(p, QRect(1, 1, 9, 10));
        drawPage(p, QRect(6, 5, 9, 10));
        drawLines(p, 8, 9, 5, 3);
        break;
    case ToolIcon::Paste:
        p.setPen(QColor(90, 60, 20));
        p.setBrush(QColor(190, 140, 70));
        p.drawRect(1, 2, 10, 13);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(4, 1, 4, 3);
        drawPage(p, QRect(6, 6, 9, 9));
        break;
    case ToolIcon::Undo:
        drawArrow(p, true);
        break;
    case ToolIcon::Redo:
        drawArrow(p, false);
        break;
    case ToolIcon::Indent:
        drawIndent(p, true);
        break;
    case ToolIcon::Unindent:
        drawIndent(p, false);
        break;
    case ToolIcon::Compile:
        drawPage(p, QRect(1, 1, 9, 12));
        drawLines(p, 3, 4, 5, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 150, 0));
        p.drawPolygon(QPolygon({QPoint(9, 8), QPoint(15, 11), QPoint(9, 15)}));
        break;
    case ToolIcon::Program:
        drawChip(p, QColor(50, 50, 50));
        p.setPen(QColor(230, 200, 0));
        p.drawLine(6, 5, 9, 7);
        p.drawLine(9, 7, 6, 9);
        break;
    case ToolIcon::Download:
        drawChip(p, QColor(50, 50, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 170, 220));
        p.drawPolygon(QPolygon({QPoint(5, 5), QPoint(10, 5), QPoint(7, 10)}));
        break;
    case ToolIcon::Asm:
        drawPage(p, QRect(2, 1, 12, 14));
        p.setPen(QColor(0, 0, 128));
        p.setFont(QFont("DejaVu Sans Mono", 5, QFont::Bold));
        p.drawText(QRect(2, 3, 12, 10), Qt::AlignCenter, "ASM");
        break;
    }
}

} // namespace

QIcon toolIcon(ToolIcon icon)
{
    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawIcon(painter, icon);
    painter.end();
    return QIcon(pixmap);
}
