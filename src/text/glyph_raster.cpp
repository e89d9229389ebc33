#include "text/glyph_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QPainterPath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

// Largest glyph bitmap rasterised, in samples: beyond it a glyph is a runaway size.
constexpr long long MaxSamples = 64ll << 20;
// FreeType faces one thread keeps open.
constexpr std::size_t FacesPerThread = 48;

struct TThreadFaces {
    struct TOpen {
        TFontFacePtr face;
        FT_Face ft = nullptr;
    };
    FT_Library library = nullptr;
    // Most recently used first.
    std::list<TOpen> open;

    TThreadFaces() { FT_Init_FreeType(&library); }
    ~TThreadFaces()
    {
        for (TOpen& entry : open)
            FT_Done_Face(entry.ft);
        open.clear();
        FT_Done_FreeType(library);
    }

    FT_Face Face(const TFontFacePtr& face)
    {
        for (auto it = open.begin(); it != open.end(); ++it) {
            if (it->face->Id() == face->Id()) {
                open.splice(open.begin(), open, it);
                return it->ft;
            }
        }
        FT_Face ft = nullptr;
        const QByteArray& data = face->Data();
        if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(data.constData()),
                               static_cast<FT_Long>(data.size()), face->Index(), &ft))
            return nullptr;
        open.push_front({face, ft});
        while (open.size() > FacesPerThread) {
            FT_Done_Face(open.back().ft);
            open.pop_back();
        }
        return ft;
    }
};

TThreadFaces& Faces()
{
    thread_local TThreadFaces faces;
    return faces;
}

long FloorDiv(long value, long step) { return value >= 0 ? value / step : -((-value + step - 1) / step); }
long CeilDiv(long value, long step) { return -FloorDiv(-value, step); }

void Combine(std::size_t& seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

FT_Library ThreadFreeType() { return Faces().library; }

std::size_t TGlyphKeyHash::operator()(const TGlyphKey& key) const
{
    std::size_t seed = std::hash<uint64_t>()(key.Face);
    Combine(seed, key.Glyph);
    Combine(seed, static_cast<std::size_t>(key.Size64));
    Combine(seed, static_cast<std::size_t>(key.Level) << 24 | key.PhaseX << 16 | key.PhaseY << 8 |
                      key.Embolden << 1 | key.Oblique);
    return seed;
}

TGlyphCoveragePtr RenderGlyph(const TFontFacePtr& face, const TGlyphKey& key)
{
    auto coverage = std::make_shared<TGlyphCoverage>();
    FT_Face ft = Faces().Face(face);
    if (!ft || key.Size64 <= 0)
        return coverage;
    const int level = std::clamp<int>(key.Level, 0, 4);
    const FT_F26Dot6 size = key.Size64;
    if (FT_Set_Char_Size(ft, size, size, 72, 72))
        return coverage;
    const FT_Int32 flags =
        FT_LOAD_NO_BITMAP | (level == 0 ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING);
    if (FT_Load_Glyph(ft, key.Glyph, flags) || ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return coverage;
    FT_Outline* outline = &ft->glyph->outline;
    if (outline->n_points == 0)
        return coverage;
    if (key.Oblique) {
        // Leans right: x grows by 0.2 of the height above the baseline.
        FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};
        FT_Outline_Transform(outline, &shear);
    }
    if (key.Embolden) {
        // Thickens every stroke by the size / 24, as synthetic bold does on FreeType desktops.
        const FT_Pos strength = std::max<FT_Pos>(size / 24, 1);
        FT_Outline_EmboldenXY(outline, strength, strength);
    }
    // The phase moves the outline by whole steps of the 2^level grid. The mean of the
    // 2^level x 2^level sample coverages of a pixel is the share of the pixel the outline
    // covers, which FreeType's rasteriser computes directly: one rendering at the final size
    // gives the supersampled pixels (within the rounding of 8-bit values) at 1/4^level of
    // the work.
    const long factor = 1l << level;
    FT_Outline_Translate(outline, key.PhaseX * 64 / factor, -key.PhaseY * 64 / factor);

    FT_BBox box;
    FT_Outline_Get_CBox(outline, &box);
    const long x0 = FloorDiv(box.xMin, 64);
    const long y0 = FloorDiv(box.yMin, 64);
    const long x1 = CeilDiv(box.xMax, 64);
    const long y1 = CeilDiv(box.yMax, 64);
    const long width = x1 - x0;
    const long height = y1 - y0;
    if (width <= 0 || height <= 0 || width * height > MaxSamples)
        return coverage;
    std::vector<uint8_t> samples(static_cast<std::size_t>(width * height), 0);
    FT_Bitmap bitmap;
    std::memset(&bitmap, 0, sizeof(bitmap));
    bitmap.width = static_cast<unsigned>(width);
    bitmap.rows = static_cast<unsigned>(height);
    bitmap.pitch = static_cast<int>(width);
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    bitmap.num_grays = 256;
    bitmap.buffer = samples.data();
    FT_Outline_Translate(outline, -x0 * 64, -y0 * 64);
    if (FT_Outline_Get_Bitmap(ThreadFreeType(), outline, &bitmap))
        return coverage;
    coverage->Left = static_cast<int>(x0);
    coverage->Top = static_cast<int>(y1);
    coverage->Width = static_cast<int>(width);
    coverage->Height = static_cast<int>(height);
    coverage->Alpha = std::move(samples);
    return coverage;
}

TGlyphCache::TGlyphCache(std::size_t maxBytes) : FMaxBytes(maxBytes) {}

TGlyphCache& TGlyphCache::Shared()
{
    static TGlyphCache cache;
    return cache;
}

TGlyphCoveragePtr TGlyphCache::Get(const TFontFacePtr& face, const TGlyphKey& key)
{
    {
        std::lock_guard lock(FMutex);
        const auto found = FIndex.find(key);
        if (found != FIndex.end()) {
            FEntries.splice(FEntries.begin(), FEntries, found->second);
            return found->second->coverage;
        }
    }
    // Rendered outside the lock: other threads go on meanwhile; two threads may render the
    // same glyph once each, with the same result.
    TGlyphCoveragePtr coverage = RenderGlyph(face, key);
    std::lock_guard lock(FMutex);
    ++FRenders;
    if (FIndex.find(key) != FIndex.end())
        return coverage;
    FEntries.push_front({key, coverage});
    FIndex.emplace(key, FEntries.begin());
    FBytes += coverage->Bytes();
    Trim();
    return coverage;
}

void TGlyphCache::Trim()
{
    while (FBytes > FMaxBytes && !FEntries.empty()) {
        FBytes -= FEntries.back().coverage->Bytes();
        FIndex.erase(FEntries.back().key);
        FEntries.pop_back();
    }
}

void TGlyphCache::Clear()
{
    std::lock_guard lock(FMutex);
    FIndex.clear();
    FEntries.clear();
    FBytes = 0;
}

void TGlyphCache::SetMaxBytes(std::size_t value)
{
    std::lock_guard lock(FMutex);
    FMaxBytes = value;
    Trim();
}

std::size_t TGlyphCache::Bytes() const
{
    std::lock_guard lock(FMutex);
    return FBytes;
}

std::size_t TGlyphCache::Count() const
{
    std::lock_guard lock(FMutex);
    return FEntries.size();
}

std::size_t TGlyphCache::Renders() const
{
    std::lock_guard lock(FMutex);
    return FRenders;
}

void BlendCoverage(QImage& target, int x, int y, const TGlyphCoverage& coverage, QRgb color)
{
    const QImage::Format format = target.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        return;
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + coverage.Width, target.width());
    const int bottom = std::min(y + coverage.Height, target.height());
    if (left >= right || top >= bottom)
        return;
    const unsigned colorAlpha = qAlpha(color);
    const unsigned red = qRed(color);
    const unsigned green = qGreen(color);
    const unsigned blue = qBlue(color);
    const bool opaque = format == QImage::Format_RGB32;
    for (int row = top; row < bottom; ++row) {
        const uint8_t* from =
            coverage.Alpha.data() + static_cast<std::size_t>(row - y) * coverage.Width + (left - x);
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(row)) + left;
        for (int col = left; col < right; ++col, ++from, ++to) {
            const unsigned a = (*from * colorAlpha + 127) / 255;
            if (a == 0)
                continue;
            const unsigned keep = 255 - a;
            const QRgb d = *to;
            const unsigned r = (red * a + qRed(d) * keep + 127) / 255;
            const unsigned g = (green * a + qGreen(d) * keep + 127) / 255;
            const unsigned b = (blue * a + qBlue(d) * keep + 127) / 255;
            const unsigned al = opaque ? 255 : a + (qAlpha(d) * keep + 127) / 255;
            *to = qRgba(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b),
                        static_cast<int>(al));
        }
    }
}

namespace {

struct TPathSink {
    QPainterPath* path;
    static QPointF Point(const FT_Vector* v) { return {v->x / 64.0, -v->y / 64.0}; }
    static int Move(const FT_Vector* to, void* user)
    {
        auto* sink = static_cast<TPathSink*>(user);
        sink->path->closeSubpath();
        sink->path->moveTo(Point(to));
        return 0;
    }
    static int Line(const FT_Vector* to, void* user)
    {
        static_cast<TPathSink*>(user)->path->lineTo(Point(to));
        return 0;
    }
    static int Conic(const FT_Vector* control, const FT_Vector* to, void* user)
    {
        static_cast<TPathSink*>(user)->path->quadTo(Point(control), Point(to));
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        static_cast<TPathSink*>(user)->path->cubicTo(Point(c1), Point(c2), Point(to));
        return 0;
    }
};

}  // namespace

QPainterPath GlyphPath(const TFontFacePtr& face, const TGlyphKey& key)
{
    QPainterPath path;
    FT_Face ft = Faces().Face(face);
    if (!ft || key.Size64 <= 0 || FT_Set_Char_Size(ft, key.Size64, key.Size64, 72, 72) ||
        FT_Load_Glyph(ft, key.Glyph, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) ||
        ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return path;
    FT_Outline* outline = &ft->glyph->outline;
    if (key.Oblique) {
        FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};
        FT_Outline_Transform(outline, &shear);
    }
    if (key.Embolden) {
        const FT_Pos strength = std::max<FT_Pos>(key.Size64 / 24, 1);
        FT_Outline_EmboldenXY(outline, strength, strength);
    }
    FT_Outline_Funcs funcs{&TPathSink::Move, &TPathSink::Line, &TPathSink::Conic,
                           &TPathSink::Cubic, 0, 0};
    TPathSink sink{&path};
    FT_Outline_Decompose(outline, &funcs, &sink);
    path.closeSubpath();
    path.setFillRule((outline->flags & FT_OUTLINE_EVEN_ODD_FILL) ? Qt::OddEvenFill : Qt::WindingFill);
    return path;
}
