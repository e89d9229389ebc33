#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "print/print_form.h"
#include "print/sheet_painter.h"
#include "support/fake_printer.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

using namespace fonzeta::test;

// The page-range buttons: exactly one of "All" and "Pages" is chosen whichever way the
// user gets there (typing pages, clearing them, the arrows, the mouse), and the dialog
// prints what is chosen.
class PrintRange : public ::testing::Test {
protected:
    PrintRange() : Printer(Folder / "sheet.pdf", 600, QPageSize(QPageSize::A4))
    {
        Services.Dialogs = &Dialogs;
        Services.Printer = &Printer;
        Form = std::make_unique<TfPrint>(Services);
        const TSheetMetrics metrics = MeasureSheet(Printer.Printer(), 16);
        Form->SetSheet(metrics, 60);
        Form->SetMargins(TSheetLayout::InitialMargins(metrics.DpiX, metrics.DpiY));
        Form->show();
        QApplication::setActiveWindow(Form.get());
        All = Form->findChild<QRadioButton*>(QStringLiteral("rbAll"));
        Pages = Form->findChild<QRadioButton*>(QStringLiteral("rbPages"));
        Edit = Form->findChild<QLineEdit*>(QStringLiteral("ePages"));
        Print = Form->findChild<QPushButton*>(QStringLiteral("bPrint"));
    }

    // "All" when it alone is checked, "Pages" when it alone is, "both"/"none" otherwise.
    std::string Chosen() const
    {
        if (All->isChecked() == Pages->isChecked())
            return All->isChecked() ? "both" : "none";
        return All->isChecked() ? "All" : "Pages";
    }

    TTempFolder Folder;
    TFakePrinterService Printer;
    TScriptedDialogs Dialogs;
    TPlatform Services;
    std::unique_ptr<TfPrint> Form;
    QRadioButton* All = nullptr;
    QRadioButton* Pages = nullptr;
    QLineEdit* Edit = nullptr;
    QPushButton* Print = nullptr;
};

TEST_F(PrintRange, TheRangeButtonsStayExclusiveWhateverChoosesThem)
{
    ASSERT_TRUE(All && Pages && Edit && Print);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    EXPECT_EQ(Chosen(), "All");

    QTest::keyClicks(Edit, "2-3");
    EXPECT_EQ(Chosen(), "Pages");
    Edit->clear();
    EXPECT_EQ(Chosen(), "All");

    // The mouse: a click chooses, a click on the chosen one keeps it.
    QTest::mouseClick(Pages, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(Chosen(), "Pages");
    QTest::mouseClick(Pages, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(Chosen(), "Pages");
    QTest::mouseClick(All, Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(Chosen(), "All");

    // The arrows move the choice and the focus within the pair, round at the ends.
    All->setFocus(Qt::TabFocusReason);
    QTest::keyClick(All, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Pages);
    EXPECT_EQ(Chosen(), "Pages");
    QTest::keyClick(Pages, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), All);
    EXPECT_EQ(Chosen(), "All");
    QTest::keyClick(All, Qt::Key_Up);
    EXPECT_EQ(Chosen(), "Pages");

    // The pair is one tab stop: the chosen button.
    EXPECT_EQ(Pages->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(All->focusPolicy(), Qt::ClickFocus);
}

TEST_F(PrintRange, PrintsTheChosenRangeAndIgnoresPagesTextUnderAll)
{
    ASSERT_TRUE(All && Pages && Edit && Print);
    // "Pages" does not reach under its edit: a click at the edit's left end goes to the
    // edit and leaves the choice alone.
    const QPoint editLeft = Edit->mapTo(Form.get(), QPoint(1, Edit->height() / 2));
    EXPECT_EQ(Form->childAt(editLeft), Edit);
    EXPECT_LE(Pages->geometry().right(), Edit->geometry().left());

    QTest::keyClicks(Edit, "9-");
    ASSERT_EQ(Chosen(), "Pages");
    All->click();
    EXPECT_EQ(Chosen(), "All");
    Print->click();
    EXPECT_TRUE(Dialogs.Shown.empty()) << "the unfinished range is not asked for";
    EXPECT_EQ(Form->result(), QDialog::Accepted);
    EXPECT_EQ(Form->FirstPage(), -1);
    EXPECT_EQ(Form->LastPage(), -1);
}

TEST_F(PrintRange, PagesChosenPrintsItsRange)
{
    ASSERT_TRUE(All && Pages && Edit && Print);
    QTest::keyClicks(Edit, "1-2");
    Print->click();
    EXPECT_EQ(Form->result(), QDialog::Accepted);
    EXPECT_EQ(Form->FirstPage(), 1);
    EXPECT_EQ(Form->LastPage(), 2);
}

}  // namespace
