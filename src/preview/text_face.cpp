#include "preview/text_face.h"

#include "fonts/font_info.h"
#include "preview/raw_font_cache.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTransform>

namespace {

// Horizontal shear of synthesised italics (x moves by -0.2 y, y growing downwards).
constexpr qreal ItalicShear = 0.2;
// Weight from which a file's face counts as bold already.
constexpr int BoldWeight = QFont::DemiBold;

// Qt's raster engine draws glyphs up to this many pixels from its glyph cache.
int LargestCachedGlyph()
{
    static const int pixels = [] {
        const int value = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
        return value > 0 ? value : 64;
    }();
    return pixels;
}

void ApplyStyle(QFont& font, TFontStyles style)
{
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
}

void SetPixelSizeF(QFont& font, qreal pixels)
{
    font.setPointSizeF(pixels / TTextFace::PixelsPerPoint());
}

}  // namespace

qreal TTextFace::PixelsPerPoint()
{
    // QImage and QFont convert points with the screen's logical resolution, rounded.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return dpi / 72.0;
}

TTextFace TTextFace::FromRawFont(const QRawFont& raw, QFont fallback, TFontStyles style,
                                 const QRawFont& enlarged)
{
    TTextFace face;
    if (!raw.isValid())
        return face;
    face.FKind = kRaw;
    face.FRaw = raw;
    face.FEnlarged = enlarged;
    face.FStyle = style;
    face.FSynthBold = style.testFlag(fsBold) && raw.weight() < BoldWeight;
    face.FSynthItalic = style.testFlag(fsItalic) && raw.style() == QFont::StyleNormal;
    // The lines under and through the text are drawn once for the whole line.
    ApplyStyle(fallback, style & ~(fsUnderline | fsStrikeOut));
    // Borrowed glyphs follow the weight and slant of the file's own face.
    if (raw.weight() > fallback.weight())
        fallback.setWeight(static_cast<QFont::Weight>(raw.weight()));
    if (raw.style() != QFont::StyleNormal)
        fallback.setStyle(raw.style());
    SetPixelSizeF(fallback, raw.pixelSize());
    face.FFont = fallback;
    return face;
}

TTextFace TTextFace::FromFont(QFont font, TFontStyles style)
{
    TTextFace face;
    face.FKind = kFont;
    ApplyStyle(font, style);
    face.FFont = font;
    face.FStyle = style;
    return face;
}

qreal TTextFace::PixelSize() const
{
    switch (FKind) {
    case kRaw:
        return FRaw.pixelSize();
    case kFont:
        return FFont.pointSizeF() > 0 ? FFont.pointSizeF() * PixelsPerPoint() : FFont.pixelSize();
    case kNone:
        break;
    }
    return 0;
}

int TTextFace::Ascent() const
{
    switch (FKind) {
    case kRaw:
        return qRound(FRaw.ascent());
    case kFont:
        return QFontMetrics(FFont).ascent();
    case kNone:
        break;
    }
    return 0;
}

int TTextFace::Height() const
{
    switch (FKind) {
    case kRaw:
        return qRound(FRaw.ascent()) + qRound(FRaw.descent());
    case kFont:
        return QFontMetrics(FFont).height();
    case kNone:
        break;
    }
    return 0;
}

int TTextFace::LineSpacing() const
{
    switch (FKind) {
    case kRaw:
        return Height() + qRound(FRaw.leading());
    case kFont:
        return QFontMetrics(FFont).lineSpacing();
    case kNone:
        break;
    }
    return 0;
}

QList<TTextFace::TSegment> TTextFace::Split(const QString& line) const
{
    QList<TSegment> segments;
    const QChar* chars = line.constData();
    const qsizetype size = line.size();
    for (qsizetype i = 0; i < size;) {
        const int length =
            chars[i].isHighSurrogate() && i + 1 < size && chars[i + 1].isLowSurrogate() ? 2 : 1;
        quint32 glyph = 0;
        int glyphCount = 1;
        if (!FRaw.glyphIndexesForChars(chars + i, length, &glyph, &glyphCount) || glyphCount != 1)
            glyph = 0;
        const bool exact = glyph != 0;
        if (segments.isEmpty() || segments.back().exact != exact)
            segments.append({exact, QString(), {}});
        TSegment& segment = segments.back();
        segment.text.append(chars + i, length);
        if (exact)
            segment.glyphs.append(glyph);
        i += length;
    }
    return segments;
}

qreal TTextFace::SegmentAdvance(const TSegment& segment) const
{
    if (!segment.exact)
        return QFontMetricsF(FFont).horizontalAdvance(segment.text);
    const QList<QPointF> advances =
        FRaw.advancesForGlyphIndexes(segment.glyphs, QRawFont::KernedAdvances);
    qreal width = 0;
    for (const QPointF& advance : advances)
        width += advance.x();
    return width;
}

int TTextFace::Advance(const QString& line) const
{
    switch (FKind) {
    case kRaw: {
        qreal width = 0;
        for (const TSegment& segment : Split(line))
            width += SegmentAdvance(segment);
        return static_cast<int>(std::ceil(width - 1e-6));
    }
    case kFont:
        return QFontMetrics(FFont).horizontalAdvance(line);
    case kNone:
        break;
    }
    return 0;
}

QString TTextFace::VisiblePrefix(const QString& line, qreal width) const
{
    if (FKind == kNone)
        return {};
    const QFontMetricsF metrics(FFont);
    const QChar* chars = line.constData();
    const qsizetype size = line.size();
    qreal pen = 0;
    qsizetype kept = 0;
    while (kept < size && pen < width) {
        const int length = chars[kept].isHighSurrogate() && kept + 1 < size &&
                                   chars[kept + 1].isLowSurrogate()
                               ? 2
                               : 1;
        quint32 glyph = 0;
        int glyphCount = 1;
        QPointF advance;
        if (FKind == kRaw && FRaw.glyphIndexesForChars(chars + kept, length, &glyph, &glyphCount) &&
            glyphCount == 1 && glyph != 0 && FRaw.advancesForGlyphIndexes(&glyph, &advance, 1))
            pen += advance.x();
        else
            pen += metrics.horizontalAdvance(QString(chars + kept, length));
        kept += length;
    }
    return line.left(kept);
}

void TTextFace::DrawGlyphs(QPainter& painter, QPointF baseline, const TSegment& segment) const
{
    const QList<QPointF> advances =
        FRaw.advancesForGlyphIndexes(segment.glyphs, QRawFont::KernedAdvances);
    QList<QPointF> positions;
    positions.reserve(advances.size());
    qreal x = 0;
    for (const QPointF& advance : advances) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    // Glyphs above the size of Qt's glyph cache are filled from their outlines on every call,
    // and the rasteriser slows down sharply with the size of the path: one glyph at a time
    // is several times faster than the whole line, with the same pixels.
    const bool oneByOne = FRaw.pixelSize() > LargestCachedGlyph();
    QGlyphRun run;
    run.setRawFont(FRaw);
    if (!oneByOne) {
        run.setGlyphIndexes(segment.glyphs);
        run.setPositions(positions);
    }
    const auto drawRun = [&](QPointF origin) {
        if (!oneByOne) {
            painter.drawGlyphRun(origin, run);
            return;
        }
        for (qsizetype i = 0; i < segment.glyphs.size(); ++i) {
            run.setGlyphIndexes({segment.glyphs[i]});
            run.setPositions({positions[i]});
            painter.drawGlyphRun(origin, run);
        }
    };

    painter.save();
    painter.translate(baseline);
    if (FSynthItalic)
        painter.setTransform(QTransform(1, 0, -ItalicShear, 1, 0, 0), true);
    drawRun(QPointF(0, 0));
    if (FSynthBold)
        drawRun(QPointF(std::max(1.0, FRaw.pixelSize() / 24), 0));
    painter.restore();
}

void TTextFace::DrawDecorations(QPainter& painter, QPointF baseline, qreal width) const
{
    // Placed as Qt places the lines of a QFont: the underline a little below the font's
    // underline position but inside the descent when that position is, the strike-out a third
    // of the ascent above the baseline.
    const qreal thickness = std::max(1.0, FRaw.lineThickness());
    const qreal position = FRaw.underlinePosition();
    qreal underline = std::ceil(position) + 0.5;
    if (position <= FRaw.descent())
        underline = std::min(underline, FRaw.descent() - 0.5);
    const QBrush brush = painter.pen().brush();
    if (FStyle.testFlag(fsUnderline))
        painter.fillRect(
            QRectF(baseline.x(), baseline.y() + underline - thickness / 2, width, thickness),
            brush);
    if (FStyle.testFlag(fsStrikeOut))
        painter.fillRect(QRectF(baseline.x(), baseline.y() - FRaw.ascent() / 3 - thickness / 2,
                                width, thickness),
                         brush);
}

void TTextFace::DrawFontText(QPainter& painter, QPointF baseline, const QString& text) const
{
    painter.setFont(FFont);
    painter.drawText(baseline, text);
}

void TTextFace::Draw(QPainter& painter, QPointF topLeft, const QString& line) const
{
    const QPointF baseline(topLeft.x(), topLeft.y() + Ascent());
    switch (FKind) {
    case kRaw: {
        QPointF pen = baseline;
        for (const TSegment& segment : Split(line)) {
            if (segment.exact)
                DrawGlyphs(painter, pen, segment);
            else
                DrawFontText(painter, pen, segment.text);
            pen.rx() += SegmentAdvance(segment);
        }
        DrawDecorations(painter, baseline, pen.x() - baseline.x());
        break;
    }
    case kFont:
        DrawFontText(painter, baseline, line);
        break;
    case kNone:
        break;
    }
}

TTextFace TTextFace::Scaled(int factor) const
{
    TTextFace face = *this;
    switch (FKind) {
    case kRaw: {
        const qreal pixels = FRaw.pixelSize() * factor;
        if (FEnlarged.isValid())
            face.FRaw = FEnlarged;
        if (face.FRaw.pixelSize() != pixels)
            face.FRaw.setPixelSize(pixels);
        face.FEnlarged = QRawFont();
        SetPixelSizeF(face.FFont, pixels);
        break;
    }
    case kFont:
        if (FFont.pointSizeF() > 0)
            face.FFont.setPointSizeF(FFont.pointSizeF() * factor);
        else
            face.FFont.setPixelSize(FFont.pixelSize() * factor);
        break;
    case kNone:
        break;
    }
    return face;
}

TTextFace RecordFace(TRawFontCache& cache, const TFontInfo& font, qreal pixelSize,
                     TFontStyles style, const QFont& base, int supersample)
{
    if (!font.FileName.empty()) {
        const QRawFont raw = cache.Find(font.FileName, pixelSize);
        if (raw.isValid())
            return TTextFace::FromRawFont(
                raw, base, style,
                supersample > 1
                    ? cache.Find(font.FileName, pixelSize * supersample, QFont::PreferNoHinting)
                    : QRawFont());
    }
    // Known by name only (or the file is gone): the name is taken as a family, and a family
    // the system lacks is substituted as Qt sees fit.
    QFont byName = base;
    byName.setFamilies({QString::fromStdString(font.FullName)});
    SetPixelSizeF(byName, pixelSize);
    return TTextFace::FromFont(byName, style);
}
