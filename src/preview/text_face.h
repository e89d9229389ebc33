#pragma once

#include <memory>
#include <string>

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QString>

#include "preview/font_styles.h"
#include "text/font_face.h"
#include "text/shaper.h"

class QImage;
class QPainter;
class TFontInfo;
class TRawFontCache;

// A face, size and style to draw single lines of text in: the one text-drawing core through
// which every font sample of the program is drawn.
//
// The exact face of a font file is that face of the file itself (its face index in a
// collection), read by FreeType and HarfBuzz. Qt resolves a QFont by family and style only,
// so two files that declare the same family and style cannot be told apart by a QFont; a face
// taken from the file always is the right one. Every line is ordered by the Unicode
// bidirectional algorithm and shaped by HarfBuzz against the face (joining, reordering,
// marks, kerning, ligatures); characters the face lacks are borrowed from a fallback face
// that fontconfig finds, in the file's own weight and slant, shaped too. Glyphs are
// rasterised by FreeType into coverage that a shared cache keeps (text/glyph_raster.h).
//
// Weight and slant come from the file (OS/2 and head). Styles the face lacks are synthesised:
// bold by thickening the outlines by 1/24 of the size, italic as a shear of 0.2 (about 11
// degrees) about the baseline; underline and strike-out are lines at the position and
// thickness the font declares.
//
// A face by family (fonts known only by a name) is a QFont with the style set on it; Qt
// shapes, picks the face, substitutes a missing family and synthesises what is missing.
//
// Sizes follow Qt's conversion of points at the screen's logical resolution, so a QFont of
// the same point size drawn on a QImage has the same pixel size.
class TTextFace {
public:
    // An empty face: draws nothing, measures 0 x 0.
    TTextFace() = default;
    // The face `face` of a file at `pixelSize` pixels. `fallback` only names the font the
    // Font() accessor reports; borrowed glyphs come from fontconfig's choice.
    static TTextFace FromFile(TFontFacePtr face, qreal pixelSize, QFont fallback,
                              TFontStyles style);
    // The exact face of a QRawFont (its tables are read back into a font of its own).
    // `enlarged` is accepted for callers of the earlier interface and not needed any more.
    static TTextFace FromRawFont(const QRawFont& raw, QFont fallback, TFontStyles style,
                                 const QRawFont& enlarged = QRawFont());
    // A face by family: `font` with its size, and the style set on it here.
    static TTextFace FromFont(QFont font, TFontStyles style);
    // A face that cannot be drawn, with the reason shown instead of a sample.
    static TTextFace Broken(std::string reason);

    // Pixels per point at the screen's logical resolution.
    static qreal PixelsPerPoint();

    bool IsNull() const { return FKind == kNone; }
    bool IsExact() const { return FKind == kFile; }
    // Why the face cannot be drawn; empty for a face that can.
    const std::string& Problem() const { return FProblem; }
    const TFontFacePtr& FileFace() const { return FFace; }
    // A QRawFont of the face's file at the face's size (for reading its tables); invalid for
    // a face by family.
    QRawFont RawFont() const;
    const QFont& Font() const { return FFont; }
    TFontStyles Style() const { return FStyle; }
    qreal PixelSize() const;
    // Whether the drawing thickens or shears the outlines of the file's own glyphs.
    bool SynthesisesBold() const { return FSynthBold; }
    bool SynthesisesItalic() const { return FSynthItalic; }

    // Colour of glyphs borrowed from a fallback face; invalid (the default) draws them like
    // the face's own.
    const QColor& BorrowedColor() const { return FBorrowedColor; }
    void SetBorrowedColor(const QColor& color) { FBorrowedColor = color; }

    // Cell metrics of one line, in whole pixels.
    int Ascent() const;
    int Height() const;
    int LineSpacing() const;
    // Advance width of one shaped line, rounded up.
    int Advance(const QString& line) const;
    // Width and height of the line's cell box.
    QSize Extent(const QString& line) const { return {Advance(line), Height()}; }
    // The start of the line up to the last character whose glyph begins left of `width`.
    QString VisiblePrefix(const QString& line, qreal width) const;
    // The line shaped at `scale` times the face's size (glyph ids, positions, faces used).
    TShapedLine Shape(const QString& line, qreal scale = 1) const;
    // Characters of the line, and how many of them are borrowed from other faces.
    std::pair<int, int> BorrowedCount(const QString& line) const;

    // Draws one line in the painter's pen colour with the top-left corner of its cell at
    // `topLeft`. Line breaks are not interpreted. On images, pixmaps and widgets (without
    // scaling) the glyphs come from the coverage cache, at the device's pixel ratio; on
    // printers and scaled painters they are drawn as outlines.
    void Draw(QPainter& painter, QPointF topLeft, const QString& line) const;
    // Draws one line of an exact face straight into `target` (RGB32 or
    // ARGB32_Premultiplied), at the target's device pixel ratio, with the top-left corner of
    // its cell at `topLeft` in the target's logical pixels. `level` 0 draws hinted glyphs at
    // whole pixels; 1 to 4 supersample 2^level x 2^level per pixel. Thread-safe: any thread
    // may draw into its own image. A face by family does nothing here.
    void Paint(QImage& target, QPointF topLeft, const QString& line, QRgb color,
               int level = 0) const;

    // The same face at `factor` times the size.
    TTextFace Scaled(int factor) const;

private:
    enum TKind { kNone, kFile, kFont };

    TFallbackStyle FallbackStyle() const;
    void DrawOutlines(QPainter& painter, QPointF baseline, const TShapedLine& shaped) const;
    void DrawDecorations(QPainter& painter, QPointF baseline, qreal width, qreal scale) const;

    TKind FKind = kNone;
    TFontFacePtr FFace;
    qreal FPixelSize = 0;
    // The family face, or what an exact face reports as its fallback.
    QFont FFont;
    TFontStyles FStyle;
    bool FSynthBold = false;
    bool FSynthItalic = false;
    QColor FBorrowedColor;
    std::string FProblem;
};

// The face to draw a record in: the exact face of its file (the record's face index), loaded
// through `cache` (so a file is read once however many windows draw it); for a record without
// a file name, its name taken as a family on `base`. A file that cannot be read or that
// FreeType refuses gives a Broken face saying why. `supersample` is accepted for callers of
// the earlier interface.
TTextFace RecordFace(TRawFontCache& cache, const TFontInfo& font, qreal pixelSize,
                     TFontStyles style, const QFont& base, int supersample = 1);
