#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include "fonts/font_list.h"
#include "platform/font_table.h"
#include "platform/linux_platform.h"
#include "preview/raw_font_cache.h"
#include "preview/text_face.h"
#include "print/print_fixture.h"
#include "print/sample_faces.h"
#include "print/sheet_painter.h"
#include "support/look_alike.h"
#include "support/temp_folder.h"

namespace {

using namespace fonzeta::test;

constexpr int Dpi = 200;
constexpr int PageWidth = 1600;
constexpr int PageHeight = 2100;

// Darkest channel value of the pixels in `area`.
int Darkest(const QImage& image, QRect area)
{
    int darkest = 255;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            darkest = std::min({darkest, c.red(), c.green(), c.blue()});
        }
    return darkest;
}

class SheetPainterTest : public ::testing::Test {
protected:
    SheetPainterTest() : Fonts(TPlatform{}, false) {}

    void Add(const std::string& path) { Fonts.Add(FontRecord(path)); }

    // Paints page `page` of the fonts onto a fresh page image.
    QImage Paint(int page, const TSheetMargins& margins = {12, 25, 12, 12})
    {
        QImage image = PageImage(PageWidth, PageHeight, Dpi);
        const TSheetMetrics metrics = MeasureSheet(image, Texts.FontSize);
        Layout = std::make_unique<TSheetLayout>(metrics, margins, Fonts.Count());
        TSampleFaces faces(Linux.Services().FontTable, Cache,
                           SheetFont(Texts.FontSize, Dpi).pixelSize());
        TSheetPainter painter(*Layout, Texts, Fonts, faces);
        QPainter p(&image);
        painter.PaintPage(p, page);
        return image;
    }

    QRect SampleBand(int row) const
    {
        return QRect(Layout->LeftPx(), Layout->SampleTop(row),
                     PageWidth - Layout->LeftPx() - Layout->RightPx(),
                     Layout->RowTop(row + 1) - Layout->SampleTop(row));
    }

    TLinuxPlatform Linux;
    TRawFontCache Cache;
    TFontList Fonts;
    TSheetTexts Texts;
    std::unique_ptr<TSheetLayout> Layout;
};

TEST_F(SheetPainterTest, HeaderRowsAndFooterSitWhereTheSheetPutsThemInTheirColours)
{
    for (int i = 0; i < 30; ++i)
        Add(i % 2 ? Sandbox::DejaVuSerif() : Sandbox::DejaVuSans());
    Texts.Title = "Quarterly Faces";
    Texts.TitleColor = clRed;
    Texts.NameColor = clGreen;
    Texts.SampleColor = clBlue;
    Texts.Sample = "Hamburgefonstiv";
    const QImage image = Paint(1);
    const TSheetLayout& l = *Layout;
    const TSheetMetrics& m = l.Metrics();
    ASSERT_EQ(m.DpiY, Dpi);
    ASSERT_GE(l.Pages(), 2);
    // 0.04 inch per millimetre at 200 dpi: 25 mm is 200 pixels, 12 mm is 96.
    ASSERT_EQ(l.TopPx(), 200);
    ASSERT_EQ(l.LeftPx(), 96);

    // The grey rule 20 pixels above the top margin, from margin to margin.
    const int rule = l.TopPx() - 20;
    EXPECT_EQ(image.pixelColor(l.LeftPx(), rule), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(PageWidth - l.RightPx() - 1, rule), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(l.LeftPx() - 2, rule), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(PageWidth - l.RightPx() + 2, rule), QColor(Qt::white));

    // "Font List by Fonzeta": black, in the 9-point cell at the left.
    const QFont head = SheetFont(9, Dpi);
    const QRect productCell(l.LeftPx() + 4, rule - 8 - QFontMetrics(head).height(),
                            QFontMetrics(head).horizontalAdvance("Font List by Fonzeta"),
                            QFontMetrics(head).height());
    const QRect product = InkBox(image, productCell.adjusted(-2, 0, 2, 0), NotWhite);
    ASSERT_FALSE(product.isNull());
    EXPECT_LE(Darkest(image, product), 40) << "black, not the grey of the page numbers";
    EXPECT_LE(std::abs(product.left() - productCell.left()), 4);

    // The title in its colour, centred on the page.
    const QRect title = InkBox(image, QRect(0, 0, PageWidth, rule), Tinted(Qt::red));
    ASSERT_FALSE(title.isNull());
    EXPECT_LE(std::abs(title.center().x() - PageWidth / 2), 4);

    // "Font Size: 16pt" right-aligned 4 pixels inside the right margin, grey.
    const QRect sizeText = InkBox(image, QRect(PageWidth / 2 + 200, 0, PageWidth / 2, rule), NotWhite);
    ASSERT_FALSE(sizeText.isNull());
    EXPECT_LE(std::abs(sizeText.right() - (PageWidth - l.RightPx() - 4)), 4);
    EXPECT_GE(Darkest(image, sizeText), 100);

    // Every row: a green label and a blue sample inside the row's band, nothing blue outside.
    const int rows = l.RowCount(1);
    for (int row = 0; row < rows; ++row) {
        const QRect band(0, l.RowTop(row), PageWidth, m.RowHeight());
        const QRect label = InkBox(image, band, Tinted(Qt::darkGreen));
        const QRect sample = InkBox(image, band, Tinted(Qt::blue));
        ASSERT_FALSE(label.isNull()) << row;
        ASSERT_FALSE(sample.isNull()) << row;
        EXPECT_LE(std::abs(label.left() - l.LeftPx()), 4);
        EXPECT_LE(std::abs(sample.left() - l.SampleLeft()), 6);
        EXPECT_GT(sample.top(), label.bottom());
    }
    const QRect belowRows(0, l.RowTop(rows), PageWidth, PageHeight - l.RowTop(rows));
    EXPECT_TRUE(InkBox(image, belowRows, Tinted(Qt::blue)).isNull());

    // The footer 40 pixels below the bottom margin: silver credit at the left, grey page
    // number centred.
    const int foot = PageHeight - l.BottomPx() + 40;
    const QRect footer(0, foot, PageWidth, PageHeight - foot);
    const QRect credit = InkBox(image, footer, [](const QColor& c) { return c.red() < 250; });
    ASSERT_FALSE(credit.isNull());
    EXPECT_LE(std::abs(credit.left() - l.LeftPx()), 4);
    EXPECT_GE(Darkest(image, QRect(l.LeftPx(), foot, 300, credit.height() + 2)), 180);
    const QRect number = InkBox(image, QRect(PageWidth / 3, foot, PageWidth / 3, PageHeight - foot),
                                NotWhite);
    ASSERT_FALSE(number.isNull());
    EXPECT_LE(std::abs(number.center().x() - PageWidth / 2), 4);
    EXPECT_LT(Darkest(image, number), 180);
}

TEST_F(SheetPainterTest, EachFontIsPrintedInItsOwnFace)
{
    TTempFolder folder;
    const std::string lookAlike = SerifNamedSans(folder);
    Add(Sandbox::DejaVuSans());
    Add(Sandbox::DejaVuSansBold());
    Add(lookAlike);
    Add(Sandbox::DejaVuSerif());
    Texts.Sample = "Hamburgefonstiv";
    const QImage image = Paint(0);
    const QImage regular = image.copy(SampleBand(0));
    const QImage bold = image.copy(SampleBand(1));
    const QImage alike = image.copy(SampleBand(2));
    ASSERT_NE(regular, bold);

    // Bold stems are heavier: more ink in the same text.
    const auto ink = [](const QImage& band) {
        long sum = 0;
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < band.width(); ++x)
                sum += 255 - qGray(band.pixel(x, y));
        return sum;
    };
    EXPECT_GT(ink(bold), ink(regular) * 6 / 5);

    // The look-alike claims to be DejaVu Sans Book, which Qt knows as another file: it is
    // drawn from its own file, as DejaVu Serif's glyphs drawn through the text face.
    const int pixels = SheetFont(Texts.FontSize, Dpi).pixelSize();
    TSampleFaces faces(Linux.Services().FontTable, Cache, pixels);
    EXPECT_TRUE(faces.Face(*Fonts.Fonts(0)).Native);
    EXPECT_TRUE(faces.Face(*Fonts.Fonts(1)).Native);
    EXPECT_FALSE(faces.Face(*Fonts.Fonts(2)).Native);
    EXPECT_FALSE(Linux.Services().FontTable->IsRegistered(lookAlike))
        << "a file sharing a known face's name is never registered";

    QImage expected = PageImage(PageWidth, PageHeight, Dpi);
    {
        QPainter p(&expected);
        p.setPen(Qt::black);
        const QRawFont serif(QString::fromStdString(Sandbox::DejaVuSerif()), pixels,
                             QFont::PreferNoHinting);
        TTextFace::FromRawFont(serif, SheetFont(Texts.FontSize, Dpi), TFontStyles())
            .Draw(p, QPointF(Layout->SampleLeft(), Layout->SampleTop(2)), "Hamburgefonstiv");
    }
    EXPECT_EQ(alike, expected.copy(SampleBand(2)));
    EXPECT_NE(alike, regular);
}

TEST_F(SheetPainterTest, LineBreaksPrintAsSpacesAndLongTitlesStayOnThePage)
{
    Add(Sandbox::DejaVuSans());
    Texts.Sample = "AB CD EF";
    const QImage spaced = Paint(0);
    Texts.Sample = "AB\r\nCD\nEF";
    EXPECT_EQ(Paint(0), spaced);

    Texts.Title = std::string(400, 'W');
    Texts.TitleColor = clRed;
    const QImage image = Paint(0);
    const QRect title = InkBox(image, QRect(0, 0, PageWidth, Layout->TopPx() - 20), Tinted(Qt::red));
    ASSERT_FALSE(title.isNull());
    EXPECT_GE(title.left(), Layout->LeftPx());
    EXPECT_LE(title.right(), PageWidth - Layout->RightPx());
}

// A copy of DejaVu Sans whose names say "DejaVu Suns", a family nothing else has.
std::string RenamedSans(const TTempFolder& folder)
{
    QFile in(QString::fromStdString(Sandbox::DejaVuSans()));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray data = in.readAll();
    data.replace(QByteArrayLiteral("DejaVu Sans"), QByteArrayLiteral("DejaVu Suns"));
    const QByteArray wide = QByteArray::fromHex("00440065006a00610056007500200053006100");
    const QByteArray renamed = QByteArray::fromHex("00440065006a00610056007500200053007500");
    data.replace(wide, renamed);
    const std::string path = folder / "Suns.ttf";
    QFile out(QString::fromStdString(path));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
    return path;
}

TEST_F(SheetPainterTest, AFileQtDoesNotKnowIsRegisteredForTheJobOnly)
{
    TTempFolder folder;
    const std::string path = RenamedSans(folder);
    const auto record = FontRecord(path);
    ASSERT_EQ(record->FamilyName, "DejaVu Suns");
    IFontTable* table = Linux.Services().FontTable;
    const QRawFont file(QString::fromStdString(path), 40);
    {
        TSampleFaces faces(table, Cache, 40);
        const TSampleFace& face = faces.Face(*record);
        EXPECT_TRUE(face.Native) << "registered, Qt resolves the family to the file";
        EXPECT_TRUE(table->IsRegistered(path));
        EXPECT_TRUE(TSampleFaces::ResolvesTo(face.Font, file));
        EXPECT_FALSE(TSampleFaces::ResolvesTo(SheetFont(16, 96), file));
    }
    EXPECT_FALSE(table->IsRegistered(path)) << "given back with the faces";

    // Registered by its list already: used as it is, and left to the list.
    ASSERT_TRUE(table->Register(path));
    {
        TSampleFaces faces(table, Cache, 40);
        EXPECT_TRUE(faces.Face(*record).Native);
    }
    EXPECT_TRUE(table->IsRegistered(path));
    EXPECT_TRUE(table->Unregister(path));
    EXPECT_FALSE(table->IsRegistered(path));
}

}  // namespace
