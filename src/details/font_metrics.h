#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The vertical and width metrics of a face in whole pixels at one size, computed from the
// font file's own `head`, `hhea` and `OS/2` tables. A value a table cannot give (the table is
// missing or too short, unitsPerEm is 0) is empty rather than 0 or garbage.
struct TFontMetrics {
    std::optional<int> Height;           // round(usWinAscent) + round(usWinDescent)
    std::optional<int> Ascent;           // sTypoAscender
    std::optional<int> Descent;          // sTypoDescender, negative below the baseline
    std::optional<int> LineGap;          // sTypoLineGap
    std::optional<int> ExternalLeading;  // hhea line gap beyond the win box, at least 0
    std::optional<int> InternalLeading;  // Height - ppem
    std::optional<int> AvgCharWidth;     // xAvgCharWidth
    std::optional<int> MaxCharWidth;     // hhea advanceWidthMax
};

// The pixels per em the properties window measures at: 8 points at `logicalDpi`
// (11 at 96 dots per inch).
int MetricsPpem(double logicalDpi);

// `value` font units in pixels: value x ppem / unitsPerEm, rounded half away from zero.
// `unitsPerEm` must not be 0.
int ScaleUnits(int64_t value, int ppem, int unitsPerEm);

// The metrics at `ppem` from the bytes of the three tables (each may be empty). Every field
// is read only when its table holds it.
TFontMetrics ComputeFontMetrics(std::span<const uint8_t> head, std::span<const uint8_t> hhea,
                                std::span<const uint8_t> os2, int ppem);

// "13 px", or "–" for a value that could not be computed.
std::string MetricText(const std::optional<int>& value);
