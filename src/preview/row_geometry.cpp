#include "preview/row_geometry.h"

#include <algorithm>

namespace {

// A rectangle from its edges, right and bottom exclusive; empty when they cross.
QRect Edges(int left, int top, int right, int bottom)
{
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

}  // namespace

TRowGeometry::TRowGeometry(int itemHeight, int nameHeight, int clientWidth, int clientHeight)
    : FItemHeight(std::max(itemHeight, 1)),
      FNameHeight(nameHeight),
      FClientWidth(std::max(clientWidth, 0)),
      FClientHeight(std::max(clientHeight, 0))
{
}

int TRowGeometry::PageSize() const
{
    return FClientHeight / FItemHeight + (FClientHeight % FItemHeight != 0 ? 1 : 0);
}

int TRowGeometry::PartialRow() const
{
    const int rem = FClientHeight % FItemHeight;
    return rem != 0 && rem < FItemHeight / 2 ? 1 : 0;
}

int TRowGeometry::ScrollInShift() const
{
    return FClientHeight % FItemHeight < FItemHeight / 2 ? 1 : 0;
}

int TRowGeometry::MaxTopItem(int count) const { return std::max(count - PageSize() + 1, 0); }

int TRowGeometry::ItemAt(int x, int y, int topItem, int count) const
{
    if (count <= 0 || !ClientRect().contains(x, y))
        return -1;
    return y / FItemHeight + topItem;
}

QRect TRowGeometry::EraseRect(int top) const
{
    return Edges(0, top + 1, FClientWidth, top + FItemHeight);
}

QRect TRowGeometry::BandRect(int top) const
{
    return Edges(0, top, FClientWidth, top + FNameHeight + 2);
}

QRect TRowGeometry::NameRect(int top) const
{
    return Edges(4, top + 1, FClientWidth - 1, top + FNameHeight + 1);
}

QRect TRowGeometry::FileInfoRect(int top, int textWidth) const
{
    return Edges(FClientWidth - textWidth - 10, top + 1, FClientWidth - 1, top + FNameHeight + 1);
}

QRect TRowGeometry::PlainSampleRect(int top) const
{
    return Edges(10, top + FNameHeight + 8, FClientWidth - 1, top + FItemHeight - 1);
}

QRect TRowGeometry::AntiAliasRect(int top) const
{
    return Edges(0, top + FNameHeight + 8, FClientWidth, top + FItemHeight + 16);
}
