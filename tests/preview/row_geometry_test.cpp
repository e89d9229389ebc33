#include <gtest/gtest.h>

#include "preview/row_geometry.h"

namespace {

TEST(RowGeometry, PageSizeCountsAPartlyVisibleLastRow)
{
    EXPECT_EQ(TRowGeometry(60, 13, 400, 240).PageSize(), 4);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 210).PageSize(), 4);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 181).PageSize(), 4);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 180).PageSize(), 3);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 0).PageSize(), 0);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 59).PageSize(), 1);
    // An item height of 0 (before anything was measured) divides nothing by zero.
    EXPECT_EQ(TRowGeometry(0, 13, 400, 100).ItemHeight(), 1);
}

TEST(RowGeometry, LastRowCountsWhenHalfOfItShows)
{
    // Remainder 0: whole rows only.
    EXPECT_EQ(TRowGeometry(60, 13, 400, 240).PartialRow(), 0);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 240).ScrollInShift(), 1);
    // Less than half of the last row shows.
    EXPECT_EQ(TRowGeometry(60, 13, 400, 209).PartialRow(), 1);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 209).ScrollInShift(), 1);
    // Exactly half, and more.
    EXPECT_EQ(TRowGeometry(60, 13, 400, 210).PartialRow(), 0);
    EXPECT_EQ(TRowGeometry(60, 13, 400, 210).ScrollInShift(), 0);
    EXPECT_EQ(TRowGeometry(61, 13, 400, 213).PartialRow(), 0);  // half of 61 is 30
    EXPECT_EQ(TRowGeometry(61, 13, 400, 212).PartialRow(), 1);
}

TEST(RowGeometry, LargestTopLeavesOneEmptyRow)
{
    const TRowGeometry page(60, 13, 400, 240);
    EXPECT_EQ(page.MaxTopItem(10), 7);
    EXPECT_EQ(page.MaxTopItem(4), 1);
    EXPECT_EQ(page.MaxTopItem(3), 0);
    EXPECT_EQ(page.MaxTopItem(0), 0);
}

TEST(RowGeometry, ItemAtCountsRowsFromTheTopItem)
{
    const TRowGeometry page(60, 13, 400, 210);
    EXPECT_EQ(page.ItemAt(0, 0, 5, 20), 5);
    EXPECT_EQ(page.ItemAt(399, 59, 5, 20), 5);
    EXPECT_EQ(page.ItemAt(10, 60, 5, 20), 6);
    EXPECT_EQ(page.ItemAt(10, 209, 5, 20), 8);
    EXPECT_EQ(page.ItemAt(10, 209, 5, 6), 8);  // not limited to the records
    EXPECT_EQ(page.ItemAt(10, 210, 5, 20), -1);
    EXPECT_EQ(page.ItemAt(400, 10, 5, 20), -1);
    EXPECT_EQ(page.ItemAt(-1, 10, 5, 20), -1);
    EXPECT_EQ(page.ItemAt(10, 10, 0, 0), -1);
}

TEST(RowGeometry, RowElementsLieWhereTheLayoutPutsThem)
{
    const TRowGeometry row(60, 13, 400, 240);
    const int top = row.RowTop(7, 5);
    EXPECT_EQ(top, 120);
    EXPECT_EQ(row.RowRect(top), QRect(0, 120, 400, 60));
    EXPECT_EQ(row.EraseRect(top), QRect(0, 121, 400, 59));
    EXPECT_EQ(row.BandRect(top), QRect(0, 120, 400, 15));
    EXPECT_EQ(row.NameRect(top), QRect(4, 121, 395, 13));
    EXPECT_EQ(row.FileInfoRect(top, 80), QRect(310, 121, 89, 13));
    EXPECT_EQ(row.PlainSampleRect(top), QRect(10, 141, 389, 38));
    // The anti-aliased bitmap is ItemHeight - NameHeight + 8 high: 16 pixels into the next row.
    EXPECT_EQ(row.AntiAliasRect(top), QRect(0, 141, 400, 55));
    EXPECT_EQ(row.AntiAliasRect(top).bottom() + 1, row.RowRect(top).bottom() + 1 + 16);
    EXPECT_EQ(row.SeparatorY(top), 179);
    // Too narrow for the sample: empty, not negative.
    EXPECT_TRUE(TRowGeometry(60, 13, 8, 240).PlainSampleRect(0).isEmpty());
}

}  // namespace
