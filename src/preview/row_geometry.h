#pragma once

#include <QRect>

// Where the rows of the preview list lie in its client area. Painting, hit-testing and
// scrolling all take their numbers from here.
//
// All rows are ItemHeight pixels high; the row of record i is drawn at
// top = (i - topItem) * ItemHeight. Inside a row (W the client width, rectangles as left,
// top, right, bottom with right and bottom exclusive):
//   band of the current item     0, top, W, top + NameHeight + 2
//   name text                    4, top + 1, W - 1, top + NameHeight + 1
//   file information text        W - its width - 10, top + 1, W - 1, top + NameHeight + 1
//   plain sample                 10, top + NameHeight + 8, W - 1, top + ItemHeight - 1
//   anti-aliased sample bitmap   0, top + NameHeight + 8, W, top + ItemHeight + 16
//   separator line               y = top + ItemHeight - 1, x from 0 to W - 1
// The anti-aliased bitmap reaches 16 pixels into the next row.
class TRowGeometry {
public:
    TRowGeometry() = default;
    // An item height below 1 counts as 1.
    TRowGeometry(int itemHeight, int nameHeight, int clientWidth, int clientHeight);

    int ItemHeight() const { return FItemHeight; }
    int NameHeight() const { return FNameHeight; }
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }

    // Rows the client area holds, a partly visible last row included.
    int PageSize() const;
    // 1 when the last row is partly visible and shows less than half of itself: such a row
    // does not count as showing its item.
    int PartialRow() const;
    // Extra rows to scroll when an item below the visible rows is brought into view: 1 when
    // the last row shows less than half of itself, a whole last row (remainder 0) included,
    // so that with an exact fit the item stops on the second-last row.
    int ScrollInShift() const;
    // Largest first row for `count` records: the last records and one empty row fit below.
    int MaxTopItem(int count) const;

    int RowTop(int index, int topItem) const { return (index - topItem) * FItemHeight; }
    // The index shown at client point (x, y), not limited to the records; -1 when there are
    // no records or the point lies outside the client area.
    int ItemAt(int x, int y, int topItem, int count) const;

    QRect ClientRect() const { return {0, 0, FClientWidth, FClientHeight}; }
    QRect RowRect(int top) const { return {0, top, FClientWidth, FItemHeight}; }
    QRect EraseRect(int top) const;
    QRect BandRect(int top) const;
    QRect NameRect(int top) const;
    QRect FileInfoRect(int top, int textWidth) const;
    QRect PlainSampleRect(int top) const;
    QRect AntiAliasRect(int top) const;
    int SeparatorY(int top) const { return top + FItemHeight - 1; }

private:
    int FItemHeight = 1;
    int FNameHeight = 0;
    int FClientWidth = 0;
    int FClientHeight = 0;
};
