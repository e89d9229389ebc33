#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "preview/supersample.h"
#include "support/sandbox.h"
#include "text/glyph_raster.h"

using fonzeta::test::Sandbox;

namespace {

TFontFacePtr LoadFace(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return TFontFace::Load(file.readAll(), 0);
}

// The glyph filled by Qt at four times the size, offset by the phase on that grid, and
// reduced 4 x 4 by the supersampling filter: the coverage the level-2 glyph should have, with
// the glyph origin at (left, top) of the result shifted by (margin, margin).
QImage SupersampledByQt(const TFontFacePtr& face, TGlyphKey key, int margin, int size)
{
    TGlyphKey large = key;
    large.Size64 = key.Size64 * 4;
    const QPainterPath path = GlyphPath(face, large);
    QImage big(size * 4, size * 4, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::black);
    QPainter painter(&big);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path.translated(margin * 4 + key.PhaseX, margin * 4 + key.PhaseY),
                     Qt::white);
    painter.end();
    QImage reduced(size, size, QImage::Format_ARGB32);
    ReduceCoveragePlain(reinterpret_cast<const TColor32*>(big.constBits()), big.width(),
                        reinterpret_cast<TColor32*>(reduced.bits()), size, size, 2, 0);
    return reduced;
}

}  // namespace

TEST(GlyphCoverage, SupersampledGlyphsMatchAnIndependentFourByFourRendering)
{
    const TFontFacePtr face = LoadFace(Sandbox::DejaVuSerif());
    const int margin = 10;
    const int size = 80;
    int worst = 0;
    for (const uint32_t glyph : {face->GlyphFor('g'), face->GlyphFor('W'), face->GlyphFor('&')}) {
        for (const uint8_t phase : {0, 1, 3}) {
            TGlyphKey key;
            key.Face = face->Id();
            key.Glyph = glyph;
            key.Size64 = 40 * 64;
            key.Level = 2;
            key.PhaseX = phase;
            key.PhaseY = static_cast<uint8_t>(3 - phase);
            const TGlyphCoveragePtr coverage = RenderGlyph(face, key);
            ASSERT_GT(coverage->Width, 0);
            const QImage reference = SupersampledByQt(face, key, margin, size);
            // Every pixel of the reference, inside the glyph's box or not.
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const int cx = x - margin - coverage->Left;
                    const int cy = y - margin + coverage->Top;
                    const int mine = cx >= 0 && cy >= 0 && cx < coverage->Width && cy < coverage->Height
                                         ? coverage->Alpha[cy * coverage->Width + cx]
                                         : 0;
                    worst = std::max(worst, std::abs(mine - qAlpha(reference.pixel(x, y))));
                }
            }
        }
    }
    // The two rasterisers round differently; a misplaced glyph or a wrong phase is far off.
    EXPECT_LE(worst, 16);
}

TEST(GlyphCoverage, CacheIsBoundedInBytesAndRendersEachGlyphOnce)
{
    const TFontFacePtr face = LoadFace(Sandbox::DejaVuSans());
    TGlyphCache cache(200 * 1024);
    TGlyphKey key;
    key.Face = face->Id();
    key.Size64 = 30 * 64;
    key.Level = 2;
    for (uint32_t glyph = 1; glyph < 400; ++glyph) {
        key.Glyph = glyph;
        cache.Get(face, key);
        EXPECT_LE(cache.Bytes(), 200u * 1024u);
    }
    const std::size_t renders = cache.Renders();
    EXPECT_EQ(renders, 399u);
    key.Glyph = 399;
    const TGlyphCoveragePtr again = cache.Get(face, key);
    EXPECT_EQ(cache.Renders(), renders);
    // A different phase is a different rendering.
    key.PhaseX = 2;
    const TGlyphCoveragePtr shifted = cache.Get(face, key);
    EXPECT_EQ(cache.Renders(), renders + 1);
    EXPECT_NE(again->Alpha, shifted->Alpha);
    cache.Clear();
    EXPECT_EQ(cache.Bytes(), 0u);
}
