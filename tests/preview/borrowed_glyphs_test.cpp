#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "preview/text_face.h"
#include "preview_fixture.h"
#include "support/sandbox.h"

using namespace fonzeta::test;

namespace {

TFontFacePtr LoadFace(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return TFontFace::Load(file.readAll(), 0);
}

// Darkest grey level of the pixels in the columns [left, right).
int Darkest(const QImage& image, int left, int right)
{
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

}  // namespace

TEST(BorrowedGlyphs, ALatinFontMarksExactlyItsKoreanGlyphs)
{
    const QString text = QString::fromUtf8("AB 한글 CD");
    const TTextFace face = TTextFace::FromFile(LoadFace(Sandbox::DejaVuSans()), 32, {}, {});
    const TShapedLine line = face.Shape(text);
    EXPECT_EQ(line.Characters, 8);
    EXPECT_EQ(line.Borrowed, 2);
    EXPECT_EQ(face.BorrowedCount(text), std::make_pair(8, 2));
    ASSERT_EQ(line.Faces.size(), 2u);
    EXPECT_EQ(line.Faces[1]->FamilyName(), "NanumGothic");
    // The borrowed glyphs are those of the two Hangul syllables (UTF-16 indexes 3 and 4).
    qreal koreanLeft = 1e9, koreanRight = 0;
    for (const TShapedGlyph& glyph : line.Glyphs) {
        EXPECT_EQ(glyph.Face != 0, glyph.Cluster == 3 || glyph.Cluster == 4) << glyph.Cluster;
        if (glyph.Face != 0) {
            koreanLeft = std::min<qreal>(koreanLeft, glyph.X / 64.0);
            koreanRight = std::max<qreal>(koreanRight, (glyph.X + glyph.Advance) / 64.0);
        }
    }

    for (const int level : {0, 2}) {
        QImage plain(500, 60, QImage::Format_RGB32);
        plain.fill(Qt::white);
        QImage marked = plain;
        face.Paint(plain, QPointF(0, 5), text, 0xFF000000, level);
        TTextFace marking = face;
        marking.SetBorrowedColor(QColor(0xAA, 0xAA, 0xAA));
        marking.Paint(marked, QPointF(0, 5), text, 0xFF000000, level);
        const int left = static_cast<int>(koreanLeft) + 1;
        const int right = static_cast<int>(koreanRight) - 1;
        // The Hangul turns light grey; the Latin letters on both sides stay as they were.
        EXPECT_LT(Darkest(plain, left, right), 40) << level;
        EXPECT_GE(Darkest(marked, left, right), 0xAA - 2) << level;
        EXPECT_EQ(plain.copy(0, 0, left - 2, 60), marked.copy(0, 0, left - 2, 60)) << level;
        EXPECT_EQ(plain.copy(right + 2, 0, 500 - right - 2, 60),
                  marked.copy(right + 2, 0, 500 - right - 2, 60))
            << level;
    }
}

class BorrowedGlyphsPreview : public TPreviewFixture {};

TEST_F(BorrowedGlyphsPreview, OptionMarksTheSampleAndFileInformationCountsThem)
{
    View->SetText("ABC 한글보기");
    AddFiles({Sandbox::DejaVuSans(), Sandbox::NanumGothic()});
    Show(2.5, 600);
    const QImage before = Paint();
    const TFontInfo& latin = *View->Items().Fonts(0);
    const TFontInfo& korean = *View->Items().Fonts(1);
    EXPECT_EQ(View->RowInfoText(latin),
              TFonzetaFontListView::FileInfoText(latin, ",") + ", 4 of 8 characters borrowed");
    // A font that has every character says nothing more.
    EXPECT_EQ(View->RowInfoText(korean), TFonzetaFontListView::FileInfoText(korean, ","));

    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        View->SetShowBorrowedGlyphs(false);
        const QImage off = Paint();
        View->SetShowBorrowedGlyphs(true);
        const QImage on = Paint();
        // The Latin font's row changes (its Hangul turns grey); the Korean font's does not.
        const int row = View->ItemHeight();
        EXPECT_NE(off.copy(0, 0, 600, row), on.copy(0, 0, 600, row)) << antiAlias;
        EXPECT_EQ(off.copy(0, row, 600, row), on.copy(0, row, 600, row)) << antiAlias;
        View->SetShowBorrowedGlyphs(false);
        EXPECT_EQ(Paint(), off) << antiAlias;
    }
    View->SetAntiAlias(false);
    EXPECT_EQ(Paint(), before);
}
