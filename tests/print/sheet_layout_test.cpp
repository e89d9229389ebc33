#include <gtest/gtest.h>

#include <cmath>

#include "print/sheet_layout.h"

namespace {

// A sheet whose rows are exactly `rowHeight` pixels and whose page, after `margins`,
// holds exactly `rows` rows.
TSheetMetrics MetricsFor(int dpi, int rowHeight, int rows, const TSheetMargins& margins)
{
    TSheetMetrics m;
    m.DpiX = m.DpiY = dpi;
    m.LabelHeight = 20;
    m.SampleHeight = rowHeight - 50;
    m.PageWidth = 8 * dpi;
    m.PageHeight = TSheetLayout::MillimetresToPixels(margins.Top, dpi) +
                   TSheetLayout::MillimetresToPixels(margins.Bottom, dpi) + rows * rowHeight;
    return m;
}

TEST(SheetLayout, TwentyFiveFontsAtTenRowsAPageAndTheirFilters)
{
    const TSheetMargins margins{12, 25, 12, 12};
    const TSheetLayout layout(MetricsFor(600, 300, 10, margins), margins, 25);
    ASSERT_EQ(layout.RowsPerPage(), 10);
    ASSERT_EQ(layout.Pages(), 3);
    EXPECT_EQ(layout.RowCount(0), 10);
    EXPECT_EQ(layout.RowCount(2), 5);
    EXPECT_EQ(layout.RowCount(3), 0);

    // "Even pages": page 2 alone, whose rows show fonts 11 to 20 (numbered from 1).
    const std::vector<int> even = layout.PagesToPrint(-1, -1, pfEven);
    ASSERT_EQ(even, std::vector<int>{1});
    EXPECT_EQ(layout.FontIndex(1, 0) + 1, 11);
    EXPECT_EQ(layout.FontIndex(1, layout.RowCount(1) - 1) + 1, 20);

    EXPECT_EQ(layout.PagesToPrint(-1, -1, pfOdd), (std::vector<int>{0, 2}));
    EXPECT_EQ(layout.PagesToPrint(-1, -1, pfAll), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(layout.PagesToPrint(2, 2, pfOdd).empty()) << "2-2 odd selects nothing";
    EXPECT_EQ(layout.PagesToPrint(3, 3, pfAll), std::vector<int>{2});
    EXPECT_EQ(layout.PagesToPrint(2, 99, pfAll), (std::vector<int>{1, 2}));
    EXPECT_TRUE(layout.PagesToPrint(3, 1, pfAll).empty()) << "first above last";
    EXPECT_TRUE(layout.PagesToPrint(4, 9, pfAll).empty()) << "beyond the last page";
}

TEST(SheetLayout, RowsSitBelowTheTopMarginWithTheSampleCentredInItsBand)
{
    TSheetMetrics m;
    m.DpiX = m.DpiY = 600;
    m.PageWidth = 4800;
    m.PageHeight = 6600;
    m.LabelHeight = 77;
    m.SampleHeight = 151;
    const TSheetLayout layout(m, {12, 25, 12, 12}, 40);
    // 25 mm at 0.04 inch per mm and 600 dpi is 600 pixels; 12 mm is 288.
    EXPECT_EQ(layout.TopPx(), 600);
    EXPECT_EQ(layout.LeftPx(), 288);
    EXPECT_EQ(layout.BottomPx(), 288);
    EXPECT_EQ(m.RowHeight(), 258);
    EXPECT_EQ(layout.RowsPerPage(), (6600 - 600 - 288) / 258);
    EXPECT_EQ(layout.RowTop(0), 600);
    EXPECT_EQ(layout.LabelTop(2), 600 + 2 * 258 + 1);
    EXPECT_EQ(layout.SampleLeft(), 298);
    EXPECT_EQ(layout.SampleTop(0), 600 + 77 + 15);
}

TEST(SheetLayout, InitialMarginsFollowTheResolution)
{
    const TSheetMargins at600 = TSheetLayout::InitialMargins(600, 600);
    EXPECT_EQ(at600.Left, 12);
    EXPECT_EQ(at600.Right, 12);
    EXPECT_EQ(at600.Bottom, 12);
    EXPECT_EQ(at600.Top, 25);
    const TSheetMargins at300 = TSheetLayout::InitialMargins(300, 300);
    EXPECT_EQ(at300.Left, 12);
    EXPECT_EQ(at300.Bottom, 12);
    EXPECT_EQ(at300.Top, 26);
    // (96 + 20) / 96 x 25 = 30.2; an exact quotient such as 120 / 100 x 25 = 30 is not
    // lost to floating point.
    EXPECT_EQ(TSheetLayout::InitialMargins(96, 96).Top, 30);
    EXPECT_EQ(TSheetLayout::InitialMargins(100, 100).Top, 30);
    EXPECT_EQ(TSheetLayout::InitialMargins(0, 600).Top, 0) << "no resolution, no margins";
}

// The dialog's label used to count in floating point and the printing with truncated
// margins; one layout now answers both, and it must agree with the plain formulas.
TEST(SheetLayout, PageCountAgreesWithTheTruncatedMarginsOverASweep)
{
    for (int dpi : {96, 300, 360, 600}) {
        for (int top = 0; top <= 100; top += 7) {
            for (int bottom = 0; bottom <= 100; bottom += 9) {
                TSheetMetrics m;
                m.DpiX = m.DpiY = dpi;
                m.PageWidth = 8 * dpi;
                m.PageHeight = 11 * dpi;
                m.LabelHeight = dpi / 9;
                m.SampleHeight = dpi / 4;
                const TSheetLayout layout(m, {12, top, 12, bottom}, 137);
                const long topPx = static_cast<long>(std::floor(top * 0.04 * dpi + 1e-9));
                const long bottomPx = static_cast<long>(std::floor(bottom * 0.04 * dpi + 1e-9));
                const long rows = (m.PageHeight - topPx - bottomPx) / m.RowHeight();
                SCOPED_TRACE(testing::Message() << dpi << " dpi, top " << top << ", bottom " << bottom);
                if (rows <= 0) {
                    EXPECT_FALSE(layout.HasRoom());
                    EXPECT_EQ(layout.Pages(), 0);
                    continue;
                }
                EXPECT_EQ(layout.RowsPerPage(), rows);
                EXPECT_EQ(layout.Pages(), (137 + rows - 1) / rows);
                // Every font lands on exactly one printed row.
                int printed = 0;
                for (int p : layout.PagesToPrint(-1, -1, pfAll))
                    printed += layout.RowCount(p);
                EXPECT_EQ(printed, 137);
            }
        }
    }
}

TEST(SheetLayout, MarginsLeavingNoRowGiveNoPagesAndNoDivision)
{
    TSheetMetrics m;
    m.DpiX = m.DpiY = 300;
    m.PageWidth = 2400;
    m.PageHeight = 3300;
    m.LabelHeight = 40;
    m.SampleHeight = 3000;
    const TSheetLayout tooTall(m, {12, 12, 12, 12}, 10);
    EXPECT_FALSE(tooTall.HasRoom());
    EXPECT_EQ(tooTall.Pages(), 0);
    EXPECT_TRUE(tooTall.PagesToPrint(-1, -1, pfAll).empty());

    m.SampleHeight = 100;
    m.PageHeight = 2000;
    const TSheetLayout marginsOverlap(m, {0, 100, 0, 100}, 10);
    EXPECT_FALSE(marginsOverlap.HasRoom()) << "the margins cover more than the page";
    EXPECT_EQ(marginsOverlap.Pages(), 0);

    const TSheetLayout noFonts(m, {12, 25, 12, 12}, 0);
    EXPECT_TRUE(noFonts.HasRoom());
    EXPECT_EQ(noFonts.Pages(), 0);
    EXPECT_TRUE(noFonts.PagesToPrint(-1, -1, pfAll).empty());
}

TEST(PageRange, SinglePagesRangesAndRefusals)
{
    int first = 0;
    int last = 0;
    ASSERT_TRUE(ParsePageRange(" 3 ", first, last));
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 3);
    ASSERT_TRUE(ParsePageRange("5-12", first, last));
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 12);
    ASSERT_TRUE(ParsePageRange(" 2 - 2 ", first, last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 2);
    ASSERT_TRUE(ParsePageRange("7-3", first, last)) << "accepted, prints nothing";
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 3);

    first = last = 42;
    for (const char* bad : {"3-", "-3", "x", "", "99999999999", "1-99999999999", "3a", "1.5",
                            " ", "-", "1 2"}) {
        EXPECT_FALSE(ParsePageRange(bad, first, last)) << '"' << bad << '"';
        EXPECT_EQ(first, 42) << "a refused text leaves the range alone";
    }
}

}  // namespace
