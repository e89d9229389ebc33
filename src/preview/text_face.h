#pragma once

#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QSize>
#include <QString>

#include "preview/font_styles.h"

class QPainter;
class TFontInfo;
class TRawFontCache;

// A face, size and style to draw single lines of text in, of one of two kinds.
//
// The exact face of a font file is a QRawFont loaded from that file. Qt resolves a QFont by
// family and style only, so two files that declare the same family and style (a font of a
// listed folder and an installed one) cannot be told apart by a QFont; glyphs taken from the
// file itself always come from the right one. The file's character map gives the glyphs;
// characters it has no glyph for are drawn in a fallback QFont, which Qt resolves through its
// usual font fallback, as any desktop program would show them (the Hangul of a sample in a
// Latin font, say). Styles the file's own face lacks are synthesised the way FreeType-based
// desktops do: italic as a shear of 0.2 (about 11 degrees) about the baseline, bold as a
// second pass offset to the right by 1/24 of the pixel size; underline and strike-out are
// lines at the position and thickness the font declares.
//
// A face by family (fonts known only by a name) is a QFont with the style set on it; Qt
// picks the face, substitutes a missing family and synthesises what is missing.
//
// Sizes follow Qt's conversion of points at the screen's logical resolution, so a QFont of
// the same point size drawn on a QImage has the same pixel size.
class TTextFace {
public:
    // An empty face: draws nothing, measures 0 x 0.
    TTextFace() = default;
    // The exact face of `raw` at its pixel size. Characters the file lacks are drawn in
    // `fallback`, given the same pixel size and the style here. `enlarged`, when given, is
    // the same face without hinting, ideally at the size Scaled will be asked for: a face
    // enlarged for supersampling is drawn from it, as hinting to the finer grid only costs
    // time and is averaged away.
    static TTextFace FromRawFont(const QRawFont& raw, QFont fallback, TFontStyles style,
                                 const QRawFont& enlarged = QRawFont());
    // A face by family: `font` with its size, and the style set on it here.
    static TTextFace FromFont(QFont font, TFontStyles style);

    // Pixels per point at the screen's logical resolution.
    static qreal PixelsPerPoint();

    bool IsNull() const { return FKind == kNone; }
    bool IsExact() const { return FKind == kRaw; }
    const QRawFont& RawFont() const { return FRaw; }
    const QFont& Font() const { return FFont; }
    TFontStyles Style() const { return FStyle; }
    qreal PixelSize() const;

    // Cell metrics of one line, in whole pixels.
    int Ascent() const;
    int Height() const;
    int LineSpacing() const;
    // Advance width of one line, rounded up.
    int Advance(const QString& line) const;
    // Width and height of the line's cell box.
    QSize Extent(const QString& line) const { return {Advance(line), Height()}; }
    // The start of the line up to the last character whose glyph begins left of `width`
    // (kerning left aside).
    QString VisiblePrefix(const QString& line, qreal width) const;

    // Draws one line in the painter's pen colour with the top-left corner of its cell at
    // `topLeft`. Line breaks are not interpreted.
    void Draw(QPainter& painter, QPointF topLeft, const QString& line) const;

    // The same face at `factor` times the size (unhinted where an enlarged face was given).
    TTextFace Scaled(int factor) const;

private:
    enum TKind { kNone, kRaw, kFont };
    // A stretch of a line drawn in one of the two faces.
    struct TSegment {
        bool exact;
        QString text;
        QList<quint32> glyphs;
    };

    QList<TSegment> Split(const QString& line) const;
    qreal SegmentAdvance(const TSegment& segment) const;
    void DrawGlyphs(QPainter& painter, QPointF baseline, const TSegment& segment) const;
    void DrawDecorations(QPainter& painter, QPointF baseline, qreal width) const;
    void DrawFontText(QPainter& painter, QPointF baseline, const QString& text) const;

    TKind FKind = kNone;
    QRawFont FRaw;
    QRawFont FEnlarged;
    // The family face, or the fallback of an exact face.
    QFont FFont;
    TFontStyles FStyle;
    bool FSynthBold = false;
    bool FSynthItalic = false;
};

// The face to draw a record in: the exact face of its file, loaded through `cache` (so a file
// is read once however many windows draw it), or, for a record without a readable file, its
// name taken as a family on `base`. `pixelSize` is the size in pixels; `supersample` > 1 also
// prepares the unhinted face that Scaled(supersample) draws from.
TTextFace RecordFace(TRawFontCache& cache, const TFontInfo& font, qreal pixelSize,
                     TFontStyles style, const QFont& base, int supersample = 1);
