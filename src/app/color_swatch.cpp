#include "app/color_swatch.h"

#include <QMouseEvent>
#include <QPainter>

TColorSwatch::TColorSwatch(int tag, QWidget* parent) : QWidget(parent), FTag(tag)
{
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetBrushColor(TColor color)
{
    if (color == FBrushColor)
        return;
    FBrushColor = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), ColorToQColor(FBrushColor));
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()) && OnMouseUp)
        OnMouseUp(this);
}
