#include "details/glyph_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int Margin = 3;

}  // namespace

TGlyphEdit::TGlyphEdit(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setCursor(Qt::IBeamCursor);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QSize TGlyphEdit::sizeHint() const
{
    return {120, std::max(FFace.Height(), 12) + 2 * Margin + 2};
}

void TGlyphEdit::SetFace(const TTextFace& face)
{
    FFace = face;
    Changed();
}

void TGlyphEdit::SetText(const QString& text)
{
    FText = text;
    FCursor = static_cast<int>(FText.size());
    FAllSelected = false;
    Changed();
}

void TGlyphEdit::Insert(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (FAllSelected) {
        FText.clear();
        FCursor = 0;
        FAllSelected = false;
    }
    FText.insert(FCursor, line);
    FCursor += static_cast<int>(line.size());
    Changed();
}

void TGlyphEdit::Append(const QString& text)
{
    FAllSelected = false;
    FCursor = static_cast<int>(FText.size());
    Insert(text);
}

void TGlyphEdit::SetCursorPosition(int position)
{
    FCursor = std::clamp(position, 0, static_cast<int>(FText.size()));
    FAllSelected = false;
    Changed();
}

void TGlyphEdit::SelectAll()
{
    FAllSelected = true;
    update();
}

void TGlyphEdit::Copy() const
{
    QGuiApplication::clipboard()->setText(FText);
}

int TGlyphEdit::NextBoundary(int position) const
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, FText);
    finder.setPosition(position);
    const qsizetype next = finder.toNextBoundary();
    return next < 0 ? static_cast<int>(FText.size()) : static_cast<int>(next);
}

int TGlyphEdit::PreviousBoundary(int position) const
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, FText);
    finder.setPosition(position);
    const qsizetype previous = finder.toPreviousBoundary();
    return previous < 0 ? 0 : static_cast<int>(previous);
}

int TGlyphEdit::CaretX() const
{
    return Margin + FFace.Advance(FText.left(FCursor)) - FScroll;
}

void TGlyphEdit::Changed()
{
    // Scroll just far enough to keep the caret inside the box.
    const int caret = FFace.Advance(FText.left(FCursor));
    const int room = std::max(1, width() - 2 * Margin - 1);
    if (caret - FScroll > room)
        FScroll = caret - room;
    if (caret < FScroll)
        FScroll = caret;
    FScroll = std::max(0, std::min(FScroll, std::max(0, FFace.Advance(FText) - room)));
    update();
}

void TGlyphEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    const int top = (height() - FFace.Height()) / 2;
    if (FAllSelected && !FText.isEmpty()) {
        painter.fillRect(QRect(Margin - FScroll, top, FFace.Advance(FText), FFace.Height()),
                         colors.color(QPalette::Highlight));
        painter.setPen(colors.color(QPalette::HighlightedText));
    } else {
        painter.setPen(colors.color(QPalette::Text));
    }
    FFace.Draw(painter, QPointF(Margin - FScroll, top), FText);
    if (hasFocus()) {
        painter.setPen(colors.color(QPalette::Text));
        const int x = CaretX();
        painter.drawLine(x, top, x, top + FFace.Height() - 1);
    }
}

void TGlyphEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        Insert(QGuiApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: SetCursorPosition(FAllSelected ? 0 : PreviousBoundary(FCursor)); return;
    case Qt::Key_Right:
        SetCursorPosition(FAllSelected ? static_cast<int>(FText.size()) : NextBoundary(FCursor));
        return;
    case Qt::Key_Home: SetCursorPosition(0); return;
    case Qt::Key_End: SetCursorPosition(static_cast<int>(FText.size())); return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete: {
        if (FAllSelected) {
            SetText(QString());
            return;
        }
        const bool back = event->key() == Qt::Key_Backspace;
        const int from = back ? PreviousBoundary(FCursor) : FCursor;
        const int to = back ? FCursor : NextBoundary(FCursor);
        FText.remove(from, to - from);
        FCursor = from;
        Changed();
        return;
    }
    default: break;
    }
    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.isPrint() || c.isSurrogate();
        });
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        Insert(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TGlyphEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text (Hangul, for one) arrives here rather than as key presses.
    if (!event->commitString().isEmpty())
        Insert(event->commitString());
    event->accept();
}

void TGlyphEdit::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    // The caret goes to the boundary nearest the click.
    const int x = static_cast<int>(event->position().x()) - Margin + FScroll;
    int best = 0;
    int bestDistance = std::abs(x);
    for (int position = NextBoundary(0); position > 0;) {
        const int distance = std::abs(FFace.Advance(FText.left(position)) - x);
        if (distance < bestDistance) {
            best = position;
            bestDistance = distance;
        }
        if (position >= FText.size())
            break;
        position = NextBoundary(position);
    }
    SetCursorPosition(best);
}

void TGlyphEdit::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TGlyphEdit::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
