#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The four page margins in whole millimetres.
struct TSheetMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Which pages of the range are printed.
enum TPageFilter : std::uint8_t { pfAll = 0, pfOdd = 1, pfEven = 2 };

// What a printer measures for one sample sheet, in its device pixels: the printable area,
// the resolutions and the heights of the label face and of the sample face.
struct TSheetMetrics {
    int PageWidth = 0;
    int PageHeight = 0;
    int DpiX = 0;
    int DpiY = 0;
    int LabelHeight = 0;
    int SampleHeight = 0;

    // A row holds the label, the sample and 30 pixels of air.
    int RowHeight() const { return LabelHeight + SampleHeight + 30; }
};

// The geometry of a sample sheet: where the margins lie in pixels, how many rows fit on a
// page, how many pages the fonts take, which pages a range and filter select and which font
// each row shows. The print dialog's page count and the printing itself both ask this one
// object, so they always agree.
class TSheetLayout {
public:
    TSheetLayout(const TSheetMetrics& metrics, const TSheetMargins& margins, int fontCount);

    // The margins a new dialog starts with, for the printer's resolutions: 12 mm left, right
    // and bottom at any even resolution, and a top margin 20 dots larger (25 mm at 600 dpi,
    // 26 at 300), each truncated toward zero.
    static TSheetMargins InitialMargins(int dpiX, int dpiY);
    // Millimetres to device pixels at 0.04 inch per millimetre (a laser printer's offsets
    // were tuned to it), truncated toward zero.
    static int MillimetresToPixels(int millimetres, int dpi);

    const TSheetMetrics& Metrics() const { return FMetrics; }
    int FontCount() const { return FFontCount; }
    int LeftPx() const { return FLeftPx; }
    int TopPx() const { return FTopPx; }
    int RightPx() const { return FRightPx; }
    int BottomPx() const { return FBottomPx; }

    // Rows that fit between the top and bottom margins; 0 when not even one does.
    int RowsPerPage() const { return FRowsPerPage; }
    bool HasRoom() const { return FRowsPerPage > 0; }
    // Pages the fonts take; 0 without fonts or without room for a row.
    int Pages() const { return FPages; }

    // The pages (0-based) to print: those numbered (from 1) first..last that pass the
    // filter. first = last = -1 means every page.
    std::vector<int> PagesToPrint(int first, int last, TPageFilter filter) const;
    // Rows on page `page`: RowsPerPage, fewer on the last page.
    int RowCount(int page) const;
    // Index in the font list of row `row` of page `page`; numbering runs through the list.
    int FontIndex(int page, int row) const;

    // Top of row `row` of a page, and where its label and sample cells start.
    int RowTop(int row) const;
    int LabelTop(int row) const { return RowTop(row) + 1; }
    int SampleLeft() const { return FLeftPx + 10; }
    int SampleTop(int row) const;

private:
    TSheetMetrics FMetrics;
    int FFontCount;
    int FLeftPx;
    int FTopPx;
    int FRightPx;
    int FBottomPx;
    int FRowsPerPage = 0;
    int FPages = 0;
};

// Reads the page text of the dialog: a single page ("3", blanks around allowed) or a range
// "first-last" split at the first "-", each part a decimal integer within int. False for
// an empty text, a missing part or anything that is not such a number.
bool ParsePageRange(const std::string& text, int& first, int& last);
