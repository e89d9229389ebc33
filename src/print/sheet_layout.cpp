#include "print/sheet_layout.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

// Whole pixels of `millimetres`, never negative.
int Pixels(int millimetres, int dpi)
{
    if (millimetres <= 0 || dpi <= 0)
        return 0;
    return static_cast<int>(std::int64_t{millimetres} * dpi / 25);
}

std::string Trimmed(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool ParseInt(const std::string& text, int& value)
{
    const std::string number = Trimmed(text);
    if (number.empty())
        return false;
    const char* end = number.data() + number.size();
    const auto [ptr, error] = std::from_chars(number.data(), end, value);
    return error == std::errc() && ptr == end;
}

}  // namespace

TSheetLayout::TSheetLayout(const TSheetMetrics& metrics, const TSheetMargins& margins,
                           int fontCount)
    : FMetrics(metrics),
      FFontCount(std::max(fontCount, 0)),
      FLeftPx(Pixels(margins.Left, metrics.DpiX)),
      FTopPx(Pixels(margins.Top, metrics.DpiY)),
      FRightPx(Pixels(margins.Right, metrics.DpiX)),
      FBottomPx(Pixels(margins.Bottom, metrics.DpiY))
{
    const std::int64_t room = std::int64_t{metrics.PageHeight} - FTopPx - FBottomPx;
    const int rowHeight = metrics.RowHeight();
    if (room > 0 && rowHeight > 0)
        FRowsPerPage = static_cast<int>(std::min<std::int64_t>(room / rowHeight, INT32_MAX));
    if (FRowsPerPage > 0)
        FPages = FFontCount / FRowsPerPage + (FFontCount % FRowsPerPage != 0 ? 1 : 0);
}

TSheetMargins TSheetLayout::InitialMargins(int dpiX, int dpiY)
{
    if (dpiX <= 0 || dpiY <= 0)
        return {};
    // Integer arithmetic gives the exact truncation of (a / dpiX) x 25.
    const auto mm = [dpiX](std::int64_t dots) {
        return static_cast<int>(std::clamp<std::int64_t>(dots * 25 / dpiX, 0, 100));
    };
    TSheetMargins margins;
    margins.Left = mm(dpiX - dpiX / 2);
    margins.Right = margins.Left;
    margins.Top = mm(std::int64_t{dpiY} + 20);
    margins.Bottom = mm(dpiY - dpiY / 2);
    return margins;
}

int TSheetLayout::MillimetresToPixels(int millimetres, int dpi)
{
    return Pixels(millimetres, dpi);
}

std::vector<int> TSheetLayout::PagesToPrint(int first, int last, TPageFilter filter) const
{
    const bool ranged = !(first == -1 && last == -1);
    std::vector<int> pages;
    for (int p = 0; p < FPages; ++p) {
        const int n = p + 1;
        if ((filter == pfOdd && n % 2 == 0) || (filter == pfEven && n % 2 != 0))
            continue;
        if (ranged && (n < first || n > last))
            continue;
        pages.push_back(p);
    }
    return pages;
}

int TSheetLayout::RowCount(int page) const
{
    if (page < 0 || page >= FPages)
        return 0;
    const std::int64_t before = std::int64_t{page} * FRowsPerPage;
    return static_cast<int>(std::min<std::int64_t>(FRowsPerPage, FFontCount - before));
}

int TSheetLayout::FontIndex(int page, int row) const
{
    return static_cast<int>(std::int64_t{page} * FRowsPerPage + row);
}

int TSheetLayout::RowTop(int row) const
{
    return FTopPx + row * FMetrics.RowHeight();
}

int TSheetLayout::SampleTop(int row) const
{
    const int label = FMetrics.LabelHeight;
    return RowTop(row) + label + (FMetrics.RowHeight() - label - FMetrics.SampleHeight) / 2;
}

bool ParsePageRange(const std::string& text, int& first, int& last)
{
    if (text.empty())
        return false;
    const std::size_t dash = text.find('-');
    int a = 0;
    int b = 0;
    if (dash == std::string::npos) {
        if (!ParseInt(text, a))
            return false;
        b = a;
    } else if (!ParseInt(text.substr(0, dash), a) || !ParseInt(text.substr(dash + 1), b)) {
        return false;
    }
    first = a;
    last = b;
    return true;
}
