#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "preview/bitmap32.h"


namespace {

// DejaVu Sans Book, which the sandbox's fontconfig lists.
QFont DejaVuSans(double points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleName(QStringLiteral("Book"));
    font.setPointSizeF(points);
    return font;
}

std::vector<TColor32> Pixels(const TBitmap32& bitmap)
{
    return std::vector<TColor32>(bitmap.Bits(),
                                 bitmap.Bits() + bitmap.Width() * bitmap.Height());
}

// Renders text in white on an opaque black bitmap; the blue byte of each pixel then grows
// with the coverage, and is 0 exactly where nothing was drawn.
std::vector<TColor32> Render(const QFont& font, const std::string& text, int level, int width,
                             int height, int x = 0, int y = 0)
{
    TBitmap32 bitmap;
    bitmap.SetSize(width, height);
    bitmap.Clear();
    bitmap.SetFont(font);
    bitmap.RenderText(x, y, text, level, 0xFFFFFFFF);
    return Pixels(bitmap);
}

int Ink(const std::vector<TColor32>& pixels)
{
    int sum = 0;
    for (TColor32 p : pixels)
        sum += static_cast<int>(p & 0xFF);
    return sum;
}

const char* const FullBlock = "\u2588";

}  // namespace

TEST(RenderText, DoesNothingOnAnEmptyBitmap)
{
    TBitmap32 bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TCustomMap*) { ++changes; };
    bitmap.SetFont(DejaVuSans(16));
    bitmap.RenderText(0, 0, "Text", 2, 0xFF000000);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(changes, 0);
}

TEST(RenderText, LevelsAreClampedToZeroToFour)
{
    const QFont font = DejaVuSans(12);
    const std::string text = "Agjy 12";
    const auto level0 = Render(font, text, 0, 120, 30, 2, 1);
    const auto level1 = Render(font, text, 1, 120, 30, 2, 1);
    const auto level3 = Render(font, text, 3, 120, 30, 2, 1);
    const auto level4 = Render(font, text, 4, 120, 30, 2, 1);
    ASSERT_GT(Ink(level0), 0);
    // Every level draws differently, so equal results below mean equal levels.
    ASSERT_NE(level0, level1);
    ASSERT_NE(level3, level4);
    EXPECT_EQ(Render(font, text, 7, 120, 30, 2, 1), level4);
    EXPECT_EQ(Render(font, text, 1000, 120, 30, 2, 1), level4);
    EXPECT_EQ(Render(font, text, -1, 120, 30, 2, 1), level0);
    EXPECT_EQ(Render(font, text, -50, 120, 30, 2, 1), level0);
}

TEST(RenderText, FullyCoveredPixelsTakeExactlyTheTextColourAndOthersKeepTheBackground)
{
    for (int level : {0, 2}) {
        TBitmap32 bitmap;
        bitmap.SetSize(80, 60);
        bitmap.Clear(0xFFFFFFFF);
        bitmap.SetFont(DejaVuSans(30));
        bitmap.RenderText(10, 5, FullBlock, level, Color32(clNavy));
        const int blockWidth = QFontMetrics(bitmap.Font()).horizontalAdvance(QString(u'\u2588'));
        ASSERT_GT(blockWidth, 10);
        // The middle of the block is covered by every sample.
        EXPECT_EQ(*bitmap.GetPixelPtr(10 + blockWidth / 2, 25), 0xFF000080u) << level;
        // Left of the text, above it and well right of it nothing was drawn.
        EXPECT_EQ(*bitmap.GetPixelPtr(5, 25), 0xFFFFFFFFu) << level;
        EXPECT_EQ(*bitmap.GetPixelPtr(20, 2), 0xFFFFFFFFu) << level;
        EXPECT_EQ(*bitmap.GetPixelPtr(10 + blockWidth + 5, 25), 0xFFFFFFFFu) << level;
    }
}

TEST(RenderText, TheColourAlphaIsTheOverallOpacity)
{
    TBitmap32 bitmap;
    bitmap.SetSize(80, 60);
    bitmap.Clear();
    bitmap.SetFont(DejaVuSans(30));
    bitmap.RenderText(10, 5, FullBlock, 2, 0x80FFFFFF);
    const int blockWidth = QFontMetrics(bitmap.Font()).horizontalAdvance(QString(u'\u2588'));
    // Full coverage at master alpha 128 blends with weight 128: (255 * 128 + 128) >> 8.
    EXPECT_EQ(*bitmap.GetPixelPtr(10 + blockWidth / 2, 25) & 0xFF, 128u);
}

TEST(RenderText, TruncatesTheSupersampledCellHeight)
{
    // A face size whose cell at four times the size is 50 pixels high: the working bitmap
    // is then 50 >> 2 = 12 rows and the last two rows of samples are dropped.
    QFont font = DejaVuSans(8);
    double points = 6;
    for (; points < 10; points += 0.01) {
        QFont large = font;
        large.setPointSizeF(points * 4);
        if (QFontMetrics(large).height() == 50)
            break;
    }
    ASSERT_LT(points, 10);
    font.setPointSizeF(points);

    // The full block reaches into the two bottom sample rows, so keeping them would give a
    // thirteenth row of coverage.
    TBitmap32 large;
    QFont largeFont = font;
    largeFont.setPointSizeF(points * 4);
    large.SetFont(largeFont);
    large.SetSize(large.TextExtent(FullBlock).width(), 50);
    large.Clear(0);
    large.SetFontColor(clWhite);
    large.Textout(0, 0, FullBlock);
    ASSERT_GT(*large.GetPixelPtr(large.Width() / 2, 49) & 0xFF, 0u);

    const int width = 40, height = 20;
    const auto pixels = Render(font, FullBlock, 2, width, height, 1, 3);
    const int middle = 1 + large.Width() / 8;
    EXPECT_EQ(pixels[middle + (3 + 11) * width] & 0xFF, 255u);  // the 12th row, covered
    for (int x = 0; x < width; ++x)
        EXPECT_EQ(pixels[x + (3 + 12) * width], 0xFF000000u) << x;  // the 13th row, untouched
}

TEST(RenderText, CoverageLiesExactlyWhereTheGlyphOutlinesAre)
{
    const QFont font = DejaVuSans(16);
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 1234567890";
    const int x0 = 7, y0 = 4;
    const int width = 600, height = 40;
    const auto pixels = Render(font, text, 2, width, height, x0, y0);

    // The outlines that the supersampled rendering is made from, at four times the size,
    // with the cell's top-left corner at the origin.
    QFont large = font;
    large.setPointSizeF(64);
    QPainterPath outline;
    outline.addText(QPointF(0, QFontMetrics(large).ascent()), large, QString::fromStdString(text));
    ASSERT_LT(outline.boundingRect().right() / 4 + x0, width);

    int inside = 0, outside = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TColor32 coverage = pixels[x + y * width] & 0xFF;
            const QRectF samples((x - x0) * 4.0, (y - y0) * 4.0, 4, 4);
            if (outline.contains(samples.adjusted(1, 1, -1, -1))) {
                ++inside;
                EXPECT_GT(coverage, 0u) << x << "," << y;
            } else if (!outline.intersects(samples.adjusted(-1, -1, 1, 1))) {
                ++outside;
                EXPECT_EQ(coverage, 0u) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inside, 300);
    EXPECT_GT(outside, 15000);
}

TEST(RenderText, MissingGlyphsComeFromASubstituteFace)
{
    // DejaVu Sans has no Hangul; the text still shows, drawn in another installed face.
    const auto pixels = Render(DejaVuSans(16), "\uD55C\uAE00", 2, 80, 40);
    EXPECT_GT(Ink(pixels), 255 * 20);
}

TEST(RenderText, KeptWorkingMemoryDoesNotLeakIntoTheNextCall)
{
    const QFont big = DejaVuSans(40);
    const QFont small = DejaVuSans(9);
    const auto first = Render(small, "ijk", 2, 40, 20);
    Render(big, "WWWWWW", 2, 400, 80);
    EXPECT_EQ(Render(small, "ijk", 2, 40, 20), first);
}

TEST(RenderText, RenderingFromAChangeHandlerWorks)
{
    const QFont font = DejaVuSans(12);
    const auto expected = Render(font, "nested", 2, 80, 24);

    TBitmap32 outer, inner;
    outer.SetSize(80, 24);
    outer.Clear();
    outer.SetFont(font);
    inner.SetSize(80, 24);
    inner.Clear();
    inner.SetFont(font);
    bool rendered = false;
    outer.OnChange = [&](TCustomMap*) {
        if (!rendered) {
            rendered = true;
            inner.RenderText(0, 0, "nested", 2, 0xFFFFFFFF);
        }
    };
    outer.RenderText(0, 0, "outer", 2, 0xFFFFFFFF);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(Pixels(inner), expected);
    outer.OnChange = nullptr;
    TBitmap32 check;
    check.SetSize(80, 24);
    check.Clear();
    check.SetFont(font);
    check.RenderText(0, 0, "outer", 2, 0xFFFFFFFF);
    EXPECT_EQ(Pixels(outer), Pixels(check));
}

TEST(Textout, DrawsTheCellFromItsTopLeftCornerInTheFontColour)
{
    TBitmap32 bitmap;
    bitmap.SetSize(60, 50);
    bitmap.Clear(0);
    bitmap.SetFont(DejaVuSans(20));
    bitmap.SetFontColor(clWhite);
    bitmap.Textout(5, 3, "I");
    const QFontMetrics metrics(bitmap.Font());
    EXPECT_EQ(bitmap.TextExtent("I"), QSize(metrics.horizontalAdvance("I"), metrics.height()));

    // The ink lies where the glyph's own box puts it below a cell corner at (5, 3).
    int left = 60, top = 50, right = -1, bottom = -1;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            if ((*bitmap.GetPixelPtr(x, y) & 0xFF) > 127) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    const QRect glyph = metrics.tightBoundingRect("I").translated(5, 3 + metrics.ascent());
    EXPECT_NEAR(left, glyph.left(), 1);
    EXPECT_NEAR(top, glyph.top(), 1);
    EXPECT_NEAR(right, glyph.right(), 1);
    EXPECT_NEAR(bottom, glyph.bottom(), 1);
    const QPoint middle((left + right) / 2, (top + bottom) / 2);
    EXPECT_EQ(*bitmap.GetPixelPtr(middle.x(), middle.y()) & 0xFFFFFF, 0xFFFFFFu);

    bitmap.SetFontColor(clNavy);
    bitmap.Clear(0);
    bitmap.Textout(5, 3, "I");
    EXPECT_EQ(*bitmap.GetPixelPtr(middle.x(), middle.y()) & 0xFFFFFF, 0x000080u);
}

TEST(Textout, LargeTextHasExactlyThePixelsOfQPainterDrawText)
{
    // Large glyphs are filled one by one; kerned pairs, a substituted script and a space
    // must come out as Qt draws the whole line.
    for (const char* text : {"AVAWAY Te To fi 1234567890", "WAVE \uD55C\uAE00 \u2588"}) {
        QFont font = DejaVuSans(64);
        TBitmap32 bitmap;
        bitmap.SetFont(font);
        const QSize extent = bitmap.TextExtent(text);
        bitmap.SetSize(extent.width() + 10, extent.height());
        bitmap.Clear(0);
        bitmap.SetFontColor(clWhite);
        bitmap.Textout(3, 0, text);

        QImage expected(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(0);
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QPoint(3, painter.fontMetrics().ascent()), QString::fromUtf8(text));
        }
        int differing = 0, ink = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const TColor32 pixel = *bitmap.GetPixelPtr(x, y);
                ink += static_cast<int>(pixel & 0xFF);
                differing += pixel != expected.pixel(x, y);
            }
        EXPECT_GT(ink, 255 * 1000) << text;
        EXPECT_EQ(differing, 0) << text;
    }
}

TEST(RenderText, DrawsTheUnderlineOfAnUnderlinedFont)
{
    QFont font = DejaVuSans(16);
    font.setUnderline(true);
    const int width = 120, height = 40;
    // Two spaces: no glyph ink, only the underline beneath them.
    const auto pixels = Render(font, "i  i", 2, width, height);
    const QFontMetrics metrics(font);
    const int middle = metrics.horizontalAdvance("i ");
    int covered = 0;
    for (int y = 0; y < height; ++y)
        covered += (pixels[middle + y * width] & 0xFF) > 0;
    EXPECT_GT(covered, 0);
}

TEST(Textout, DoesNothingOnAnEmptyBitmap)
{
    TBitmap32 bitmap;
    bitmap.Textout(0, 0, "x");
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_GT(bitmap.TextExtent("x").height(), 0);  // measured on the screen instead
}
