#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "text/font_face.h"

// One glyph of a shaped line, in visual order. Positions are in 1/64 pixel from the line's
// origin on the baseline, y growing upwards (HarfBuzz's convention).
struct TShapedGlyph {
    // Index into TShapedLine::Faces: 0 is the line's own face, others lend glyphs.
    int Face = 0;
    uint32_t Glyph = 0;
    // UTF-16 index of the first character of the glyph's cluster.
    int Cluster = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Advance = 0;
};

struct TShapedLine {
    std::vector<TFontFacePtr> Faces;
    std::vector<TShapedGlyph> Glyphs;
    int32_t Width = 0;
    // Characters of the line, and those drawn from a face other than the line's own.
    int Characters = 0;
    int Borrowed = 0;
};

// What to borrow glyphs in: the weight and slant of the faces lending them.
struct TFallbackStyle {
    bool Enabled = true;
    int Weight = 400;
    bool Italic = false;
};

// Shapes one line of text in `face` at `pixelSize`: the Unicode bidirectional algorithm orders
// it (paragraph direction from its first strong character), it is itemised by script,
// direction and face, and every run is shaped by HarfBuzz with its default features (kerning
// and standard ligatures among them). Characters the face lacks come from fallback faces
// (TFallbackFaces), shaped too; combining marks and joiners stay with the character before.
TShapedLine ShapeLine(const TFontFacePtr& face, const QString& line, double pixelSize,
                      const TFallbackStyle& fallback = {});

// The same characters looked up one by one in logical order, each with its nominal advance:
// no shaping, no reordering. For comparisons and measurements only.
TShapedLine LookUpLine(const TFontFacePtr& face, const QString& line, double pixelSize,
                       const TFallbackStyle& fallback = {});
