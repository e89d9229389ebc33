#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "preview/text_face.h"

// The character map's grid: 16 columns by 12 rows of 24-pixel cells with 1-pixel grid lines,
// holding the printable one-byte codes 33-126 and 160-255 (Latin-1, so the code is also the
// Unicode value) in a face. A code the face's file has no glyph for is greyed: the grid shows
// what the font has, never a fallback font's glyph. The last two cells are empty.
class TCharGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColCount = 16;
    static constexpr int RowCount = 12;
    static constexpr int CellSize = 24;
    static constexpr int LineWidth = 1;
    static constexpr int CodeCount = 190;

    explicit TCharGrid(QWidget* parent = nullptr);

    // The code of cell (col, row): k + 33 for k = col + 16 x row up to 93, k + 66 beyond;
    // -1 for the empty cells and outside the grid.
    static int CodeAt(int col, int row);

    // `face` draws the cells; the characters it has are those of its file's face, or for a
    // face by family those of the face Qt picked for it.
    void SetFace(const TTextFace& face);
    bool HasGlyph(int code) const;

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    // Makes (col, row) current, clamped to the grid, and raises OnSelectCell.
    void SetCell(int col, int row);
    QRect CellRect(int col, int row) const;

    // After the current cell changed.
    std::function<void(int col, int row)> OnSelectCell;
    // Enter or a double-click on a cell.
    std::function<void()> OnSelect;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool CellAt(QPoint point, int& col, int& row) const;

    TTextFace FFace;
    // Whether the face has a glyph for each code 0-255.
    std::array<bool, 256> FPresent{};
    int FCol = 0;
    int FRow = 0;
};
