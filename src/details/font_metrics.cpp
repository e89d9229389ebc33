#include "details/font_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Big-endian fields at `offset`, empty when the table is too short to hold them.
std::optional<uint16_t> U16(std::span<const uint8_t> table, std::size_t offset)
{
    if (table.size() < offset + 2)
        return std::nullopt;
    return static_cast<uint16_t>(table[offset] << 8 | table[offset + 1]);
}

std::optional<int16_t> S16(std::span<const uint8_t> table, std::size_t offset)
{
    const auto value = U16(table, offset);
    if (!value)
        return std::nullopt;
    return static_cast<int16_t>(*value);
}

// Offsets of the fields read.
constexpr std::size_t HeadUnitsPerEm = 18;
constexpr std::size_t HheaAscender = 4;
constexpr std::size_t HheaDescender = 6;
constexpr std::size_t HheaLineGap = 8;
constexpr std::size_t HheaAdvanceWidthMax = 10;
constexpr std::size_t Os2AvgCharWidth = 2;
constexpr std::size_t Os2TypoAscender = 68;
constexpr std::size_t Os2TypoDescender = 70;
constexpr std::size_t Os2TypoLineGap = 72;
constexpr std::size_t Os2WinAscent = 74;
constexpr std::size_t Os2WinDescent = 76;

}  // namespace

int MetricsPpem(double logicalDpi)
{
    return static_cast<int>(std::lround(8.0 * logicalDpi / 72.0));
}

int ScaleUnits(int64_t value, int ppem, int unitsPerEm)
{
    const int64_t product = value * ppem;
    const int64_t magnitude = (2 * std::llabs(product) + unitsPerEm) / (2 * int64_t{unitsPerEm});
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

TFontMetrics ComputeFontMetrics(std::span<const uint8_t> head, std::span<const uint8_t> hhea,
                                std::span<const uint8_t> os2, int ppem)
{
    TFontMetrics metrics;
    const auto unitsPerEm = U16(head, HeadUnitsPerEm);
    if (!unitsPerEm || *unitsPerEm == 0 || ppem <= 0)
        return metrics;
    const int upem = *unitsPerEm;
    const auto scale = [&](auto value) -> std::optional<int> {
        if (!value)
            return std::nullopt;
        return ScaleUnits(*value, ppem, upem);
    };

    metrics.Ascent = scale(S16(os2, Os2TypoAscender));
    metrics.Descent = scale(S16(os2, Os2TypoDescender));
    metrics.LineGap = scale(S16(os2, Os2TypoLineGap));
    metrics.AvgCharWidth = scale(S16(os2, Os2AvgCharWidth));
    metrics.MaxCharWidth = scale(U16(hhea, HheaAdvanceWidthMax));

    const auto winAscent = U16(os2, Os2WinAscent);
    const auto winDescent = U16(os2, Os2WinDescent);
    if (winAscent && winDescent) {
        metrics.Height = ScaleUnits(*winAscent, ppem, upem) + ScaleUnits(*winDescent, ppem, upem);
        metrics.InternalLeading = *metrics.Height - ppem;
        const auto ascender = S16(hhea, HheaAscender);
        const auto descender = S16(hhea, HheaDescender);
        const auto lineGap = S16(hhea, HheaLineGap);
        if (ascender && descender && lineGap) {
            // The part of the hhea line gap that the win box does not already cover.
            const int64_t extra = int64_t{*lineGap} -
                                  (int64_t{*winAscent} + *winDescent - (*ascender - *descender));
            metrics.ExternalLeading = ScaleUnits(std::max<int64_t>(0, extra), ppem, upem);
        }
    }
    return metrics;
}

std::string MetricText(const std::optional<int>& value)
{
    return value ? std::to_string(*value) + " px" : "\u2013";
}
