#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QRgb>

#include "text/font_face.h"

typedef struct FT_LibraryRec_* FT_Library;

// The calling thread's own FreeType library. FreeType objects are not shared between
// threads: every thread that rasterises has its own library and its own faces.
FT_Library ThreadFreeType();

// How one glyph is rasterised. Sizes are in 1/64 pixel.
//
// Level 0 draws the hinted outline at the pixel size, at a whole-pixel position. Levels 1 to 4
// give the supersampled anti-aliasing of the preview: the unhinted outline shifted by
// (PhaseX, PhaseY) steps of the 2^level grid, each pixel the mean coverage of its
// 2^level x 2^level samples (computed as the share of the pixel the outline covers), with the
// glyph's position kept to 1/2^level pixel.
struct TGlyphKey {
    uint64_t Face = 0;
    uint32_t Glyph = 0;
    int32_t Size64 = 0;
    uint8_t Level = 0;
    uint8_t PhaseX = 0;
    uint8_t PhaseY = 0;
    // Synthetic styles: the outline thickened by the size / 24, and sheared by 0.2.
    bool Embolden = false;
    bool Oblique = false;

    bool operator==(const TGlyphKey&) const = default;
};

struct TGlyphKeyHash {
    std::size_t operator()(const TGlyphKey& key) const;
};

// A glyph's coverage in final pixels: Width x Height bytes, rows top to bottom, 255 fully
// covered. Its top-left pixel lies Left pixels right of the glyph origin and Top pixels above
// the baseline.
struct TGlyphCoverage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha;

    std::size_t Bytes() const { return Alpha.size() + sizeof(TGlyphCoverage); }
};

using TGlyphCoveragePtr = std::shared_ptr<const TGlyphCoverage>;

// Rasterises one glyph of `face` with the calling thread's FreeType; an empty coverage for a
// glyph without outline (a space, a bitmap-only glyph).
TGlyphCoveragePtr RenderGlyph(const TFontFacePtr& face, const TGlyphKey& key);

// Finished glyph coverages, shared by all threads, kept for the glyphs used most recently and
// bounded in bytes.
class TGlyphCache {
public:
    explicit TGlyphCache(std::size_t maxBytes = 48u << 20);

    // The process's cache, used by every text face.
    static TGlyphCache& Shared();

    // The glyph's coverage, rendered on first use.
    TGlyphCoveragePtr Get(const TFontFacePtr& face, const TGlyphKey& key);
    void Clear();
    void SetMaxBytes(std::size_t value);
    std::size_t Bytes() const;
    std::size_t Count() const;
    // Glyphs rasterised since the cache was made (for tests and benchmarks).
    std::size_t Renders() const;

private:
    struct TEntry {
        TGlyphKey key;
        TGlyphCoveragePtr coverage;
    };
    void Trim();

    mutable std::mutex FMutex;
    std::size_t FMaxBytes;
    std::size_t FBytes = 0;
    std::size_t FRenders = 0;
    std::list<TEntry> FEntries;
    std::unordered_map<TGlyphKey, std::list<TEntry>::iterator, TGlyphKeyHash> FIndex;
};

// Blends `color` (non-premultiplied ARGB) through the coverage onto `target` (RGB32 or
// ARGB32_Premultiplied; other formats are left alone) with the coverage's top-left pixel at
// device pixel (x, y); the parts outside the target are left out.
void BlendCoverage(QImage& target, int x, int y, const TGlyphCoverage& coverage, QRgb color);

class QPainterPath;
// The glyph's outline at `key`'s size (unhinted, key.Level and phases ignored), with the
// synthetic styles applied, in pixels from its origin, y growing downwards.
QPainterPath GlyphPath(const TFontFacePtr& face, const TGlyphKey& key);
