#include <gtest/gtest.h>

#include <cmath>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "preview/text_face.h"
#include "support/sandbox.h"
#include "text/shaper.h"

using fonzeta::test::Sandbox;

namespace {

const std::string Noto = "/usr/share/fonts/truetype/noto/";

TFontFacePtr LoadFace(const std::string& path, int index = 0)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return TFontFace::Load(file.readAll(), index);
}

struct TReferenceGlyph {
    uint32_t glyph;
    int32_t dx, dy, advance;
};

// The glyphs hb-shape gives for the text, its sizes in 1/64 pixel at `pixels`.
std::vector<TReferenceGlyph> HbShape(const std::string& path, const QString& text, double pixels)
{
    // Code points rather than text: the test's locale may not be UTF-8.
    QStringList codes;
    for (const char32_t code : text.toUcs4())
        codes << QString("U+%1").arg(static_cast<uint>(code), 4, 16, QChar('0'));
    QProcess process;
    process.start("hb-shape", {"--no-glyph-names", "--no-clusters",
                               QString("--font-size=%1").arg(std::lround(pixels * 64)),
                               "--unicodes=" + codes.join(','), QString::fromStdString(path)});
    EXPECT_TRUE(process.waitForFinished(20000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    std::vector<TReferenceGlyph> glyphs;
    static const QRegularExpression item(R"((\d+)(?:@(-?\d+),(-?\d+))?\+(-?\d+))");
    for (const QString& part : output.mid(1, output.size() - 2).split('|')) {
        const QRegularExpressionMatch match = item.match(part);
        EXPECT_TRUE(match.hasMatch()) << part.toStdString();
        glyphs.push_back({match.captured(1).toUInt(), match.captured(2).toInt(),
                          match.captured(3).toInt(), match.captured(4).toInt()});
    }
    return glyphs;
}

// The shaped line's glyphs in the reference's terms: offsets from the pen.
std::vector<TReferenceGlyph> AsReference(const TShapedLine& line)
{
    std::vector<TReferenceGlyph> glyphs;
    int32_t pen = 0;
    for (const TShapedGlyph& glyph : line.Glyphs) {
        glyphs.push_back({glyph.Glyph, glyph.X - pen, glyph.Y, glyph.Advance});
        pen += glyph.Advance;
    }
    return glyphs;
}

void ExpectSameGlyphs(const std::vector<TReferenceGlyph>& actual,
                      const std::vector<TReferenceGlyph>& expected, const std::string& what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].glyph, expected[i].glyph) << what << " glyph " << i;
        EXPECT_EQ(actual[i].advance, expected[i].advance) << what << " glyph " << i;
        EXPECT_EQ(actual[i].dx, expected[i].dx) << what << " glyph " << i;
        EXPECT_EQ(actual[i].dy, expected[i].dy) << what << " glyph " << i;
    }
}

QImage Blank(int width = 600, int height = 120)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

}  // namespace

TEST(TextShaping, GlyphsAndPositionsAreThoseOfAnIndependentShaper)
{
    struct TCase {
        std::string file;
        QString text;
    };
    const std::vector<TCase> cases = {
        {Noto + "NotoSansArabic-Regular.ttf", QString::fromUtf8("العربية نص")},
        {Noto + "NotoSansDevanagari-Regular.ttf", QString::fromUtf8("मराठी हिन्दी")},
        {Noto + "NotoSansHebrew-Regular.ttf", QString::fromUtf8("שָׁלוֹם עולם")},
        {Sandbox::DejaVuSans(), "fifty AVATAR office"},
        {Noto + "NotoSans-Regular.ttf", "AVAWAY fi"},
    };
    for (const double pixels : {21.333333, 37.0}) {
        for (const TCase& c : cases) {
            const TFontFacePtr face = LoadFace(c.file);
            ASSERT_TRUE(face) << c.file;
            const TShapedLine line = ShapeLine(face, c.text, pixels);
            EXPECT_EQ(line.Borrowed, 0) << c.file;
            ExpectSameGlyphs(AsReference(line), HbShape(c.file, c.text, pixels),
                             c.file + " at " + std::to_string(pixels));
        }
    }
}

TEST(TextShaping, KerningAndLigaturesChangeTheLine)
{
    const std::string file = Noto + "NotoSans-Regular.ttf";
    const TFontFacePtr face = LoadFace(file);
    ASSERT_TRUE(face);
    const double pixels = 48;
    // GPOS kerning: as wide as the reference says, narrower than the sum of the advances.
    const TShapedLine kerned = ShapeLine(face, "AVAWAY", pixels);
    int32_t reference = 0;
    for (const TReferenceGlyph& glyph : HbShape(file, "AVAWAY", pixels))
        reference += glyph.advance;
    EXPECT_EQ(kerned.Width, reference);
    EXPECT_LT(kerned.Width, LookUpLine(face, "AVAWAY", pixels).Width - 64 * 4);

    const TTextFace text = TTextFace::FromFile(LoadFace(Sandbox::DejaVuSans()), pixels, {}, {});
    EXPECT_EQ(text.Advance("AVAWAY") * 64 >= text.Shape("AVAWAY").Width, true);
    // DejaVu Sans's "fi" is one glyph.
    EXPECT_EQ(text.Shape("fi").Glyphs.size(), 1u);
}

TEST(TextShaping, MixedDirectionsComeInVisualOrder)
{
    // DejaVu Sans has Latin, Arabic and digits, so the order alone is tested.
    const TFontFacePtr face = LoadFace(Sandbox::DejaVuSans());
    ASSERT_TRUE(face);
    // a b c space, then the Arabic word (4 to 10), a space (11) and 1 2 3 (12 to 14): the
    // digits follow Arabic letters and so belong to the right-to-left run, which is shown
    // reversed as a whole: "abc 123 <Arabic right to left>".
    const TShapedLine mixed = ShapeLine(face, QString::fromUtf8("abc العربية 123"), 30);
    std::vector<int> clusters;
    for (const TShapedGlyph& glyph : mixed.Glyphs)
        clusters.push_back(glyph.Cluster);
    ASSERT_GE(clusters.size(), 12u);
    EXPECT_EQ(std::vector<int>(clusters.begin(), clusters.begin() + 8),
              (std::vector<int>{0, 1, 2, 3, 12, 13, 14, 11}));
    for (std::size_t i = 8; i < clusters.size(); ++i) {
        EXPECT_GE(clusters[i], 4);
        EXPECT_LE(clusters[i], 10);
        if (i > 8)
            EXPECT_LE(clusters[i], clusters[i - 1]) << "Arabic runs from right to left";
    }
    for (std::size_t i = 1; i < mixed.Glyphs.size(); ++i)
        EXPECT_GE(mixed.Glyphs[i].X, mixed.Glyphs[i - 1].X);

    // A line that starts with Arabic is a right-to-left paragraph: the Latin word is left.
    const TShapedLine rtl = ShapeLine(face, QString::fromUtf8("العربية abc"), 30);
    ASSERT_GE(rtl.Glyphs.size(), 4u);
    EXPECT_EQ(rtl.Glyphs[0].Cluster, 8);
    EXPECT_EQ(rtl.Glyphs[1].Cluster, 9);
    EXPECT_EQ(rtl.Glyphs[2].Cluster, 10);
    EXPECT_EQ(rtl.Glyphs[3].Cluster, 7);
}

TEST(TextShaping, ArabicDrawnShapedDiffersFromLettersDrawnOneByOne)
{
    const TFontFacePtr file = LoadFace(Noto + "NotoSansArabic-Regular.ttf");
    ASSERT_TRUE(file);
    const TTextFace face = TTextFace::FromFile(file, 40, {}, {});
    const QString word = QString::fromUtf8("العربية");
    QImage shaped = Blank();
    face.Paint(shaped, QPointF(10, 10), word, 0xFF000000, 2);
    // The letters alone, left to right, each in its isolated form.
    QImage isolated = Blank();
    qreal x = 10;
    for (const QChar letter : word) {
        face.Paint(isolated, QPointF(x, 10), QString(letter), 0xFF000000, 2);
        x += face.Shape(QString(letter)).Width / 64.0;
    }
    int differing = 0;
    for (int y = 0; y < shaped.height(); ++y)
        for (int col = 0; col < shaped.width(); ++col)
            differing += shaped.pixel(col, y) != isolated.pixel(col, y);
    EXPECT_GT(differing, 500);
    // Joined, the word is narrower than its isolated letters.
    EXPECT_LT(face.Shape(word).Width / 64.0, x - 10);
}
