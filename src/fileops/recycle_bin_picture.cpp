#include "fileops/recycle_bin_picture.h"

#include <QPainter>
#include <QPainterPath>

QPixmap RecycleBinPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Papers sticking out of the bin, drawn first so the bin's glass tints them.
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{9, 10}, {17, 3}, {21, 8}, {13, 14}}));
    p.drawPolygon(QPolygonF({{15, 11}, {22, 4}, {25, 9}, {19, 14}}));

    // The translucent bin: a tapering body and its rim.
    QPainterPath body;
    body.moveTo(6, 10);
    body.lineTo(26, 10);
    body.lineTo(23.5, 30);
    body.lineTo(8.5, 30);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x4E, 0x6E, 0x8E), 1));
    p.setBrush(QColor(0x9C, 0xC4, 0xE8, 150));
    p.drawPath(body);
    p.setBrush(QColor(0xC8, 0xE0, 0xF4, 200));
    p.drawRoundedRect(QRectF(5, 8.5, 22, 3), 1, 1);

    // The green recycling arrow: three quarters of a circle ending in an arrowhead.
    const QColor green(0x1E, 0xA0, 0x32);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(green, 2.2, Qt::SolidLine, Qt::FlatCap));
    const QRectF ring(11, 15, 10, 10);
    p.drawArc(ring, 100 * 16, 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({{13.2, 13.0}, {18.2, 15.2}, {13.6, 18.4}}));
    return picture;
}
