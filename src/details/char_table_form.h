#pragma once

#include <QDialog>

class QLabel;
class TXPButton;
class TCharGrid;
class TFontInfo;
class TGlyphEdit;
class TGlyphLabel;
class TRawFontCache;

// The character map of one font: its printable one-byte characters in a grid, the chosen one
// large with its code, and a box collecting characters for the clipboard. Everything is
// drawn in the record's exact face from the preview's face cache.
class TfCharTable : public QDialog {
    Q_OBJECT
public:
    static constexpr int CellPointSize = 11;
    static constexpr int CharPixelSize = 52;
    static constexpr int EditPixelSize = 19;

    TfCharTable(TRawFontCache& cache, const TFontInfo& font, QWidget* parent = nullptr);

    // Makes the first cell ("!") current and empties eChars.
    void FormShow();
    void sgTableSelectCell(int col, int row);
    // Appends the current cell's character to eChars (nothing for an empty cell).
    void bbSelectClick();
    void bbCopyClick();

    TCharGrid* sgTable = nullptr;
    TGlyphLabel* lChar = nullptr;
    QLabel* Hex = nullptr;
    QLabel* Decimal = nullptr;
    TGlyphEdit* eChars = nullptr;
    TXPButton* XPButton1 = nullptr;
    TXPButton* XPButton2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
