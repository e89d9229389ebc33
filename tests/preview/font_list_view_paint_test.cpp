#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>

#include "preview_fixture.h"
#include "support/look_alike.h"
#include "support/temp_folder.h"

using namespace fonzeta::test;

namespace {

constexpr QRgb White = 0xFFFFFFFF;

// A preview that logs the rows it draws.
class TCountingView : public TFonzetaFontListView {
public:
    using TFonzetaFontListView::TFonzetaFontListView;
    void DrawItem(QPainter& canvas, int index, int top, bool erase) override
    {
        Drawn.push_back(index);
        TFonzetaFontListView::DrawItem(canvas, index, top, erase);
    }
    std::vector<int> Drawn;
};

class TFontListViewPaintTest : public TPreviewFixture {
protected:
    int RowTop(int index) const { return (index - View->TopItem()) * View->ItemHeight(); }
    QRect NameLine(int index) const
    {
        return QRect(0, RowTop(index), View->viewport()->width(), View->NameHeight() + 2);
    }
    QRect NameText(int index) const
    {
        return QRect(4, RowTop(index) + 1, 150, View->NameHeight());
    }
    QRect InfoText(int index) const
    {
        const int width = View->viewport()->width();
        return QRect(width - 160, RowTop(index) + 1, 159, View->NameHeight());
    }
    // The part of a row below its name line, the separator left out.
    QRect SampleArea(int index) const
    {
        const int top = RowTop(index) + View->NameHeight() + 8;
        return QRect(0, top, View->viewport()->width(),
                     RowTop(index) + View->ItemHeight() - 1 - top);
    }
    static QImage Part(const QImage& image, const QRect& rect) { return image.copy(rect); }
};

TEST_F(TFontListViewPaintTest, BandOfTheCurrentItemDependsOnFocus)
{
    AddNames(3);
    Show(4);
    Focus(*View);
    const int x = View->viewport()->width() / 2;
    const int bandBottom = View->NameHeight() + 1;
    QImage image = OnScreen(*View);
    EXPECT_EQ(image.pixel(x, 0), qRgb(195, 195, 195));
    EXPECT_EQ(image.pixel(x, bandBottom), qRgb(195, 195, 195));
    EXPECT_EQ(image.pixel(x, bandBottom + 1), White);
    // Other rows have no band.
    EXPECT_EQ(image.pixel(x, RowTop(1) + 1), White);

    View->clearFocus();
    image = OnScreen(*View);
    EXPECT_EQ(image.pixel(x, 0), qRgb(235, 235, 235));
    EXPECT_EQ(image.pixel(x, bandBottom), qRgb(235, 235, 235));

    // The band is the background plus 196 in each channel, modulo 256.
    Focus(*View);
    View->SetColor(0x203040);  // red 0x40, green 0x30, blue 0x20
    image = OnScreen(*View);
    EXPECT_EQ(image.pixel(x, 0), qRgb((0x40 + 196) & 0xFF, (0x30 + 196) & 0xFF, 0x20 + 196));
}

TEST_F(TFontListViewPaintTest, NameLineColoursFollowCurrentItemAndMarks)
{
    AddFiles({Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(), Sandbox::DejaVuSerif(),
              Sandbox::NanumGothic()});
    View->Items().Fonts(2)->Selected = true;
    View->Items().Fonts(3)->Selected = true;
    View->SetItemIndex(3);
    Show(4.5, 500);
    Focus(*View);
    const QImage image = OnScreen(*View);
    const QRgb green = qRgb(0, 128, 0), orange = qRgb(255, 128, 0), grey = qRgb(175, 175, 175);

    // An ordinary row: green name, grey file information.
    EXPECT_GT(CountColor(image, NameText(0), green), 10);
    EXPECT_EQ(CountColor(image, NameText(0), orange), 0);
    EXPECT_GT(CountColor(image, InfoText(0), grey), 10);
    EXPECT_EQ(CountColor(image, InfoText(0), green), 0);
    // A marked row: the name in SelColor.
    EXPECT_GT(CountColor(image, NameText(2), orange), 10);
    EXPECT_EQ(CountColor(image, NameText(2), green), 0);
    // The current row that is also marked: SelColor on the band, file information in the
    // background colour.
    EXPECT_GT(CountColor(image, NameText(3), orange), 10);
    EXPECT_GT(CountColor(image, InfoText(3), White), 10);
    EXPECT_EQ(CountColor(image, InfoText(3), grey), 0);

    // The current row unmarked: its name in the background colour on the band.
    View->Items().Fonts(3)->Selected = false;
    View->viewport()->update();
    const QImage unmarked = OnScreen(*View);
    EXPECT_GT(CountColor(unmarked, NameText(3), White), 10);
    EXPECT_EQ(CountColor(unmarked, NameText(3), orange), 0);

    // Samples in FontColor, the separator grey 128 across the whole row.
    View->SetFontColor(clNavy);
    const QImage navy = OnScreen(*View);
    EXPECT_GT(CountColor(navy, SampleArea(1), qRgb(0, 0, 128)), 100);
    const int separator = View->ItemHeight() - 1;
    EXPECT_EQ(CountColor(navy, QRect(0, separator, 500, 1), qRgb(128, 128, 128)), 500);
}

TEST_F(TFontListViewPaintTest, FileInformationOnlyForRecordsWithAFile)
{
    View->Items().Add("DejaVu Sans");
    View->Items().Add(ReadFont(Sandbox::DejaVuSans()));
    View->Items().Add(ReadFont(Sandbox::DejaVuSerif()));
    Show(3, 500);
    View->SetItemIndex(1);
    QImage image = Paint();
    const QRgb grey = qRgb(175, 175, 175);
    EXPECT_EQ(CountOther(image, InfoText(0), White), 0);
    EXPECT_GT(CountColor(image, InfoText(2), grey), 10);

    View->SetShowFileInfo(false);
    image = Paint();
    EXPECT_EQ(CountOther(image, InfoText(2), White), 0);
}

TEST_F(TFontListViewPaintTest, RegularAndBoldFilesOfOneFamilyDrawDifferentGlyphs)
{
    AddFiles({Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold()});
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        Show(3, 700);
        const QImage image = Paint();
        const QImage regular = Part(image, SampleArea(0));
        const QImage bold = Part(image, SampleArea(1));
        EXPECT_NE(regular, bold) << antiAlias;
        // Bold stems cover more pixels.
        EXPECT_GT(CountOther(bold, bold.rect(), White),
                  CountOther(regular, regular.rect(), White) * 5 / 4)
            << antiAlias;
    }
}

TEST_F(TFontListViewPaintTest, FolderFontDrawsItsOwnGlyphsWhenAnInstalledFontHasItsNames)
{
    TTempFolder folder;
    const std::string lookAlike = SerifNamedSans(folder);
    const QRawFont raw(QString::fromStdString(lookAlike), 20);
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), "DejaVu Sans");
    ASSERT_EQ(raw.styleName(), QRawFont(QString::fromStdString(Sandbox::DejaVuSans()), 20).styleName());
    // Registered as a folder listing registers it: Qt now knows two "DejaVu Sans Book" faces.
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(lookAlike));
    ASSERT_GE(id, 0);

    AddFiles({Sandbox::DejaVuSerif(), lookAlike, Sandbox::DejaVuSans()});
    EXPECT_EQ(View->Items().Fonts(1)->FullName, "DejaVu Sans");
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        Show(3.5, 700);
        const QImage image = Paint();
        const QImage serif = Part(image, SampleArea(0));
        const QImage folderFont = Part(image, SampleArea(1));
        const QImage sans = Part(image, SampleArea(2));
        EXPECT_EQ(folderFont, serif) << antiAlias;
        EXPECT_NE(folderFont, sans) << antiAlias;
    }
    QFontDatabase::removeApplicationFont(id);
}

TEST_F(TFontListViewPaintTest, FontKnownOnlyByNameIsDrawnAsThatFamily)
{
    View->Items().Add("DejaVu Serif");
    View->Items().Add(ReadFont(Sandbox::DejaVuSerif()));
    View->Items().Add("DejaVu Sans");
    Show(3.5, 700);
    const QImage image = Paint();
    // Same glyphs as the file, though placed and hinted by Qt's own text layout.
    const int serifInk = CountOther(Part(image, SampleArea(0)), QRect(0, 0, 700, 100), White);
    const int fileInk = CountOther(Part(image, SampleArea(1)), QRect(0, 0, 700, 100), White);
    EXPECT_NEAR(serifInk, fileInk, fileInk / 5);
    EXPECT_NE(Part(image, SampleArea(0)), Part(image, SampleArea(2)));
}

TEST_F(TFontListViewPaintTest, SynthesisedStylesChangeTheSample)
{
    AddFiles({Sandbox::DejaVuSans()});
    Show(2, 700);
    const QImage plain = Part(Paint(), SampleArea(0));
    for (const TFontStyles style : {TFontStyles(fsBold), TFontStyles(fsItalic),
                                    TFontStyles(fsUnderline), TFontStyles(fsStrikeOut)}) {
        View->SetFontStyle(style);
        for (const bool antiAlias : {false, true}) {
            View->SetAntiAlias(antiAlias);
            const QImage styled = Part(Paint(), SampleArea(0));
            EXPECT_NE(styled, plain) << int(style) << antiAlias;
        }
        View->SetAntiAlias(false);
    }
    // Bold on a file that is bold already is not applied a second time.
    View->Items().Clear();
    AddFiles({Sandbox::DejaVuSansBold()});
    View->SetFontStyle({});
    const QImage bold = Part(Paint(), SampleArea(0));
    View->SetFontStyle(fsBold);
    EXPECT_EQ(Part(Paint(), SampleArea(0)), bold);
}

TEST_F(TFontListViewPaintTest, LineBreaksStartNewLinesOnlyInThePlainSample)
{
    AddFiles({Sandbox::DejaVuSans()});
    View->SetFontSize(8);  // room for a second line
    Show(2, 600);
    const auto sample = [&](const std::string& text) {
        View->SetText(text);
        return Part(Paint(), SampleArea(0));
    };
    const QImage oneLine = sample("ABC");
    for (const std::string broken : {"ABC\nDEF", "ABC\r\nDEF", "ABC\rDEF"}) {
        const QImage twoLines = sample(broken);
        // The first line as before, the second one under it.
        const int below = View->NameHeight() + 2;
        EXPECT_EQ(twoLines.copy(0, 0, 600, 12), oneLine.copy(0, 0, 600, 12));
        EXPECT_GT(CountOther(twoLines, QRect(0, below, 600, 40), White),
                  CountOther(oneLine, QRect(0, below, 600, 40), White) + 20);
    }
    View->SetAntiAlias(true);
    EXPECT_EQ(sample("ABC\r\nDEF"), sample("ABC DEF"));
    EXPECT_EQ(sample("ABC\nDEF"), sample("ABC DEF"));
}

TEST_F(TFontListViewPaintTest, TextBeyondTheRightEdgeChangesNothing)
{
    AddFiles({Sandbox::DejaVuSerif()});
    View->SetFontStyle(fsItalic);
    View->SetFontSize(40);
    Show(1.5, 300);
    for (const bool antiAlias : {false, true}) {
        View->SetAntiAlias(antiAlias);
        View->SetText("Hamburgefonstiv");
        const QImage cut = Part(Paint(), SampleArea(0));
        View->SetText("Hamburgefonstiv and a great deal more text that never shows");
        EXPECT_EQ(Part(Paint(), SampleArea(0)), cut) << antiAlias;
        View->SetText("Hamb");
        EXPECT_NE(Part(Paint(), SampleArea(0)), cut) << antiAlias;
    }
}

TEST_F(TFontListViewPaintTest, CachedPaintsGiveExactlyTheFreshPixels)
{
    auto fresh = MakeView();
    fresh->SampleCache().SetMaxBytes(0);
    for (TFonzetaFontListView* view : {View.get(), fresh.get()}) {
        view->Items().BeginUpdate();
        for (const std::string& file : {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(),
                                        Sandbox::DejaVuSerif(), Sandbox::NanumGothic()})
            view->Items().Add(ReadFont(file));
        view->Items().Add("DejaVu Serif");
        view->Items().EndUpdate();
        view->SetText("Sample 123 \xED\x95\x9C\xEA\xB8\x80");
        Show(*view, 4.5, 600);
    }
    const std::vector<std::function<void(TFonzetaFontListView&)>> steps = {
        [](TFonzetaFontListView&) {},
        [](TFonzetaFontListView& v) { v.SetAntiAlias(true); },
        [](TFonzetaFontListView& v) { v.SetItemIndex(2); },
        [](TFonzetaFontListView& v) { v.InvertSelection(); },
        [](TFonzetaFontListView& v) { v.SetFontColor(clRed); },
        [](TFonzetaFontListView& v) { v.SetColor(clYellow); },
        [](TFonzetaFontListView& v) { v.SetFontStyle(fsItalic | fsUnderline); },
        [](TFonzetaFontListView& v) { v.SetText("Other text"); },
        [](TFonzetaFontListView& v) { v.SetAntiAlias(false); },
        [](TFonzetaFontListView& v) { v.SetFontSize(30); },
        [](TFonzetaFontListView& v) { v.SetTopItem(1); },
        [](TFonzetaFontListView& v) { v.SetFontColor(clBlack); },
        [](TFonzetaFontListView& v) { v.SetFontSize(16); },
        [](TFonzetaFontListView& v) { v.SetFontStyle({}); },
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i](*View);
        steps[i](*fresh);
        const QImage cached = Paint(*View);
        EXPECT_EQ(Paint(*View), cached) << i;
        EXPECT_EQ(cached, Paint(*fresh)) << i;
    }
    EXPECT_GT(View->SampleCache().Count(), 0u);
    EXPECT_EQ(fresh->SampleCache().Count(), 0u);

    // Painting from the cache reads no font file.
    const std::size_t loads = View->RawFontCache().Loads();
    Paint(*View);
    EXPECT_EQ(View->RawFontCache().Loads(), loads);
}

TEST_F(TFontListViewPaintTest, FullPaintDrawsOnlyTheVisibleRows)
{
    auto view = std::make_unique<TCountingView>(Platform);
    view->SetBorderStyle(bsNone);
    view->Items().BeginUpdate();
    for (int i = 0; i < 20; ++i)
        view->Items().Add("Font " + std::to_string(i));
    view->Items().EndUpdate();
    Show(*view, 3.5);
    view->SetTopItem(5);
    QApplication::processEvents();
    view->Drawn.clear();
    view->viewport()->repaint();
    EXPECT_EQ(view->Drawn, (std::vector<int>{5, 6, 7, 8}));
}

TEST_F(TFontListViewPaintTest, MovingTheCurrentItemRepaintsJustTheTwoRows)
{
    auto view = std::make_unique<TCountingView>(Platform);
    view->SetBorderStyle(bsNone);
    view->SetColor(clWhite);
    view->Items().BeginUpdate();
    for (const std::string& file : {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(),
                                    Sandbox::DejaVuSerif(), Sandbox::NanumGothic()})
        view->Items().Add(ReadFont(file));
    view->Items().EndUpdate();
    view->SetAntiAlias(true);
    Show(*view, 4, 500);
    Focus(*view);
    OnScreen(*view);

    view->Drawn.clear();
    view->SetItemIndex(2);
    const QImage moved = OnScreen(*view);
    std::sort(view->Drawn.begin(), view->Drawn.end());
    EXPECT_EQ(view->Drawn, (std::vector<int>{0, 2}));
    // What the two repainted rows show is what a full paint shows.
    EXPECT_EQ(moved, Paint(*view));

    view->Drawn.clear();
    QTest::keyClick(view.get(), Qt::Key_Up);
    const QImage up = OnScreen(*view);
    std::sort(view->Drawn.begin(), view->Drawn.end());
    EXPECT_EQ(view->Drawn, (std::vector<int>{1, 2}));
    EXPECT_EQ(up, Paint(*view));
}

}  // namespace
