#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>

#include "preview_fixture.h"

using namespace fonzeta::test;

namespace {

using TFontListViewTest = TPreviewFixture;

TEST_F(TFontListViewTest, StartsEmptyWithTheDocumentedLook)
{
    TFonzetaFontListView view(Platform);
    EXPECT_EQ(view.ItemIndex(), -1);
    EXPECT_EQ(view.TopItem(), 0);
    EXPECT_EQ(view.Items().Count(), 0);
    EXPECT_FALSE(view.Items().AutoRemove());
    EXPECT_EQ(view.FontSize(), 16);
    EXPECT_EQ(view.FontColor(), clBlack);
    EXPECT_EQ(view.FontNameColor(), 0x008000);
    EXPECT_EQ(view.SelColor(), 33023);
    EXPECT_EQ(view.Color(), clWindow);
    EXPECT_EQ(view.Text(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ 1234567890");
    EXPECT_EQ(view.FontStyle(), TFontStyles());
    EXPECT_FALSE(view.AntiAlias());
    EXPECT_TRUE(view.ShowFileInfo());
    EXPECT_EQ(view.BorderStyle(), bsSingle);
    EXPECT_EQ(view.size(), QSize(200, 200));
    EXPECT_EQ(view.focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(view.viewport()->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_TRUE(view.viewport()->testAttribute(Qt::WA_NoSystemBackground));
}

TEST_F(TFontListViewTest, RowHeightIsTheDefaultFaceCellPlusForty)
{
    QFont face = View->font();
    face.setPointSize(16);
    EXPECT_EQ(View->ItemHeight(), QFontMetrics(face).height() + 40);
    View->SetFontSize(40);
    face.setPointSize(40);
    EXPECT_EQ(View->ItemHeight(), QFontMetrics(face).height() + 40);
    EXPECT_EQ(View->NameHeight(), QFontMetrics(QFont("DejaVu Sans", 8)).height());
}

TEST_F(TFontListViewTest, PageSizeCountsAPartlyVisibleRow)
{
    AddNames(10);
    Show(4);
    EXPECT_EQ(View->PageSize(), 4);
    Show(3.5);
    EXPECT_EQ(View->PageSize(), 4);
    View->resize(View->width(), 3 * View->ItemHeight() + 1);
    QApplication::processEvents();
    EXPECT_EQ(View->PageSize(), 4);
    View->resize(View->width(), 3 * View->ItemHeight());
    QApplication::processEvents();
    EXPECT_EQ(View->PageSize(), 3);
}

TEST_F(TFontListViewTest, FontSizeTakesFourToOneHundredAndReportsEachChange)
{
    int changes = 0;
    View->OnChangeFontSize = [&](TFonzetaFontListView* sender) {
        EXPECT_EQ(sender, View.get());
        ++changes;
    };
    const int height = View->ItemHeight();
    View->SetFontSize(3);
    View->SetFontSize(101);
    View->SetFontSize(16);
    EXPECT_EQ(View->FontSize(), 16);
    EXPECT_EQ(View->ItemHeight(), height);
    EXPECT_EQ(changes, 0);

    View->SetFontSize(4);
    EXPECT_EQ(View->FontSize(), 4);
    EXPECT_LT(View->ItemHeight(), height);
    View->SetFontSize(100);
    EXPECT_EQ(View->FontSize(), 100);
    EXPECT_GT(View->ItemHeight(), height);
    EXPECT_EQ(changes, 2);
}

TEST_F(TFontListViewTest, SettersStoreOnlyChangesAndRaiseNoEvent)
{
    int events = 0;
    View->OnChange = View->OnChangeSelected = View->OnChangeFontSize =
        [&](TFonzetaFontListView*) { ++events; };
    View->SetFontColor(clNavy);
    View->SetFontNameColor(clRed);
    View->SetSelColor(clBlue);
    View->SetColor(clYellow);
    View->SetText("abc");
    View->SetFontStyle(fsBold | fsStrikeOut);
    View->SetAntiAlias(true);
    View->SetShowFileInfo(false);
    EXPECT_EQ(View->FontColor(), clNavy);
    EXPECT_EQ(View->FontNameColor(), clRed);
    EXPECT_EQ(View->SelColor(), clBlue);
    EXPECT_EQ(View->Color(), clYellow);
    EXPECT_EQ(View->Text(), "abc");
    View->SetText("ABC");
    EXPECT_EQ(View->Text(), "ABC");
    EXPECT_EQ(View->FontStyle(), fsBold | fsStrikeOut);
    EXPECT_TRUE(View->AntiAlias());
    EXPECT_FALSE(View->ShowFileInfo());
    EXPECT_EQ(events, 0);
}

TEST_F(TFontListViewTest, BorderStyleSingleHasASunkenFrame)
{
    View->SetBorderStyle(bsSingle);
    EXPECT_EQ(View->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(View->frameShadow(), QFrame::Sunken);
    View->SetBorderStyle(bsNone);
    EXPECT_EQ(View->frameShape(), QFrame::NoFrame);
    View->resize(300, 200);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    EXPECT_EQ(View->viewport()->size(), QSize(300, 200));
}

TEST_F(TFontListViewTest, FirstRecordsMakeTheFirstFontCurrentAndRaiseBothEvents)
{
    std::vector<std::string> events;
    View->OnChange = [&](TFonzetaFontListView*) { events.push_back("change"); };
    View->OnChangeSelected = [&](TFonzetaFontListView*) { events.push_back("selected"); };
    AddNames(5);
    EXPECT_EQ(events, (std::vector<std::string>{"change", "selected"}));
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(View->TopItem(), 0);

    // One batch, one notification.
    events.clear();
    View->Items().BeginUpdate();
    View->Items().Add("x");
    View->Items().Add("y");
    EXPECT_TRUE(events.empty());
    View->Items().EndUpdate();
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(TFontListViewTest, RemovingAllFontsLeavesNoCurrentItem)
{
    AddNames(5);
    View->SetItemIndex(3);
    int changes = 0, selected = 0;
    View->OnChange = [&](TFonzetaFontListView*) { ++changes; };
    View->OnChangeSelected = [&](TFonzetaFontListView*) { ++selected; };
    View->Items().Clear();
    EXPECT_EQ(View->ItemIndex(), -1);
    EXPECT_EQ(View->TopItem(), -1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selected, 1);
}

TEST_F(TFontListViewTest, RefillingWithFewerRecordsStartsAgainAtTheTop)
{
    AddNames(20);
    Show(4);
    View->SetItemIndex(15);
    ASSERT_GT(View->TopItem(), 0);
    TFontList fewer(Platform, false);
    for (int i = 0; i < 5; ++i)
        fewer.Add("Other " + std::to_string(i));
    View->Items().Assign(fewer);
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(View->TopItem(), 0);
    EXPECT_EQ(View->verticalScrollBar()->value(), 0);

    // A refill that still holds the current index keeps that number.
    View->SetItemIndex(3);
    fewer.Add("Other 5");
    View->Items().Assign(fewer);
    EXPECT_EQ(View->ItemIndex(), 3);
}

TEST_F(TFontListViewTest, ScrollBarShowsOnlyWhenThePageCannotHoldTheFontsAndAnEmptyRow)
{
    AddNames(3);
    Show(4);
    ASSERT_EQ(View->PageSize(), 4);
    EXPECT_FALSE(View->verticalScrollBar()->isVisible());

    View->Items().Add("Font 3");
    QApplication::processEvents();
    EXPECT_TRUE(View->verticalScrollBar()->isVisible());
    EXPECT_EQ(View->verticalScrollBar()->maximum(), 1);
    EXPECT_EQ(View->verticalScrollBar()->pageStep(), 4);
    View->WMVScroll(scLineDown);
    EXPECT_EQ(View->TopItem(), 1);
    View->WMVScroll(scLineDown);
    EXPECT_EQ(View->TopItem(), 1);
}

TEST_F(TFontListViewTest, FileInformationGroupsKilobytesWithTheUsersSeparator)
{
    TFontInfo font;
    font.FileName = "/some/folder/Font File.ttf";
    font.FileSize = 1300000;
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, ","), "Font File.ttf (1,269 KB)");
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, "."), "Font File.ttf (1.269 KB)");
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, "\xE2\x80\xAF"),
              "Font File.ttf (1\xE2\x80\xAF" "269 KB)");
    font.FileSize = 1023;
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, ","), "Font File.ttf (0 KB)");
    font.FileSize = 1024LL * 1234567;
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, ","), "Font File.ttf (1,234,567 KB)");
    font.FileSize = 1024LL * 123456;
    EXPECT_EQ(TFonzetaFontListView::FileInfoText(font, ","), "Font File.ttf (123,456 KB)");
}

TEST_F(TFontListViewTest, FileInformationKeepsAtMost255WholeCharacters)
{
    TFontInfo font;
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xEA\xB0\x80";  // a Hangul syllable, three bytes in UTF-8
    font.FileName = "/f/" + name;
    font.FileSize = 2048;
    const std::string text = TFonzetaFontListView::FileInfoText(font, ",");
    EXPECT_EQ(text, name.substr(0, 255 * 3));
    EXPECT_EQ(QString::fromStdString(text).size(), 255);
}

TEST_F(TFontListViewTest, EmptyListShowsItsMessage)
{
    Show(4);
    const QImage image = Paint();
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        const QFont face("DejaVu Sans", 9);
        painter.setFont(face);
        painter.setPen(ColorToQColor(clWindowText));
        painter.drawText(QPoint(10, 10 + QFontMetrics(face).ascent()),
                         "There is no font items to display.");
    }
    EXPECT_EQ(image, expected);
    EXPECT_GT(CountOther(image, QRect(10, 10, 200, 14), qRgb(255, 255, 255)), 50);

    // Emptied again after it held fonts.
    AddNames(2);
    EXPECT_NE(Paint(), expected);
    View->Items().Clear();
    EXPECT_EQ(Paint(), expected);
}

TEST_F(TFontListViewTest, NothingIsDrawnWhileTheListIsInAnUpdate)
{
    AddNames(3);
    Show(4);
    const QImage before = OnScreen(*View);
    View->Items().BeginUpdate();
    View->Items().Clear();
    View->viewport()->repaint();
    EXPECT_EQ(OnScreen(*View), before);
    View->Items().EndUpdate();
    EXPECT_NE(OnScreen(*View), before);
}

}  // namespace
