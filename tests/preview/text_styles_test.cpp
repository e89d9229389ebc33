#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QtEndian>

#include "preview/raw_font_cache.h"
#include "preview/text_face.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

using fonzeta::test::Sandbox;
using fonzeta::test::TTempFolder;

namespace {

const std::string DejaVu = "/usr/share/fonts/truetype/dejavu/";

QByteArray ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll();
}

TFontFacePtr LoadFace(const QByteArray& data, int index = 0)
{
    std::string reason;
    TFontFacePtr face = TFontFace::Load(data, index, &reason);
    EXPECT_TRUE(face) << reason;
    return face;
}

// Offset of a table in a font file's directory; 0 when it has none.
uint32_t TableOffset(const QByteArray& font, const char* tag, uint32_t base = 0)
{
    const uint16_t count = qFromBigEndian<quint16>(font.constData() + base + 4);
    for (uint16_t i = 0; i < count; ++i) {
        const char* entry = font.constData() + base + 12 + 16 * i;
        if (std::memcmp(entry, tag, 4) == 0)
            return qFromBigEndian<quint32>(entry + 8);
    }
    return 0;
}

// The font with OS/2's usWeightClass set to `weight`.
QByteArray WithWeight(QByteArray font, uint16_t weight)
{
    const uint32_t os2 = TableOffset(font, "OS/2");
    EXPECT_NE(os2, 0u);
    qToBigEndian<quint16>(weight, font.data() + os2 + 4);
    return font;
}

// A collection of two fonts, each table directory pointing into the one file.
QByteArray Collection(const QByteArray& first, const QByteArray& second)
{
    QByteArray file(20, '\0');
    std::memcpy(file.data(), "ttcf", 4);
    qToBigEndian<quint32>(0x00010000u, file.data() + 4);
    qToBigEndian<quint32>(2u, file.data() + 8);
    for (const QByteArray& font : {first, second}) {
        const auto base = static_cast<uint32_t>(file.size());
        qToBigEndian<quint32>(base, file.data() + (font.constData() == first.constData() ? 12 : 16));
        QByteArray moved = font;
        const uint16_t count = qFromBigEndian<quint16>(moved.constData() + 4);
        for (uint16_t i = 0; i < count; ++i) {
            char* entry = moved.data() + 12 + 16 * i;
            qToBigEndian<quint32>(qFromBigEndian<quint32>(entry + 8) + base, entry + 8);
        }
        file.append(moved);
    }
    return file;
}

QImage Draw(const TTextFace& face, const QString& text, int level, QSize size = {700, 160})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    face.Paint(image, QPointF(10, 10), text, 0xFF000000, level);
    return image;
}

// The ink runs along row y: lengths of the stretches darker than half grey.
std::vector<int> InkRuns(const QImage& image, int y)
{
    std::vector<int> runs;
    int length = 0;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
            ++length;
        } else if (length > 0) {
            runs.push_back(length);
            length = 0;
        }
    }
    if (length > 0)
        runs.push_back(length);
    return runs;
}

}  // namespace

TEST(TextStyles, WeightAndSlantComeFromTheFile)
{
    EXPECT_EQ(LoadFace(ReadAll(DejaVu + "DejaVuSans-ExtraLight.ttf"))->Weight(), 200);
    EXPECT_EQ(LoadFace(ReadAll(DejaVu + "DejaVuSans-Bold.ttf"))->Weight(), 700);
    EXPECT_FALSE(LoadFace(ReadAll(DejaVu + "DejaVuSans-Bold.ttf"))->Italic());
    EXPECT_TRUE(LoadFace(ReadAll(DejaVu + "DejaVuSans-Oblique.ttf"))->Italic());
    EXPECT_EQ(LoadFace(WithWeight(ReadAll(DejaVu + "DejaVuSans.ttf"), 800))->Weight(), 800);
    // Old files that state the weight in hundreds.
    EXPECT_EQ(LoadFace(WithWeight(ReadAll(DejaVu + "DejaVuSans.ttf"), 6))->Weight(), 600);
}

TEST(TextStyles, SyntheticBoldThickensStemsWithoutAGap)
{
    const TFontFacePtr thin = LoadFace(ReadAll(DejaVu + "DejaVuSans-ExtraLight.ttf"));
    const qreal pixels = 96;  // 72 points
    for (const int level : {0, 2}) {
        const TTextFace regular = TTextFace::FromFile(thin, pixels, {}, {});
        const TTextFace bold = TTextFace::FromFile(thin, pixels, {}, fsBold);
        ASSERT_TRUE(bold.SynthesisesBold());
        // Across the stems of "lI" half-way up the letters: two runs of ink each time, the
        // bold ones wider by about size / 24 = 4 pixels, and no gap inside them.
        const int y = 10 + bold.Ascent() - 30;
        const std::vector<int> plainRuns = InkRuns(Draw(regular, "lI", level), y);
        const std::vector<int> boldRuns = InkRuns(Draw(bold, "lI", level), y);
        ASSERT_EQ(plainRuns.size(), 2u) << level;
        ASSERT_EQ(boldRuns.size(), 2u) << level;
        for (int i = 0; i < 2; ++i) {
            EXPECT_GE(boldRuns[i], plainRuns[i] + 3) << level;
            EXPECT_LE(boldRuns[i], plainRuns[i] + 6) << level;
        }
    }
}

TEST(TextStyles, AHeavyFileIsNotEmboldenedAgain)
{
    const TFontFacePtr extraBold = LoadFace(WithWeight(ReadAll(DejaVu + "DejaVuSans.ttf"), 800));
    const TTextFace off = TTextFace::FromFile(extraBold, 40, {}, {});
    const TTextFace on = TTextFace::FromFile(extraBold, 40, {}, fsBold);
    EXPECT_FALSE(on.SynthesisesBold());
    EXPECT_EQ(Draw(on, "Hamburg", 2), Draw(off, "Hamburg", 2));
    // Its fallback glyphs are asked for in its weight.
    const TFontFacePtr regular = LoadFace(ReadAll(DejaVu + "DejaVuSans.ttf"));
    EXPECT_NE(Draw(TTextFace::FromFile(regular, 40, {}, fsBold), "Hamburg", 2),
              Draw(TTextFace::FromFile(regular, 40, {}, {}), "Hamburg", 2));
}

TEST(TextStyles, EachFaceOfACollectionIsDrawnFromItsOwnTables)
{
    TTempFolder folder;
    const QByteArray collection =
        Collection(ReadAll(DejaVu + "DejaVuSans.ttf"), ReadAll(DejaVu + "DejaVuSerif-Bold.ttf"));
    const std::string path = folder.Path() + "/pair.ttc";
    QFile out(QString::fromStdString(path));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(collection);
    out.close();

    TRawFontCache cache;
    std::string reason;
    const TFontFacePtr sans = cache.Face(path, 0, &reason);
    const TFontFacePtr serif = cache.Face(path, 1, &reason);
    ASSERT_TRUE(sans && serif) << reason;
    EXPECT_EQ(sans->FamilyName(), "DejaVu Sans");
    EXPECT_EQ(serif->FamilyName(), "DejaVu Serif");
    EXPECT_EQ(serif->Weight(), 700);
    EXPECT_NE(Draw(TTextFace::FromFile(sans, 30, {}, {}), "Rag", 0),
              Draw(TTextFace::FromFile(serif, 30, {}, {}), "Rag", 0));
    EXPECT_EQ(Draw(TTextFace::FromFile(serif, 30, {}, {}), "Rag", 0),
              Draw(TTextFace::FromFile(LoadFace(ReadAll(DejaVu + "DejaVuSerif-Bold.ttf")), 30, {}, {}),
                   "Rag", 0));

    // A face the file does not have, and a file FreeType cannot read, say why.
    EXPECT_FALSE(cache.Face(path, 2, &reason));
    EXPECT_EQ(reason, "the file has no face 2");
    const std::string junk = folder.Path() + "/junk.ttf";
    QFile bad(QString::fromStdString(junk));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(300, 'x'));
    bad.close();
    EXPECT_FALSE(cache.Face(junk, 0, &reason));
    EXPECT_EQ(reason, "not a font file FreeType can read");
    EXPECT_FALSE(cache.Face(folder.Path() + "/missing.ttf", 0, &reason));
    EXPECT_EQ(reason.rfind("cannot read the file: ", 0), 0u) << reason;
}
