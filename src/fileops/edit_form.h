#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <QStringList>

#include "preview/color32.h"
#include "preview/text_face.h"

class TFontInfo;
class TRawFontCache;

// A plain multi-line box for trying a font: typed text is drawn through the text-drawing
// core in the exact face of the record's file (shaped, in visual order), not in whatever
// face a family name would pick. Typing appends at the end; Return starts a line and
// Backspace takes back the last character.
class TTryOutMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TTryOutMemo(QWidget* parent = nullptr);

    void SetFace(const TTextFace& face);
    const TTextFace& Face() const { return FFace; }
    void SetColors(const QColor& text, const QColor& background);
    QString Text() const { return FLines.join(QLatin1Char('\n')); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollRanges();

    TTextFace FFace;
    QStringList FLines{QString()};
    QColor FText = Qt::black;
    QColor FBackground = Qt::white;
};

// The try-out window of the preview's pop-up menu: a memo in the current font at the
// preview's size and colours (its style is not applied). Esc closes it; what was typed is
// forgotten.
class TfEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfEdit(QWidget* parent = nullptr);

    void SetSample(TRawFontCache& cache, const TFontInfo& font, int pointSize, TColor fontColor,
                   TColor backColor);
    TTryOutMemo* Memo() const { return FMemo; }

private:
    TTryOutMemo* FMemo;
};
