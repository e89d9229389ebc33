#include "preview/text_face.h"

#include "fonts/font_info.h"
#include "preview/raw_font_cache.h"
#include "text/glyph_raster.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QtEndian>

namespace {

// A face counts as bold from this weight on (OS/2 scale): it is not emboldened again, and its
// borrowed glyphs come in its weight.
constexpr int BoldWeight = 600;

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

long FloorDiv(long value, long step)
{
    return value >= 0 ? value / step : -((-value + step - 1) / step);
}

// A font file holding the tables of a QRawFont, for faces that exist only as one.
QByteArray SfntFromRawFont(const QRawFont& raw)
{
    static const char* const tags[] = {
        "OS/2", "cmap", "cvt ", "fpgm", "gasp", "glyf", "head", "hhea", "hmtx", "loca",
        "maxp", "name", "post", "prep", "CFF ", "CFF2", "GDEF", "GPOS", "GSUB", "kern",
        "BASE", "JSTF", "MATH", "vhea", "vmtx", "VORG", "fvar", "gvar", "avar", "HVAR",
        "MVAR", "STAT", "cvar", "COLR", "CPAL", "morx", "kerx", "feat", "trak", "hdmx"};
    std::vector<std::pair<QByteArray, QByteArray>> tables;
    for (const char* tag : tags) {
        const QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty())
            tables.emplace_back(QByteArray(tag, 4), data);
    }
    std::sort(tables.begin(), tables.end());
    const auto count = static_cast<quint16>(tables.size());
    QByteArray file(12 + 16 * count, '\0');
    const bool cff = std::any_of(tables.begin(), tables.end(),
                                 [](const auto& t) { return t.first.startsWith("CFF"); });
    qToBigEndian<quint32>(cff ? 0x4F54544Fu : 0x00010000u, file.data());
    qToBigEndian<quint16>(count, file.data() + 4);
    quint32 offset = static_cast<quint32>(file.size());
    for (std::size_t i = 0; i < tables.size(); ++i) {
        char* entry = file.data() + 12 + 16 * i;
        std::memcpy(entry, tables[i].first.constData(), 4);
        qToBigEndian<quint32>(offset, entry + 8);
        qToBigEndian<quint32>(static_cast<quint32>(tables[i].second.size()), entry + 12);
        offset += (static_cast<quint32>(tables[i].second.size()) + 3) & ~3u;
    }
    for (const auto& table : tables) {
        file.append(table.second);
        file.append(QByteArray((4 - table.second.size() % 4) % 4, '\0'));
    }
    return file;
}

}  // namespace

qreal TTextFace::PixelsPerPoint()
{
    // QImage and QFont convert points with the screen's logical resolution, rounded.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return dpi / 72.0;
}

TTextFace TTextFace::FromFile(TFontFacePtr fileFace, qreal pixelSize, QFont fallback,
                              TFontStyles style)
{
    TTextFace face;
    if (!fileFace || pixelSize <= 0)
        return face;
    face.FKind = kFile;
    face.FFace = std::move(fileFace);
    face.FPixelSize = pixelSize;
    face.FStyle = style;
    face.FSynthBold = style.testFlag(fsBold) && face.FFace->Weight() < BoldWeight;
    face.FSynthItalic = style.testFlag(fsItalic) && !face.FFace->Italic();
    ApplyStyle(fallback, style & ~(fsUnderline | fsStrikeOut));
    // What Font() reports follows the file's own weight and slant.
    if (face.FFace->Weight() > fallback.weight())
        fallback.setWeight(static_cast<QFont::Weight>(std::clamp(face.FFace->Weight(), 100, 900)));
    if (face.FFace->Italic())
        fallback.setItalic(true);
    SetPixelSizeF(fallback, pixelSize);
    face.FFont = fallback;
    return face;
}

TTextFace TTextFace::FromRawFont(const QRawFont& raw, QFont fallback, TFontStyles style,
                                 const QRawFont&)
{
    if (!raw.isValid())
        return {};
    return FromFile(TFontFace::Load(SfntFromRawFont(raw), 0), raw.pixelSize(), fallback, style);
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

TTextFace TTextFace::Broken(std::string reason)
{
    TTextFace face;
    face.FProblem = std::move(reason);
    return face;
}

QRawFont TTextFace::RawFont() const
{
    if (FKind != kFile)
        return {};
    QRawFont raw;
    raw.loadFromData(FFace->Data(), FPixelSize, QFont::PreferDefaultHinting);
    return raw;
}

qreal TTextFace::PixelSize() const
{
    switch (FKind) {
    case kFile:
        return FPixelSize;
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
    case kFile:
        return qRound(FFace->Ascender() * FPixelSize / FFace->UnitsPerEm());
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
    case kFile:
        return Ascent() + qRound(FFace->Descender() * FPixelSize / FFace->UnitsPerEm());
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
    case kFile:
        return Height() + qRound(FFace->LineGap() * FPixelSize / FFace->UnitsPerEm());
    case kFont:
        return QFontMetrics(FFont).lineSpacing();
    case kNone:
        break;
    }
    return 0;
}

TFallbackStyle TTextFace::FallbackStyle() const
{
    TFallbackStyle style;
    style.Weight = std::max(FFace->Weight(), FStyle.testFlag(fsBold) ? 700 : 400);
    style.Italic = FFace->Italic() || FStyle.testFlag(fsItalic);
    return style;
}

TShapedLine TTextFace::Shape(const QString& line, qreal scale) const
{
    if (FKind != kFile)
        return {};
    return ShapeLine(FFace, line, FPixelSize * scale, FallbackStyle());
}

std::pair<int, int> TTextFace::BorrowedCount(const QString& line) const
{
    if (FKind != kFile)
        return {0, 0};
    // Faces are picked before shaping; the size does not matter for it.
    const TShapedLine looked = LookUpLine(FFace, line, FPixelSize, FallbackStyle());
    return {looked.Characters, looked.Borrowed};
}

int TTextFace::Advance(const QString& line) const
{
    switch (FKind) {
    case kFile:
        return static_cast<int>(std::ceil(Shape(line).Width / 64.0 - 1e-6));
    case kFont:
        return QFontMetrics(FFont).horizontalAdvance(line);
    case kNone:
        break;
    }
    return 0;
}

QString TTextFace::VisiblePrefix(const QString& line, qreal width) const
{
    switch (FKind) {
    case kFile: {
        int end = 0;
        const TShapedLine shaped = Shape(line);
        for (const TShapedGlyph& glyph : shaped.Glyphs)
            if (glyph.X < width * 64)
                end = std::max(end, glyph.Cluster + 1);
        // The whole of the last cluster begun, surrogate pairs and marks included.
        while (end < line.size() && (line[end].isLowSurrogate() ||
                                     std::none_of(shaped.Glyphs.begin(), shaped.Glyphs.end(),
                                                  [&](const TShapedGlyph& g) { return g.Cluster == end; })))
            ++end;
        return line.left(end);
    }
    case kFont: {
        const QFontMetricsF metrics(FFont);
        qsizetype kept = 0;
        while (kept < line.size() && metrics.horizontalAdvance(line.left(kept)) < width)
            kept += line[kept].isHighSurrogate() && kept + 1 < line.size() ? 2 : 1;
        return line.left(kept);
    }
    case kNone:
        break;
    }
    return {};
}

void TTextFace::Paint(QImage& target, QPointF topLeft, const QString& line, QRgb color,
                      int level) const
{
    if (FKind != kFile || target.isNull() || line.isEmpty())
        return;
    level = std::clamp(level, 0, 4);
    const qreal scale = target.devicePixelRatio();
    const qreal pixels = FPixelSize * scale;
    const TShapedLine shaped = Shape(line, scale);
    const TFallbackStyle fallback = FallbackStyle();
    const long factor = 1l << level;
    const int32_t size64 = static_cast<int32_t>(std::lround(pixels * 64));
    const long baseX64 = std::lround(topLeft.x() * scale * 64);
    const long baseline =
        std::lround(topLeft.y() * scale) + qRound(FFace->Ascender() * pixels / FFace->UnitsPerEm());
    const QRgb borrowed = FBorrowedColor.isValid() ? FBorrowedColor.rgba() : color;
    const long reach = static_cast<long>(std::ceil(2 * pixels)) + 2;
    TGlyphCache& cache = TGlyphCache::Shared();
    for (const TShapedGlyph& glyph : shaped.Glyphs) {
        const TFontFacePtr& from = shaped.Faces[static_cast<std::size_t>(glyph.Face)];
        const long x64 = baseX64 + glyph.X;
        TGlyphKey key;
        key.Face = from->Id();
        key.Glyph = glyph.Glyph;
        key.Size64 = size64;
        key.Level = static_cast<uint8_t>(level);
        long originX = 0;
        long originY = baseline;
        if (level == 0) {
            originX = FloorDiv(x64 + 32, 64);
            originY -= std::lround(glyph.Y / 64.0);
        } else {
            const long fineX = std::lround(x64 * factor / 64.0);
            originX = FloorDiv(fineX, factor);
            key.PhaseX = static_cast<uint8_t>(fineX - originX * factor);
            const long fineY = std::lround(-glyph.Y * factor / 64.0);
            const long offsetY = FloorDiv(fineY, factor);
            key.PhaseY = static_cast<uint8_t>(fineY - offsetY * factor);
            originY += offsetY;
        }
        if (originX > target.width() + reach || originX + glyph.Advance / 64 + reach < 0)
            continue;
        if (glyph.Face == 0) {
            key.Embolden = FSynthBold;
            key.Oblique = FSynthItalic;
        } else {
            key.Embolden = fallback.Weight >= BoldWeight && from->Weight() < BoldWeight;
            key.Oblique = fallback.Italic && !from->Italic();
        }
        const TGlyphCoveragePtr coverage = cache.Get(from, key);
        if (coverage->Width == 0)
            continue;
        BlendCoverage(target, static_cast<int>(originX + coverage->Left),
                      static_cast<int>(originY - coverage->Top), *coverage,
                      glyph.Face == 0 ? color : borrowed);
    }
    if (FStyle & (fsUnderline | fsStrikeOut)) {
        QPainter painter(&target);
        painter.setPen(QColor::fromRgba(color));
        DrawDecorations(painter, QPointF(topLeft.x(), baseline / scale), shaped.Width / 64.0 / scale,
                        1);
    }
}

void TTextFace::DrawDecorations(QPainter& painter, QPointF baseline, qreal width,
                                qreal scale) const
{
    // Placed as Qt places the lines of a QFont: the underline a little below the font's
    // underline position but inside the descent, the strike-out a third of the ascent above
    // the baseline.
    const qreal units = FPixelSize * scale / FFace->UnitsPerEm();
    const qreal thickness = std::max(1.0, FFace->UnderlineThickness() * units);
    const qreal position = -FFace->UnderlinePosition() * units;
    const qreal descent = FFace->Descender() * units;
    qreal underline = std::ceil(position) + 0.5;
    if (position <= descent)
        underline = std::min(underline, descent - 0.5);
    const QBrush brush = painter.pen().brush();
    if (FStyle.testFlag(fsUnderline))
        painter.fillRect(
            QRectF(baseline.x(), baseline.y() + underline - thickness / 2, width, thickness),
            brush);
    if (FStyle.testFlag(fsStrikeOut))
        painter.fillRect(QRectF(baseline.x(),
                                baseline.y() - FFace->Ascender() * units / 3 - thickness / 2,
                                width, thickness),
                         brush);
}

void TTextFace::DrawOutlines(QPainter& painter, QPointF baseline, const TShapedLine& shaped) const
{
    const TFallbackStyle fallback = FallbackStyle();
    const int32_t size64 = static_cast<int32_t>(std::lround(FPixelSize * 64));
    const QColor pen = painter.pen().color();
    const QColor borrowed = FBorrowedColor.isValid() ? FBorrowedColor : pen;
    // Glyph runs keep the text as text on printers and in PDF files, where a face allows it:
    // the first face of a file, without synthetic styles.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const TShapedGlyph& glyph : shaped.Glyphs) {
        const QPointF at(baseline.x() + glyph.X / 64.0, baseline.y() - glyph.Y / 64.0);
        const TFontFacePtr& from = shaped.Faces[static_cast<std::size_t>(glyph.Face)];
        TGlyphKey key;
        key.Face = from->Id();
        key.Glyph = glyph.Glyph;
        key.Size64 = size64;
        if (glyph.Face == 0) {
            key.Embolden = FSynthBold;
            key.Oblique = FSynthItalic;
        } else {
            key.Embolden = fallback.Weight >= BoldWeight && from->Weight() < BoldWeight;
            key.Oblique = fallback.Italic && !from->Italic();
        }
        painter.fillPath(GlyphPath(from, key).translated(at), glyph.Face == 0 ? pen : borrowed);
    }
    painter.restore();
}

void TTextFace::Draw(QPainter& painter, QPointF topLeft, const QString& line) const
{
    switch (FKind) {
    case kFile: {
        if (line.isEmpty())
            return;
        const QPaintDevice* device = painter.device();
        const QPaintEngine* engine = painter.paintEngine();
        const bool raster = device && engine && engine->type() == QPaintEngine::Raster &&
                            painter.worldTransform().type() <= QTransform::TxTranslate;
        if (!raster) {
            const QPointF baseline(topLeft.x(), topLeft.y() + Ascent());
            DrawOutlines(painter, baseline, Shape(line));
            DrawDecorations(painter, baseline, Shape(line).Width / 64.0, 1);
            return;
        }
        // The line is drawn into an image of its cell with room around it for ink outside
        // the cell, at the device's pixel ratio, and composed by the painter.
        const qreal scale = device->devicePixelRatioF();
        const int margin = static_cast<int>(std::ceil(FPixelSize)) + 2;
        const QSize logical(Advance(line) + 2 * margin, Height() + 2 * margin);
        QImage image(QSize(static_cast<int>(std::ceil(logical.width() * scale)),
                           static_cast<int>(std::ceil(logical.height() * scale))),
                     QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return;
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        Paint(image, QPointF(margin, margin), line, painter.pen().color().rgba(), 0);
        painter.drawImage(topLeft - QPointF(margin, margin), image);
        break;
    }
    case kFont:
        painter.setFont(FFont);
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetrics(FFont).ascent()), line);
        break;
    case kNone:
        break;
    }
}

TTextFace TTextFace::Scaled(int factor) const
{
    TTextFace face = *this;
    switch (FKind) {
    case kFile:
        face.FPixelSize = FPixelSize * factor;
        SetPixelSizeF(face.FFont, face.FPixelSize);
        break;
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
                     TFontStyles style, const QFont& base, int)
{
    if (!font.FileName.empty()) {
        std::string reason;
        TFontFacePtr face = cache.Face(font.FileName, font.FaceIndex, &reason);
        if (!face)
            return TTextFace::Broken(reason);
        return TTextFace::FromFile(std::move(face), pixelSize, base, style);
    }
    // Known by name only: the name is taken as a family, and a family the system lacks is
    // substituted as Qt sees fit.
    QFont byName = base;
    byName.setFamilies({QString::fromStdString(font.FullName)});
    SetPixelSizeF(byName, pixelSize);
    return TTextFace::FromFont(byName, style);
}
