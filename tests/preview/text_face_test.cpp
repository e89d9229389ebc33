#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "preview/bitmap32.h"
#include "preview/raw_font_cache.h"
#include "preview/text_face.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

using fonzeta::test::Sandbox;
using fonzeta::test::TTempFolder;

namespace {

QRawFont Raw(const std::string& path, qreal pixels = 24)
{
    return QRawFont(QString::fromStdString(path), pixels);
}

TTextFace Exact(const std::string& path, TFontStyles style = {}, qreal pixels = 24)
{
    return TTextFace::FromRawFont(Raw(path, pixels), QApplication::font(), style);
}

QImage Draw(const TTextFace& face, const QString& text, QSize size = {400, 60})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    face.Draw(painter, QPointF(2, 2), text);
    return image;
}

int Ink(const QImage& image, const QRect& rect)
{
    int ink = 0;
    const QRect inside = rect & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ink += 255 - qBlue(image.pixel(x, y));
    return ink;
}

TEST(TextFace, PointSizesMatchQtsConversion)
{
    QFont font = QApplication::font();
    font.setPointSize(16);
    const qreal pixels = 16 * TTextFace::PixelsPerPoint();
    EXPECT_NEAR(QFontInfo(font).pixelSize(), pixels, 0.5);
    EXPECT_NEAR(TTextFace::FromFont(font, {}).PixelSize(), pixels, 1e-9);
}

TEST(TextFace, DrawsTheGlyphsOfTheFile)
{
    const QImage regular = Draw(Exact(Sandbox::DejaVuSans()), "Hamburgefonts");
    const QImage bold = Draw(Exact(Sandbox::DejaVuSansBold()), "Hamburgefonts");
    const QImage serif = Draw(Exact(Sandbox::DejaVuSerif()), "Hamburgefonts");
    EXPECT_NE(regular, bold);
    EXPECT_NE(regular, serif);
    EXPECT_GT(Ink(bold, bold.rect()), Ink(regular, regular.rect()) * 5 / 4);
    // Drawn where the cell says: nothing left of the origin or above the cell.
    EXPECT_EQ(Ink(regular, QRect(0, 0, 2, 60)), 0);
    EXPECT_EQ(Ink(regular, QRect(0, 0, 400, 2)), 0);
}

TEST(TextFace, CharactersTheFileLacksComeFromTheFallback)
{
    const QString hangul = QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80");
    const TTextFace face = Exact(Sandbox::DejaVuSans());
    ASSERT_EQ(Raw(Sandbox::DejaVuSans()).glyphIndexesForString(hangul).value(0), 0u);
    const QImage image = Draw(face, "A" + hangul);
    const int a = face.Advance("A");
    // The Hangul is drawn (by the toolkit's fallback, Nanum here), not left out or boxed.
    EXPECT_GT(Ink(image, QRect(2 + a, 0, 60, 60)), 2000);
    EXPECT_EQ(image, Draw(face, "A" + hangul));
    EXPECT_GT(face.Advance("A" + hangul), a + 20);

    // In a bold file the borrowed glyphs are bold too.
    const TTextFace bold = Exact(Sandbox::DejaVuSansBold());
    EXPECT_GE(bold.Font().weight(), QFont::Bold);
    EXPECT_EQ(face.Font().weight(), QFont::Normal);
}

TEST(TextFace, VisiblePrefixKeepsEveryGlyphThatBeginsInside)
{
    const QString hangul = QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80");
    for (const TTextFace& face :
         {Exact(Sandbox::DejaVuSans()), TTextFace::FromFont(QFont("DejaVu Serif", 20), {})}) {
        const int ab = face.Advance("AB");
        EXPECT_EQ(face.VisiblePrefix("ABCDEF", ab + 1), "ABC");
        EXPECT_EQ(face.VisiblePrefix("ABCDEF", ab - 1), "AB");
        EXPECT_EQ(face.VisiblePrefix("ABCDEF", 0), "");
        EXPECT_EQ(face.VisiblePrefix("ABCDEF", 10000), "ABCDEF");
        // Characters the file lacks are measured in the fallback face.
        EXPECT_EQ(face.VisiblePrefix("AB" + hangul + "CD", ab + 1), "AB" + hangul.left(1));
        // A character outside the basic plane is kept or left whole.
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        EXPECT_EQ(face.VisiblePrefix("AB" + emoji + "C", ab + 1), "AB" + emoji);
    }
    EXPECT_EQ(TTextFace().VisiblePrefix("ABC", 100), "");
}

TEST(TextFace, SynthesisesOnlyWhatTheFileLacks)
{
    const QImage plain = Draw(Exact(Sandbox::DejaVuSans()), "Hamburg");
    const QImage bold = Draw(Exact(Sandbox::DejaVuSans(), fsBold), "Hamburg");
    const QImage italic = Draw(Exact(Sandbox::DejaVuSans(), fsItalic), "Hamburg");
    EXPECT_GT(Ink(bold, bold.rect()), Ink(plain, plain.rect()) * 11 / 10);
    EXPECT_NE(italic, plain);
    // The slant moves the tops of the letters to the right.
    EXPECT_NEAR(Ink(italic, italic.rect()), Ink(plain, plain.rect()),
                Ink(plain, plain.rect()) / 10);

    const QImage boldFile = Draw(Exact(Sandbox::DejaVuSansBold()), "Hamburg");
    EXPECT_EQ(Draw(Exact(Sandbox::DejaVuSansBold(), fsBold), "Hamburg"), boldFile);
}

TEST(TextFace, UnderlineAndStrikeOutSpanTheLine)
{
    const TTextFace plainFace = Exact(Sandbox::DejaVuSans());
    const QImage plain = Draw(plainFace, "ab cd");
    const int width = plainFace.Advance("ab cd");
    const int baseline = 2 + plainFace.Ascent();
    const QImage under = Draw(Exact(Sandbox::DejaVuSans(), fsUnderline), "ab cd");
    // Between the words there is ink only in the underline's rows.
    const QRect gap(2 + plainFace.Advance("ab") + 1, 0, 3, 60);
    EXPECT_EQ(Ink(plain, gap), 0);
    EXPECT_GT(Ink(under, QRect(gap.left(), baseline, 3, 4)), 0);
    EXPECT_EQ(Ink(under, QRect(gap.left(), 0, 3, baseline)), 0);
    EXPECT_EQ(Ink(under, QRect(2 + width + 1, 0, 50, 60)), 0);

    const QImage strike = Draw(Exact(Sandbox::DejaVuSans(), fsStrikeOut), "ab cd");
    EXPECT_GT(Ink(strike, QRect(gap.left(), 2, 3, baseline - 2)), 0);
    EXPECT_EQ(Ink(strike, QRect(gap.left(), baseline, 3, 30)), 0);
}

TEST(TextFace, ScaledFaceIsTheSameFaceLarger)
{
    const TTextFace face = Exact(Sandbox::DejaVuSerif(), fsItalic, 20);
    const TTextFace large = face.Scaled(4);
    EXPECT_TRUE(large.IsExact());
    EXPECT_DOUBLE_EQ(large.PixelSize(), 80);
    EXPECT_EQ(large.RawFont().familyName(), "DejaVu Serif");
    EXPECT_EQ(large.Style(), TFontStyles(fsItalic));
    EXPECT_NEAR(large.Advance("Hamburg"), 4 * face.Advance("Hamburg"), 8);

    QFont font("DejaVu Sans");
    font.setPointSize(10);
    const TTextFace byName = TTextFace::FromFont(font, fsBold);
    EXPECT_FALSE(byName.IsExact());
    EXPECT_TRUE(byName.Font().bold());
    EXPECT_EQ(byName.Scaled(3).Font().pointSize(), 30);
}

TEST(TextFace, BitmapRendersThroughTheExactFace)
{
    const auto render = [](const std::string& path) {
        TBitmap32 bitmap;
        bitmap.SetSize(300, 40);
        bitmap.Clear(0xFFFFFFFF);
        bitmap.SetTextFace(Exact(path, {}, 20));
        bitmap.RenderText(5, 0, "Hamburgefonts", 2, 0xFF000000);
        return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + 300 * 40);
    };
    const auto regular = render(Sandbox::DejaVuSans());
    const auto bold = render(Sandbox::DejaVuSansBold());
    EXPECT_NE(regular, bold);
    const auto dark = [](const std::vector<TColor32>& pixels) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [](TColor32 p) { return (p & 0xFF) < 128; });
    };
    EXPECT_GT(dark(regular), 300);
    EXPECT_GT(dark(bold), dark(regular));

    TBitmap32 bitmap;
    bitmap.SetTextFace(Exact(Sandbox::DejaVuSans(), {}, 20));
    EXPECT_EQ(bitmap.TextExtent("Hamburg"), bitmap.TextFace()->Extent("Hamburg"));
    bitmap.SetTextFace(std::nullopt);
    bitmap.SetFont(QFont("DejaVu Serif", 30));
    EXPECT_EQ(bitmap.TextExtent("Hamburg").height(), QFontMetrics(QFont("DejaVu Serif", 30)).height());
}

TEST(RawFontCache, ReadsEachFileOnceForAllItsSizes)
{
    TRawFontCache cache;
    const QRawFont small = cache.Find(Sandbox::DejaVuSans(), 12);
    const QRawFont large = cache.Find(Sandbox::DejaVuSans(), 48);
    ASSERT_TRUE(small.isValid() && large.isValid());
    EXPECT_DOUBLE_EQ(small.pixelSize(), 12);
    EXPECT_DOUBLE_EQ(large.pixelSize(), 48);
    EXPECT_EQ(small.familyName(), "DejaVu Sans");
    cache.Find(Sandbox::DejaVuSans(), 12);
    EXPECT_EQ(cache.Loads(), 1u);
    EXPECT_EQ(cache.Count(), 1u);
}

TEST(RawFontCache, MakesEachHintingFromTheOneRead)
{
    TRawFontCache cache;
    const QRawFont hinted = cache.Find(Sandbox::DejaVuSerif(), 20);
    const QRawFont unhinted = cache.Find(Sandbox::DejaVuSerif(), 80, QFont::PreferNoHinting);
    EXPECT_EQ(hinted.hintingPreference(), QFont::PreferDefaultHinting);
    EXPECT_EQ(unhinted.hintingPreference(), QFont::PreferNoHinting);
    EXPECT_DOUBLE_EQ(unhinted.pixelSize(), 80);
    EXPECT_EQ(unhinted.familyName(), "DejaVu Serif");
    EXPECT_EQ(cache.Loads(), 1u);

    // The text-drawing core's face comes from the same read.
    std::string reason;
    const TFontFacePtr face = cache.Face(Sandbox::DejaVuSerif(), 0, &reason);
    ASSERT_TRUE(face) << reason;
    EXPECT_EQ(face->FamilyName(), "DejaVu Serif");
    EXPECT_EQ(cache.Loads(), 1u);
}

TEST(RawFontCache, RemembersFilesThatAreNoFonts)
{
    TTempFolder folder;
    const std::string junk = folder / "junk.ttf";
    QFile file(QString::fromStdString(junk));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a font at all");
    file.close();
    TRawFontCache cache;
    EXPECT_FALSE(cache.Find(junk, 20).isValid());
    EXPECT_FALSE(cache.Find(junk, 20).isValid());
    EXPECT_FALSE(cache.Find(folder / "missing.ttf", 20).isValid());
    EXPECT_EQ(cache.Loads(), 2u);
}

TEST(RawFontCache, KeepsTheMostRecentlyUsedFiles)
{
    TRawFontCache cache(2);
    cache.Find(Sandbox::DejaVuSans(), 20);
    cache.Find(Sandbox::DejaVuSerif(), 20);
    cache.Find(Sandbox::DejaVuSans(), 20);          // the serif is now the oldest
    cache.Find(Sandbox::DejaVuSansBold(), 20);      // and goes
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_EQ(cache.Loads(), 3u);
    cache.Find(Sandbox::DejaVuSans(), 20);
    EXPECT_EQ(cache.Loads(), 3u);
    cache.Find(Sandbox::DejaVuSerif(), 20);
    EXPECT_EQ(cache.Loads(), 4u);

    // A byte limit smaller than one file still keeps the file in use.
    TRawFontCache tight(10, 1000);
    EXPECT_TRUE(tight.Find(Sandbox::NanumGothic(), 20).isValid());
    EXPECT_TRUE(tight.Find(Sandbox::DejaVuSans(), 20).isValid());
    EXPECT_EQ(tight.Count(), 1u);
}

}  // namespace
