#pragma once

#include <QString>
#include <QWidget>

#include "preview/text_face.h"

// A single-line text box that draws its text through a face, so the characters collected in
// the character map show in the font being looked at. It takes typed text, Backspace and
// Delete, the arrows, Home and End, paste, copy and select-all; the caret stands at the
// face's advance of the text before it. Cursor moves and deletions step over whole
// characters (grapheme clusters).
class TGlyphEdit : public QWidget {
    Q_OBJECT
public:
    explicit TGlyphEdit(QWidget* parent = nullptr);

    void SetFace(const TTextFace& face);
    const QString& Text() const { return FText; }
    void SetText(const QString& text);
    // Inserts at the caret, replacing the selection; line breaks become spaces.
    void Insert(const QString& text);
    // Appends at the end and puts the caret there.
    void Append(const QString& text);
    int CursorPosition() const { return FCursor; }
    void SetCursorPosition(int position);
    bool AllSelected() const { return FAllSelected; }
    void SelectAll();
    // Puts all of the text on the clipboard.
    void Copy() const;
    // The caret's x in widget coordinates.
    int CaretX() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int NextBoundary(int position) const;
    int PreviousBoundary(int position) const;
    void Changed();

    TTextFace FFace;
    QString FText;
    int FCursor = 0;
    int FScroll = 0;
    bool FAllSelected = false;
};
