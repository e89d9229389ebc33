#include "preview/bitmap32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include "preview/blend.h"
#include "preview/supersample.h"

namespace {

// RenderText's working memory, kept between calls: the supersampled rendering of a line at
// a large size runs to megabytes, and the preview renders one line per visible row on every
// paint. A store larger than this many pixels is released after use instead.
constexpr std::size_t ScratchKeepLimit = 8u << 20;

// Largest bitmap created: 1 GiB of pixels. Anything near it is a runaway size, refused before
// any memory is committed to it.
constexpr std::size_t MaxPixels = std::size_t(1) << 28;

// Qt's raster engine draws glyphs up to this many pixels from its glyph cache and fills the
// outlines of larger ones on every call.
int LargestCachedGlyph()
{
    static const int pixels = [] {
        const int value = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
        return value > 0 ? value : 64;
    }();
    return pixels;
}

// Draws text whose glyphs are filled from outlines one glyph at a time. The rasteriser slows
// down sharply with the size of the path it fills, so a line filled glyph by glyph is several
// times faster than the same line as one path, with the same pixels.
void DrawGlyphByGlyph(QPainter& painter, QPoint baseline, const QString& text)
{
    QTextLayout layout(text, painter.font(), painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setLineWidth(1e7);
    layout.endLayout();
    const QPointF origin(baseline.x(), baseline.y() - line.ascent());
    QGlyphRun single;
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        single.setRawFont(run.rawFont());
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            single.setGlyphIndexes({indexes[i]});
            single.setPositions({positions[i]});
            painter.drawGlyphRun(origin, single);
        }
    }
}

}  // namespace

// Lends a kept pixel store to a working bitmap for one RenderText call and takes it back
// afterwards, also when the call fails. A nested call (from an OnChange handler) finds the
// store lent out and works with fresh memory.
class TBitmap32::TScratchLease {
public:
    TScratchLease(TBitmap32& bitmap, TScratch& scratch)
        : FBitmap(bitmap), FScratch(scratch), FLent(!scratch.inUse)
    {
        if (!FLent)
            return;
        FScratch.inUse = true;
        FBitmap.FStore = std::move(FScratch.store);
        FScratch.store = {};
    }
    ~TScratchLease()
    {
        if (!FLent)
            return;
        FBitmap.ReleaseSurface();
        if (FBitmap.FStore.capacity <= ScratchKeepLimit)
            FScratch.store = std::move(FBitmap.FStore);
        FBitmap.FStore = {};
        FScratch.inUse = false;
    }
    TScratchLease(const TScratchLease&) = delete;
    TScratchLease& operator=(const TScratchLease&) = delete;

private:
    TBitmap32& FBitmap;
    TScratch& FScratch;
    bool FLent;
};

TBitmap32::TBitmap32() = default;

TBitmap32::~TBitmap32() { ReleaseSurface(); }

void TBitmap32::ReleaseSurface() { FSurface = QImage(); }

bool TBitmap32::Empty() const { return !FStore.bits || TCustomMap::Empty(); }

void TBitmap32::SetSize(int newWidth, int newHeight)
{
    newWidth = std::max(newWidth, 0);
    newHeight = std::max(newHeight, 0);
    if (newWidth == Width() && newHeight == Height())
        return;
    ReleaseSurface();
    if (newWidth > 0 && newHeight > 0) {
        const std::size_t count = static_cast<std::size_t>(newWidth) * newHeight;
        // Reuse the memory when the new size fits and does not waste most of it.
        if (!FStore.bits || count > FStore.capacity || count < FStore.capacity / 4) {
            FStore = {};
            if (count <= MaxPixels)
                FStore.bits.reset(new (std::nothrow) TColor32[count]);
            if (!FStore.bits) {
                TCustomMap::SetSize(0, 0);
                throw EBitmapError("Can't allocate the DIB handle");
            }
            FStore.capacity = count;
        }
        FSurface = QImage(reinterpret_cast<uchar*>(FStore.bits.get()), newWidth, newHeight,
                          static_cast<qsizetype>(newWidth) * 4,
                          QImage::Format_ARGB32_Premultiplied);
        const char* failure = nullptr;
        if (FSurface.isNull())
            failure = "Can't create compatible DC";
        else if (!FSurface.paintEngine())
            failure = "Can't select an object into DC";
        if (failure) {
            ReleaseSurface();
            FStore = {};
            TCustomMap::SetSize(0, 0);
            throw EBitmapError(failure);
        }
    } else {
        FStore = {};
    }
    TCustomMap::SetSize(newWidth, newHeight);
}

void TBitmap32::Clear() { Clear(0xFF000000u); }

void TBitmap32::Clear(TColor32 fillColor)
{
    if (Empty())
        return;
    std::fill_n(Bits(), static_cast<std::size_t>(Width()) * Height(), fillColor);
    Changed();
}

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 value)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, Width());
    y2 = std::min(y2, Height());
    if (!Empty() && x1 < x2)
        for (int y = y1; y < y2; ++y)
            std::fill(GetPixelPtr(x1, y), GetPixelPtr(x2, y), value);
    Changed();
}

void TBitmap32::FillRectS(int x1, int y1, int x2, int y2, TColor32 value)
{
    if (x1 >= x2 || y1 >= y2 || x1 >= Width() || y1 >= Height() || x2 <= 0 || y2 <= 0)
        return;
    FillRect(std::max(x1, 0), std::max(y1, 0), std::min(x2, Width()), std::min(y2, Height()),
             value);
}

void TBitmap32::SetFont(const QFont& font) { FFont = font; }

void TBitmap32::SetTextFace(std::optional<TTextFace> face) { FTextFace = std::move(face); }

void TBitmap32::SetFontColor(TColor color) { FFontColor = color; }

void TBitmap32::SetDrawMode(TDrawMode value)
{
    if (value == FDrawMode)
        return;
    FDrawMode = value;
    Changed();
}

void TBitmap32::SetMasterAlpha(TColor32 value)
{
    value = std::min<TColor32>(value, 255);
    if (value == FMasterAlpha)
        return;
    FMasterAlpha = value;
    Changed();
}

void TBitmap32::Textout(int x, int y, const std::string& text)
{
    DrawString(x, y, QString::fromStdString(text));
}

void TBitmap32::DrawString(int x, int y, const QString& text)
{
    if (Empty())
        return;
    {
        QPainter painter(&FSurface);
        painter.setPen(ColorToQColor(FFontColor));
        if (FTextFace) {
            FTextFace->Draw(painter, QPointF(x, y), text);
        } else {
            painter.setFont(FFont);
            const QPoint baseline(x, y + painter.fontMetrics().ascent());
            const QFont& font = painter.font();
            const bool decorated = font.underline() || font.strikeOut() || font.overline();
            if (!decorated && painter.fontInfo().pixelSize() > LargestCachedGlyph())
                DrawGlyphByGlyph(painter, baseline, text);
            else
                painter.drawText(baseline, text);
        }
    }
    Changed();
}

QSize TBitmap32::TextExtent(const std::string& text) const
{
    return MeasureString(QString::fromStdString(text));
}

QSize TBitmap32::MeasureString(const QString& text) const
{
    if (FTextFace)
        return FTextFace->Extent(text);
    const QFontMetrics metrics = FSurface.isNull() ? QFontMetrics(FFont)
                                                   : QFontMetrics(FFont, &FSurface);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void TBitmap32::RenderText(int x, int y, const std::string& text, int level, TColor32 color)
{
    if (Empty())
        return;
    const TColor32 alpha = color >> 24;
    const TColor32 rgb = color & 0x00FFFFFF;
    level = std::clamp(level, 0, 4);
    const QString qtext = QString::fromStdString(text);
    const QString measured = qtext + QLatin1Char(' ');

    static TScratch workScratch;
    static TScratch largeScratch;
    TBitmap32 work;
    TScratchLease workLease(work, workScratch);

    if (FTextFace && FTextFace->IsExact()) {
        // The text-drawing core supersamples glyph by glyph from its coverage cache; the
        // working bitmap has the size the whole-line rendering would give it.
        QSize extent = FTextFace->Extent(measured);
        if (level > 0) {
            const QSize large = FTextFace->Scaled(1 << level).Extent(measured);
            extent = QSize((large.width() >> level) + 1, large.height() >> level);
        }
        QImage coverage(extent, QImage::Format_ARGB32_Premultiplied);
        if (coverage.isNull())
            throw EBitmapError("Can't allocate the DIB handle");
        coverage.fill(Qt::transparent);
        FTextFace->Paint(coverage, QPointF(0, 0), qtext, 0xFFFFFFFFu, level);
        work.SetSize(extent.width(), extent.height());
        if (work.Empty())
            return;
        for (int row = 0; row < work.Height(); ++row) {
            const auto* from = reinterpret_cast<const QRgb*>(coverage.constScanLine(row));
            TColor32* to = work.GetPixelPtr(0, row);
            for (int col = 0; col < work.Width(); ++col) {
                const TColor32 a = qAlpha(from[col]);
                to[col] = level == 0 && a == 0 ? 0 : (a << 24) + rgb;
            }
        }
    } else if (level == 0) {
        const QSize extent = MeasureString(measured);
        work.SetSize(extent.width(), extent.height());
        work.SetFont(FFont);
        work.SetTextFace(FTextFace);
        work.Clear(0);
        work.SetFontColor(clWhite);
        work.DrawString(0, 0, qtext);
        if (work.Empty())
            return;
        TColor32* p = work.Bits();
        TColor32* const end = p + static_cast<std::size_t>(work.Width()) * work.Height();
        for (; p != end; ++p)
            if (*p != 0)
                *p = ((*p & 0xFF) << 24) + rgb;
    } else {
        QFont large = FFont;
        const int scale = 1 << level;
        if (large.pointSizeF() > 0)
            large.setPointSizeF(large.pointSizeF() * scale);
        else
            large.setPixelSize(large.pixelSize() * scale);
        std::optional<TTextFace> largeFace;
        if (FTextFace)
            largeFace = FTextFace->Scaled(scale);
        const QSize extent =
            largeFace ? largeFace->Extent(measured)
                      : QSize(QFontMetrics(large).horizontalAdvance(measured),
                              QFontMetrics(large).height());
        const int cx = ((extent.width() >> level) + 1) << level;
        const int cy = extent.height();

        TBitmap32 big;
        {
            TScratchLease largeLease(big, largeScratch);
            big.SetSize(cx, cy);
            big.Clear(0);
            big.SetFont(large);
            big.SetTextFace(largeFace);
            big.SetFontColor(clWhite);
            big.DrawString(0, 0, qtext);
            work.SetSize(cx >> level, cy >> level);
            if (work.Empty() || big.Empty())
                return;
            ReduceCoverage(big.Bits(), big.Width(), work.Bits(), work.Width(), work.Height(),
                           level, rgb);
        }
    }
    work.SetDrawMode(dmBlend);
    work.SetMasterAlpha(alpha);
    work.DrawTo(*this, x, y);
}

void TBitmap32::DrawTo(TBitmap32& target, int x, int y) const
{
    if (target.Empty())
        throw EBitmapError("Destination bitmap is nil or empty");
    if (Empty())
        throw EBitmapError("Source bitmap is nil or empty");
    if (FDrawMode == dmBlend && FMasterAlpha == 0)
        return;
    // The part of this bitmap that lands inside the target.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + Width(),
                                                           target.Width()));
    const int bottom = static_cast<int>(
        std::min<long long>(static_cast<long long>(y) + Height(), target.Height()));
    if (left < right && top < bottom) {
        const int count = right - left;
        // A bitmap drawn onto itself reads from a copy, so that no row is read after it
        // was written.
        std::vector<TColor32> copy;
        const TColor32* source = Bits();
        if (&target == this) {
            copy.assign(Bits(), Bits() + static_cast<std::size_t>(Width()) * Height());
            source = copy.data();
        }
        for (int row = top; row < bottom; ++row) {
            const TColor32* from =
                source + (left - x) + static_cast<std::ptrdiff_t>(row - y) * Width();
            TColor32* to = target.GetPixelPtr(left, row);
            if (FDrawMode == dmOpaque)
                std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(TColor32));
            else if (FMasterAlpha == 255)
                BlendLine(from, to, count);
            else
                BlendLineEx(from, to, count, FMasterAlpha);
        }
    }
    target.Changed();
}

void TBitmap32::DrawTo(QPainter& painter, int x, int y) const
{
    if (!painter.isActive())
        throw EBitmapError("Destination bitmap is nil or empty");
    if (Empty())
        throw EBitmapError("Source bitmap is nil or empty");
    if (FDrawMode == dmOpaque) {
        // Qt expects the alpha byte of an RGB32 image to be 0xFF; the blended rows may hold
        // any alpha, so the copy sets it.
        QImage opaque(Width(), Height(), QImage::Format_RGB32);
        if (opaque.isNull())
            throw EBitmapError("Can't allocate the DIB handle");
        for (int row = 0; row < Height(); ++row) {
            const TColor32* from = GetPixelPtr(0, row);
            auto* to = reinterpret_cast<TColor32*>(opaque.scanLine(row));
            for (int col = 0; col < Width(); ++col)
                to[col] = from[col] | 0xFF000000u;
        }
        painter.drawImage(QPoint(x, y), opaque);
        return;
    }
    if (FMasterAlpha == 0)
        return;
    const QImage view(reinterpret_cast<const uchar*>(Bits()), Width(), Height(),
                      static_cast<qsizetype>(Width()) * 4, QImage::Format_ARGB32);
    const qreal opacity = painter.opacity();
    painter.setOpacity(opacity * FMasterAlpha / 255.0);
    painter.drawImage(QPoint(x, y), view);
    painter.setOpacity(opacity);
}
