#include "details/glyph_label.h"

#include <QPainter>

TGlyphLabel::TGlyphLabel(QWidget* parent) : QWidget(parent) {}

void TGlyphLabel::SetFace(const TTextFace& face)
{
    FFace = face;
    update();
}

void TGlyphLabel::SetText(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    update();
}

void TGlyphLabel::paintEvent(QPaintEvent*)
{
    if (FText.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    FFace.Draw(painter,
               QPointF((width() - FFace.Advance(FText)) / 2.0, (height() - FFace.Height()) / 2.0),
               FText);
}
