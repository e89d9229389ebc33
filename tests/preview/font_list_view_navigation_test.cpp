#include <QScrollBar>

#include "preview_fixture.h"

using namespace fonzeta::test;

namespace {

class TFontListViewNavigationTest : public TPreviewFixture {
protected:
    // Ten name-only fonts in a client area `rows` rows high, focused.
    void TenFonts(double rows)
    {
        AddNames(10);
        Show(rows);
        Focus(*View);
        View->OnKeyDown = [this](TFonzetaFontListView*, int key, Qt::KeyboardModifiers) {
            Keys.push_back(key);
        };
        View->OnChangeSelected = [this](TFonzetaFontListView*) { ++SelectionChanges; };
    }
    bool Marked(int index) const { return View->Items().Fonts(index)->Selected; }
    int MarkCount() const
    {
        int count = 0;
        for (int i = 0; i < View->Items().Count(); ++i)
            count += Marked(i) ? 1 : 0;
        return count;
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(View.get(), static_cast<Qt::Key>(key), modifiers);
    }
    QPoint RowPoint(int row) const { return QPoint(50, row * View->ItemHeight() + 5); }

    std::vector<int> Keys;
    int SelectionChanges = 0;
};

TEST_F(TFontListViewNavigationTest, EndOnAnExactFitLeavesOneEmptyRow)
{
    TenFonts(4);
    ASSERT_EQ(View->PageSize(), 4);
    Press(Qt::Key_End);
    EXPECT_EQ(View->ItemIndex(), 9);
    EXPECT_EQ(View->TopItem(), 7);
    EXPECT_EQ(View->verticalScrollBar()->value(), 7);
    Press(Qt::Key_Home);
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(View->TopItem(), 0);
}

TEST_F(TFontListViewNavigationTest, EndWithAHalfVisibleLastRowPutsTheItemThere)
{
    TenFonts(3.5);
    ASSERT_EQ(View->PageSize(), 4);
    Press(Qt::Key_End);
    EXPECT_EQ(View->ItemIndex(), 9);
    EXPECT_EQ(View->TopItem(), 6);
}

TEST_F(TFontListViewNavigationTest, DownScrollsOnlyPastTheVisibleRows)
{
    TenFonts(4);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(View->ItemIndex(), 2);
    EXPECT_EQ(View->TopItem(), 0);
    Press(Qt::Key_Down);
    EXPECT_EQ(View->ItemIndex(), 3);
    EXPECT_EQ(View->TopItem(), 0);
    // Scrolled in from below with an exact fit, the current item stops on the second-last row.
    Press(Qt::Key_Down);
    EXPECT_EQ(View->ItemIndex(), 4);
    EXPECT_EQ(View->TopItem(), 2);
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(View->TopItem(), 0);
    Press(Qt::Key_Up);
    EXPECT_EQ(View->ItemIndex(), 0);
}

TEST_F(TFontListViewNavigationTest, ALastRowShowingLessThanHalfDoesNotCountAsVisible)
{
    TenFonts(3.25);
    ASSERT_EQ(View->PageSize(), 4);
    View->SetItemIndex(2);
    EXPECT_EQ(View->TopItem(), 0);
    View->SetItemIndex(3);
    EXPECT_EQ(View->TopItem(), 1);

    // More than half of the last row shows: it counts.
    View->SetItemIndex(0);
    Show(3.75);
    View->SetItemIndex(3);
    EXPECT_EQ(View->TopItem(), 0);
}

TEST_F(TFontListViewNavigationTest, SetItemIndexAndSetTopItemClamp)
{
    TenFonts(4);
    View->SetItemIndex(100);
    EXPECT_EQ(View->ItemIndex(), 9);
    View->SetItemIndex(-5);
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(View->TopItem(), 0);
    View->SetTopItem(100);
    EXPECT_EQ(View->TopItem(), 7);
    View->SetTopItem(-3);
    EXPECT_EQ(View->TopItem(), 0);
    // An item above the first row becomes the first row.
    View->SetTopItem(6);
    View->SetItemIndex(2);
    EXPECT_EQ(View->TopItem(), 2);
    EXPECT_EQ(View->verticalScrollBar()->value(), 2);
}

TEST_F(TFontListViewNavigationTest, PageKeysMoveOneRowLessThanAPage)
{
    TenFonts(4);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(View->ItemIndex(), 3);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(View->ItemIndex(), 6);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(View->ItemIndex(), 3);

    // A page-down scroll request moves the top by a whole page.
    View->SetItemIndex(0);
    View->WMVScroll(scPageDown);
    EXPECT_EQ(View->TopItem(), 4);
    EXPECT_EQ(View->ItemIndex(), 0);
    View->WMVScroll(scPageDown);
    EXPECT_EQ(View->TopItem(), 7);
    View->WMVScroll(scPageUp);
    EXPECT_EQ(View->TopItem(), 3);
}

TEST_F(TFontListViewNavigationTest, ScrollRequestsClampToTheRecords)
{
    TenFonts(4);
    View->WMVScroll(scBottom);
    EXPECT_EQ(View->TopItem(), 7);
    View->WMVScroll(scTop);
    EXPECT_EQ(View->TopItem(), 0);
    View->WMVScroll(scThumbTrack, 5);
    EXPECT_EQ(View->TopItem(), 5);
    View->WMVScroll(scThumbPosition, -20);
    EXPECT_EQ(View->TopItem(), 0);
    View->WMVScroll(scLineDown);
    View->WMVScroll(scLineDown);
    EXPECT_EQ(View->TopItem(), 2);
    View->WMVScroll(scLineUp);
    EXPECT_EQ(View->TopItem(), 1);
    View->WMVScroll(scEndScroll);
    EXPECT_EQ(View->TopItem(), 1);
}

TEST_F(TFontListViewNavigationTest, ScrollBarActionsScrollTheList)
{
    TenFonts(4);
    QScrollBar* bar = View->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 7);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(View->TopItem(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(View->TopItem(), 5);
    EXPECT_EQ(bar->value(), 5);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(View->TopItem(), 7);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(View->TopItem(), 0);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(View->TopItem(), 7);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(View->TopItem(), 6);
    // Dragging the thumb.
    bar->setSliderDown(true);
    bar->setSliderPosition(2);
    EXPECT_EQ(View->TopItem(), 2);
    bar->setSliderDown(false);
    EXPECT_EQ(bar->value(), 2);
    // The wheel over the bar moves the thumb too.
    QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_GT(View->TopItem(), 2);
    EXPECT_EQ(bar->value(), View->TopItem());
}

TEST_F(TFontListViewNavigationTest, SpaceFlipsTheMarkAndMovesOn)
{
    TenFonts(4);
    Press(Qt::Key_Space);
    EXPECT_TRUE(Marked(0));
    EXPECT_EQ(View->ItemIndex(), 1);
    EXPECT_EQ(SelectionChanges, 1);
    Press(Qt::Key_Up);
    Press(Qt::Key_Space);
    EXPECT_FALSE(Marked(0));
    EXPECT_EQ(SelectionChanges, 2);
}

TEST_F(TFontListViewNavigationTest, SpaceOnTheLastFontShowsTheMarkAtOnce)
{
    TenFonts(4);
    Press(Qt::Key_End);
    const int top = (9 - View->TopItem()) * View->ItemHeight();
    const QRect name(4, top + 1, 60, View->NameHeight());
    const QRgb orange = qRgb(255, 128, 0);
    EXPECT_EQ(CountColor(OnScreen(*View), name, orange), 0);
    Press(Qt::Key_Space);
    EXPECT_TRUE(Marked(9));
    EXPECT_EQ(View->ItemIndex(), 9);
    EXPECT_EQ(SelectionChanges, 1);
    EXPECT_GT(CountColor(OnScreen(*View), name, orange), 5);
    Press(Qt::Key_Space);
    EXPECT_FALSE(Marked(9));
    EXPECT_EQ(CountColor(OnScreen(*View), name, orange), 0);
}

TEST_F(TFontListViewNavigationTest, ShiftArrowsMarkBothFontsUnlessAtAnEnd)
{
    TenFonts(4);
    Press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(MarkCount(), 0);
    EXPECT_EQ(SelectionChanges, 0);
    EXPECT_EQ(View->ItemIndex(), 0);

    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(Marked(0));
    EXPECT_TRUE(Marked(1));
    EXPECT_EQ(View->ItemIndex(), 1);
    EXPECT_EQ(SelectionChanges, 1);

    Press(Qt::Key_End);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(View->ItemIndex(), 9);
    EXPECT_EQ(MarkCount(), 2);
    EXPECT_EQ(SelectionChanges, 1);

    Press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(Marked(9));
    EXPECT_TRUE(Marked(8));
    EXPECT_EQ(View->ItemIndex(), 8);
    EXPECT_EQ(SelectionChanges, 2);
}

TEST_F(TFontListViewNavigationTest, ChordsAndOtherKeysOnlyReachTheHandler)
{
    TenFonts(4);
    Press(Qt::Key_Down, Qt::ControlModifier);
    Press(Qt::Key_Down, Qt::AltModifier);
    Press(Qt::Key_End, Qt::ShiftModifier);
    Press(Qt::Key_Space, Qt::ControlModifier);
    Press(Qt::Key_F9);
    Press(Qt::Key_Plus);  // not the keypad's
    EXPECT_EQ(View->ItemIndex(), 0);
    EXPECT_EQ(MarkCount(), 0);
    EXPECT_EQ(View->FontSize(), 16);
    // The modifier keys themselves reach the handler too.
    EXPECT_EQ(Keys, (std::vector<int>{Qt::Key_Control, Qt::Key_Down, Qt::Key_Alt, Qt::Key_Down,
                                      Qt::Key_Shift, Qt::Key_End, Qt::Key_Control,
                                      Qt::Key_Space, Qt::Key_F9, Qt::Key_Plus}));
}

TEST_F(TFontListViewNavigationTest, KeyHandlerSeesTheKeyAfterTheControlActed)
{
    TenFonts(4);
    int seen = -1;
    View->OnKeyDown = [&](TFonzetaFontListView* sender, int key, Qt::KeyboardModifiers) {
        EXPECT_EQ(sender, View.get());
        EXPECT_EQ(key, Qt::Key_Down);
        seen = sender->ItemIndex();
    };
    Press(Qt::Key_Down);
    EXPECT_EQ(seen, 1);
}

TEST_F(TFontListViewNavigationTest, KeypadPlusAndMinusChangeTheSizeWithinItsRange)
{
    TenFonts(4);
    int sizeChanges = 0;
    View->OnChangeFontSize = [&](TFonzetaFontListView*) { ++sizeChanges; };
    Press(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(View->FontSize(), 17);
    Press(Qt::Key_Minus, Qt::KeypadModifier);
    Press(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(View->FontSize(), 15);
    EXPECT_EQ(sizeChanges, 3);

    View->SetFontSize(100);
    sizeChanges = 0;
    Press(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(View->FontSize(), 100);
    EXPECT_EQ(sizeChanges, 0);
    View->SetFontSize(4);
    sizeChanges = 0;
    Press(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(View->FontSize(), 4);
    EXPECT_EQ(sizeChanges, 0);
}

TEST_F(TFontListViewNavigationTest, EmptyListIgnoresKeysAndRaisesNothing)
{
    Show(4);
    Focus(*View);
    int keys = 0, sizeChanges = 0;
    View->OnKeyDown = [&](TFonzetaFontListView*, int, Qt::KeyboardModifiers) { ++keys; };
    View->OnChangeFontSize = [&](TFonzetaFontListView*) { ++sizeChanges; };
    for (const int key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Space, Qt::Key_Plus})
        QTest::keyClick(View.get(), static_cast<Qt::Key>(key),
                        key == Qt::Key_Plus ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(sizeChanges, 0);
    EXPECT_EQ(View->FontSize(), 16);
    EXPECT_EQ(View->ItemIndex(), -1);
}

TEST_F(TFontListViewNavigationTest, ClickMakesTheRowCurrentAndCtrlClickFlipsItsMark)
{
    TenFonts(4);
    std::vector<std::pair<int, int>> presses;
    View->OnMouseDown = [&](TFonzetaFontListView* sender, Qt::MouseButton button,
                            Qt::KeyboardModifiers, int, int y) {
        presses.push_back({sender->ItemIndex(), y});
        EXPECT_TRUE(button == Qt::LeftButton || button == Qt::RightButton);
    };
    QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(2));
    EXPECT_EQ(View->ItemIndex(), 2);
    EXPECT_EQ(MarkCount(), 0);
    QTest::mouseClick(View->viewport(), Qt::RightButton, Qt::ControlModifier, RowPoint(1));
    EXPECT_EQ(View->ItemIndex(), 1);
    EXPECT_TRUE(Marked(1));
    EXPECT_EQ(SelectionChanges, 1);
    QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(1));
    EXPECT_FALSE(Marked(1));
    EXPECT_EQ(SelectionChanges, 2);
    // Shift and Alt make no difference.
    QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::ShiftModifier, RowPoint(3));
    EXPECT_EQ(View->ItemIndex(), 3);
    EXPECT_EQ(MarkCount(), 0);
    ASSERT_EQ(presses.size(), 4u);
    EXPECT_EQ(presses[0], std::make_pair(2, RowPoint(2).y()));
    EXPECT_EQ(presses[3].first, 3);
}

TEST_F(TFontListViewNavigationTest, CtrlClickBelowTheLastRowMakesTheLastFontCurrent)
{
    AddNames(3);
    Show(5);
    Focus(*View);
    int selectionChanges = 0;
    View->OnChangeSelected = [&](TFonzetaFontListView*) { ++selectionChanges; };
    EXPECT_EQ(View->GetItemAt(10, RowPoint(4).y()), 4);
    QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(4));
    EXPECT_EQ(View->ItemIndex(), 2);
    EXPECT_EQ(selectionChanges, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(View->Items().Fonts(i)->Selected);
}

TEST_F(TFontListViewNavigationTest, ClickTakesTheFocus)
{
    TenFonts(4);
    View->clearFocus();
    ASSERT_FALSE(View->hasFocus());
    QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(0));
    EXPECT_TRUE(View->hasFocus());
}

TEST_F(TFontListViewNavigationTest, GetItemAtCountsRowsFromTheTop)
{
    EXPECT_EQ(View->GetItemAt(5, 5), -1);  // no records
    TenFonts(4);
    View->SetTopItem(3);
    const int height = View->ItemHeight();
    EXPECT_EQ(View->GetItemAt(0, 0), 3);
    EXPECT_EQ(View->GetItemAt(399, height - 1), 3);
    EXPECT_EQ(View->GetItemAt(5, height), 4);
    EXPECT_EQ(View->GetItemAt(5, 4 * height - 1), 6);
    EXPECT_EQ(View->GetItemAt(-1, 5), -1);
    EXPECT_EQ(View->GetItemAt(5, 4 * height), -1);
    EXPECT_EQ(View->GetItemAt(400, 5), -1);
}

TEST_F(TFontListViewNavigationTest, SelectAllClearsWhileAnythingIsMarked)
{
    TenFonts(4);
    View->Items().Fonts(4)->Selected = true;
    View->SelectAll();
    EXPECT_EQ(MarkCount(), 0);
    EXPECT_EQ(SelectionChanges, 1);
    View->SelectAll();
    EXPECT_EQ(MarkCount(), 10);
    EXPECT_EQ(SelectionChanges, 2);
}

TEST_F(TFontListViewNavigationTest, InvertSelectionFlipsEveryMark)
{
    TenFonts(4);
    View->Items().Fonts(0)->Selected = true;
    View->Items().Fonts(7)->Selected = true;
    View->InvertSelection();
    EXPECT_EQ(MarkCount(), 8);
    EXPECT_FALSE(Marked(0));
    EXPECT_FALSE(Marked(7));
    EXPECT_TRUE(Marked(1));
    EXPECT_EQ(SelectionChanges, 1);
}

TEST_F(TFontListViewNavigationTest, WheelIsLeftToTheOwner)
{
    TenFonts(4);
    int turns = 0;
    View->OnMouseWheel = [&](TFonzetaFontListView* sender, Qt::KeyboardModifiers, int delta,
                             QPoint, bool& handled) {
        ++turns;
        sender->WMVScroll(delta < 0 ? scLineDown : scLineUp);
        handled = false;
    };
    QWheelEvent wheel(QPointF(20, 20), View->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View->viewport(), &wheel);
    EXPECT_EQ(turns, 1);
    EXPECT_EQ(View->TopItem(), 1);
}

}  // namespace
