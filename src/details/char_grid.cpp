#include "details/char_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

#include "text/font_face.h"

namespace {

constexpr int Pitch = TCharGrid::CellSize + TCharGrid::LineWidth;

}  // namespace

TCharGrid::TCharGrid(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(ColCount * Pitch + LineWidth, RowCount * Pitch + LineWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TCharGrid::CodeAt(int col, int row)
{
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount)
        return -1;
    const int k = col + ColCount * row;
    if (k >= CodeCount)
        return -1;
    return k <= 93 ? k + 33 : k + 66;
}

void TCharGrid::SetFace(const TTextFace& face)
{
    FFace = face;
    // A face that cannot be drawn has no characters to show.
    const bool drawable = !face.IsNull() && face.Problem().empty();
    const QRawFont byFamily =
        drawable && !face.IsExact() ? QRawFont::fromFont(face.Font()) : QRawFont();
    for (int code = 0; code < 256; ++code) {
        if (!drawable)
            FPresent[code] = false;
        else if (face.IsExact() && face.FileFace())
            FPresent[code] = face.FileFace()->GlyphFor(static_cast<char32_t>(code)) != 0;
        else
            FPresent[code] = byFamily.isValid() && byFamily.supportsCharacter(QChar(code));
    }
    update();
}

bool TCharGrid::HasGlyph(int code) const
{
    return code >= 0 && code < 256 && FPresent[code];
}

void TCharGrid::SetCell(int col, int row)
{
    col = std::clamp(col, 0, ColCount - 1);
    row = std::clamp(row, 0, RowCount - 1);
    if (col != FCol || row != FRow) {
        update(CellRect(FCol, FRow));
        FCol = col;
        FRow = row;
        update(CellRect(FCol, FRow));
    }
    if (OnSelectCell)
        OnSelectCell(FCol, FRow);
}

QRect TCharGrid::CellRect(int col, int row) const
{
    return {LineWidth + col * Pitch, LineWidth + row * Pitch, CellSize, CellSize};
}

bool TCharGrid::CellAt(QPoint point, int& col, int& row) const
{
    if (point.x() < 0 || point.y() < 0)
        return false;
    col = point.x() / Pitch;
    row = point.y() / Pitch;
    return col < ColCount && row < RowCount;
}

void TCharGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    painter.fillRect(rect(), colors.color(QPalette::Mid));
    const QColor missing(0xD8, 0xD8, 0xD8);
    for (int row = 0; row < RowCount; ++row)
        for (int col = 0; col < ColCount; ++col) {
            const QRect cell = CellRect(col, row);
            const int code = CodeAt(col, row);
            const bool current = col == FCol && row == FRow;
            const bool present = HasGlyph(code);
            QColor back = colors.color(QPalette::Base);
            if (current)
                back = colors.color(QPalette::Highlight);
            else if (code >= 0 && !present)
                back = missing;
            painter.fillRect(cell, back);
            if (code < 0 || !present)
                continue;
            const QString text(QChar(static_cast<char16_t>(code)));
            painter.setPen(colors.color(current ? QPalette::HighlightedText : QPalette::Text));
            const QPointF topLeft(cell.x() + (CellSize - FFace.Advance(text)) / 2.0,
                                  cell.y() + (CellSize - FFace.Height()) / 2.0);
            painter.save();
            painter.setClipRect(cell);
            FFace.Draw(painter, topLeft, text);
            painter.restore();
        }
    if (hasFocus()) {
        painter.setPen(QPen(colors.color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter.drawRect(CellRect(FCol, FRow).adjusted(1, 1, -2, -2));
    }
}

void TCharGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: SetCell(FCol - 1, FRow); break;
    case Qt::Key_Right: SetCell(FCol + 1, FRow); break;
    case Qt::Key_Up: SetCell(FCol, FRow - 1); break;
    case Qt::Key_Down: SetCell(FCol, FRow + 1); break;
    case Qt::Key_Home: SetCell(0, FRow); break;
    case Qt::Key_End: SetCell(ColCount - 1, FRow); break;
    case Qt::Key_PageUp: SetCell(FCol, 0); break;
    case Qt::Key_PageDown: SetCell(FCol, RowCount - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnSelect)
            OnSelect();
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TCharGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    int col = 0, row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), col, row))
        SetCell(col, row);
}

void TCharGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    int col = 0, row = 0;
    if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), col, row))
        return;
    SetCell(col, row);
    if (OnSelect)
        OnSelect();
}

void TCharGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(CellRect(FCol, FRow));
}

void TCharGrid::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(CellRect(FCol, FRow));
}
