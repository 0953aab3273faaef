#include "ide/icon/AppIcon.h"

#include <QColor>
#include <QPainter>

#include <array>

namespace {

// Shapes in a 64 by 64 design grid, drawn in this order.
struct TIconShape {
    enum TKind { Box, Dot } kind;
    double x, y, width, height; // a Dot uses x, y as centre and width as radius
    double radius;              // corner radius of a Box
    const char* colour;
};

constexpr double pinTop = 11.0;
constexpr double pinStep = 9.5;

constexpr std::array<TIconShape, 19> shapes = {{
    // Five pins on each side, behind the body.
    {TIconShape::Box, 5, pinTop + 0 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 5, pinTop + 1 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 5, pinTop + 2 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 5, pinTop + 3 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 5, pinTop + 4 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 49, pinTop + 0 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 49, pinTop + 1 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 49, pinTop + 2 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 49, pinTop + 3 * pinStep, 10, 5, 1, "#b0bec5"},
    {TIconShape::Box, 49, pinTop + 4 * pinStep, 10, 5, 1, "#b0bec5"},
    // The body with its notch and pin-1 mark.
    {TIconShape::Box, 13, 5, 38, 54, 4, "#263238"},
    {TIconShape::Dot, 32, 10, 3, 0, 0, "#11181c"},
    {TIconShape::Dot, 19, 11, 2, 0, 0, "#78909c"},
    // Lines of highlighted code.
    {TIconShape::Box, 19, 20, 18, 4, 1, "#ffa726"},
    {TIconShape::Box, 23, 28, 22, 4, 1, "#66bb6a"},
    {TIconShape::Box, 23, 36, 16, 4, 1, "#29b6f6"},
    {TIconShape::Box, 19, 44, 24, 4, 1, "#ffa726"},
    {TIconShape::Box, 41, 20, 4, 4, 1, "#eceff1"},
    {TIconShape::Box, 19, 52, 10, 3, 1, "#ef5350"},
}};

} // namespace

QImage renderAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    for (const TIconShape& shape : shapes) {
        painter.setBrush(QColor(QString::fromLatin1(shape.colour)));
        if (shape.kind == TIconShape::Box)
            painter.drawRoundedRect(QRectF(shape.x, shape.y, shape.width, shape.height), shape.radius, shape.radius);
        else
            painter.drawEllipse(QPointF(shape.x, shape.y), shape.width, shape.width);
    }
    return image;
}

QString appIconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                                 "viewBox=\"0 0 64 64\">\n");
    for (const TIconShape& shape : shapes) {
        if (shape.kind == TIconShape::Box)
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                       .arg(shape.x).arg(shape.y).arg(shape.width).arg(shape.height).arg(shape.radius)
                       .arg(QString::fromLatin1(shape.colour));
        else
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                       .arg(shape.x).arg(shape.y).arg(shape.width).arg(QString::fromLatin1(shape.colour));
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}
