#include "fileops/edit_form.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "fonts/font_info.h"

namespace {

constexpr int Margin = 2;

}  // namespace

TTryOutMemo::TTryOutMemo(QWidget* parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled);
}

void TTryOutMemo::SetFace(const TTextFace& face)
{
    FFace = face;
    UpdateScrollRanges();
    viewport()->update();
}

void TTryOutMemo::SetColors(const QColor& text, const QColor& background)
{
    if (text == FText && background == FBackground)
        return;
    FText = text;
    FBackground = background;
    viewport()->update();
}

void TTryOutMemo::UpdateScrollRanges()
{
    int widest = 0;
    for (const QString& line : FLines)
        widest = std::max(widest, FFace.Advance(line));
    const int lineHeight = std::max(1, FFace.LineSpacing());
    const int height = static_cast<int>(FLines.size()) * lineHeight;
    horizontalScrollBar()->setRange(0, std::max(0, widest + 2 * Margin + 2 - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, height + 2 * Margin - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(lineHeight);
}

void TTryOutMemo::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), FBackground);
    painter.setPen(FText);
    const int lineHeight = std::max(1, FFace.LineSpacing());
    const int left = Margin - horizontalScrollBar()->value();
    int top = Margin - verticalScrollBar()->value();
    for (const QString& line : FLines) {
        if (top + lineHeight >= 0 && top < viewport()->height())
            FFace.Draw(painter, QPointF(left, top), line);
        top += lineHeight;
    }
    if (hasFocus()) {
        // The caret after the last character typed.
        const int x = left + FFace.Advance(FLines.back());
        painter.fillRect(QRect(x, top - lineHeight, 1, std::max(1, FFace.Height())), FText);
    }
}

void TTryOutMemo::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        FLines.append(QString());
    } else if (key == Qt::Key_Backspace) {
        if (!FLines.back().isEmpty())
            FLines.back().chop(1);
        else if (FLines.size() > 1)
            FLines.removeLast();
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        FLines.back() += event->text();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    UpdateScrollRanges();
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    viewport()->update();
}

void TTryOutMemo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

TfEdit::TfEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fEdit"));
    setWindowTitle(QStringLiteral("Edit"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    FMemo = new TTryOutMemo(this);
    FMemo->setObjectName(QStringLiteral("Memo"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FMemo);
    resize(419, 219);
    FMemo->setFocus();
}

void TfEdit::SetSample(TRawFontCache& cache, const TFontInfo& font, int pointSize,
                       TColor fontColor, TColor backColor)
{
    FMemo->SetFace(RecordFace(cache, font, pointSize * TTextFace::PixelsPerPoint(), TFontStyles(),
                              this->font()));
    FMemo->SetColors(ColorToQColor(fontColor), ColorToQColor(backColor));
}
