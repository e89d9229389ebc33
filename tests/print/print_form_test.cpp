#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <deque>

#include "app/color_swatch.h"
#include "platform/color_dialog.h"
#include "print/print_form.h"
#include "print/sheet_painter.h"
#include "support/fake_printer.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

using namespace fonzeta::test;

// Answers the colour picker from a queue: a colour for OK, -1 for Cancel.
class TQueuedColors : public IColorDialog {
public:
    bool ChooseColor(std::int32_t& color) override
    {
        Offered.push_back(color);
        const std::int32_t answer = Answers.empty() ? -1 : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        if (answer < 0)
            return false;
        color = answer;
        return true;
    }
    std::deque<std::int32_t> Answers;
    std::vector<std::int32_t> Offered;
};

class PrintForm : public ::testing::Test {
protected:
    PrintForm() : Printer(Folder / "sheet.pdf", 600, QPageSize(QPageSize::A4))
    {
        Services.Dialogs = &Dialogs;
        Services.ColorDialog = &Colors;
        Services.Printer = &Printer;
    }

    // The dialog as the print command sets it up for `fonts` fonts.
    std::unique_ptr<TfPrint> Make(int fonts)
    {
        auto form = std::make_unique<TfPrint>(Services);
        const TSheetMetrics metrics = MeasureSheet(Printer.Printer(), 16);
        form->SetSheet(metrics, fonts);
        form->OnMeasure = [this] { return MeasureSheet(Printer.Printer(), 16); };
        form->SetMargins(TSheetLayout::InitialMargins(metrics.DpiX, metrics.DpiY));
        return form;
    }

    template <typename T>
    static T* Child(QWidget& form, const char* name)
    {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    // The page count the dialog should show for the printer as it is now.
    int ExpectedPages(const TfPrint& form, int fonts)
    {
        return TSheetLayout(MeasureSheet(Printer.Printer(), 16), form.Margins(), fonts).Pages();
    }

    TTempFolder Folder;
    TFakePrinterService Printer;
    TScriptedDialogs Dialogs;
    TQueuedColors Colors;
    TPlatform Services;
};

TEST_F(PrintForm, ShowsThePrinterAndCountsPagesAsTheMarginsChange)
{
    auto form = Make(500);
    form->show();
    EXPECT_EQ(form->size(), QSize(438, 311));
    EXPECT_EQ(form->windowTitle(), "Print");
    EXPECT_EQ(Child<QPushButton>(*form, "bPrint")->geometry(), QRect(280, 280, 70, 22));
    EXPECT_TRUE(Child<QPushButton>(*form, "bPrint")->isDefault());

    auto* printer = Child<QLabel>(*form, "lPrinter");
    EXPECT_EQ(printer->toolTip().toStdString(), "Printer: PDF file " + Folder / "sheet.pdf");
    EXPECT_EQ(Child<QComboBox>(*form, "cbPrint")->currentText(), "All pages in range");
    // 600 dpi: margins 12, 12, 25 and 12 mm.
    const TSheetMargins margins = form->Margins();
    EXPECT_EQ(margins.Top, 25);
    EXPECT_EQ(margins.Bottom, 12);
    EXPECT_EQ(margins.Left, 12);

    auto* pages = Child<QLabel>(*form, "lPages");
    EXPECT_EQ(pages->text(), QStringLiteral("Total %1 Pages").arg(ExpectedPages(*form, 500)));
    Child<QSpinBox>(*form, "seTop")->setValue(90);
    Child<QSpinBox>(*form, "seBottom")->setValue(80);
    const int fewerRows = ExpectedPages(*form, 500);
    EXPECT_EQ(pages->text(), QStringLiteral("Total %1 Pages").arg(fewerRows));
    EXPECT_GT(fewerRows, TSheetLayout(MeasureSheet(Printer.Printer(), 16), margins, 500).Pages());

    // Margins that leave no row: said so, and printing is refused with the dialog open.
    Child<QSpinBox>(*form, "seTop")->setValue(100);
    Child<QSpinBox>(*form, "seBottom")->setValue(100);
    TSheetMetrics tall = MeasureSheet(Printer.Printer(), 16);
    tall.SampleHeight = tall.PageHeight - TSheetLayout::MillimetresToPixels(200, tall.DpiY);
    form->SetSheet(tall, 500);
    ASSERT_FALSE(form->Layout().HasRoom());
    EXPECT_EQ(pages->text(), "No row fits between the margins");
    Child<QPushButton>(*form, "bPrint")->click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "The margins leave no room for a row of the sheet.");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->result(), 0);
}

TEST_F(PrintForm, PageTextChoosesTheRadioButtonAndInvalidRangesAreRefused)
{
    auto form = Make(25);
    form->show();
    auto* pages = Child<QLineEdit>(*form, "ePages");
    auto* all = Child<QRadioButton>(*form, "rbAll");
    auto* some = Child<QRadioButton>(*form, "rbPages");
    EXPECT_TRUE(all->isChecked());
    QTest::keyClicks(pages, "3-");
    EXPECT_TRUE(some->isChecked());

    for (const char* bad : {"3-", "-3", "x", "99999999999"}) {
        pages->setText(QString::fromLatin1(bad));
        Child<QPushButton>(*form, "bPrint")->click();
        ASSERT_FALSE(Dialogs.Shown.empty()) << bad;
        EXPECT_EQ(Dialogs.Shown.back().Text, "This is not a valid print range.");
        EXPECT_EQ(Dialogs.Shown.back().Caption, "Warning");
        EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgIcon::Warning);
        EXPECT_TRUE(form->isVisible()) << bad;
    }
    // Checking "Pages" by hand with an empty text is refused too.
    pages->clear();
    EXPECT_TRUE(all->isChecked());
    some->setChecked(true);
    Child<QPushButton>(*form, "bPrint")->click();
    EXPECT_EQ(Dialogs.Shown.size(), 5u);
    EXPECT_TRUE(form->isVisible());

    // A range that selects no page is refused as well: 2-2 of the odd pages.
    pages->setText(QStringLiteral("2-2"));
    Child<QComboBox>(*form, "cbPrint")->setCurrentIndex(1);
    Child<QPushButton>(*form, "bPrint")->click();
    EXPECT_EQ(Dialogs.Shown.back().Text, "The page range and the filter select no page to print.");
    EXPECT_TRUE(form->isVisible());

    pages->setText(QStringLiteral(" 1 "));
    Child<QPushButton>(*form, "bPrint")->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->FirstPage(), 1);
    EXPECT_EQ(form->LastPage(), 1);
    EXPECT_EQ(form->Filter(), pfOdd);
}

TEST_F(PrintForm, SwatchesTakeTheChosenColourAndKeepTheirsOnCancel)
{
    auto form = Make(3);
    form->show();
    auto* name = Child<TColorSwatch>(*form, "sFontName");
    auto* sample = Child<TColorSwatch>(*form, "sString");
    auto* title = Child<TColorSwatch>(*form, "sTitle");
    EXPECT_EQ(form->FontNameColor(), 0x008000);
    EXPECT_EQ(form->StringColor(), 0x000000);
    EXPECT_EQ(form->TitleColor(), 0x000000);

    Colors.Answers = {0x0000FF, -1, 0xFF0000};
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::mouseClick(sample, Qt::RightButton);
    QTest::mouseClick(title, Qt::LeftButton);
    EXPECT_EQ(Colors.Offered, (std::vector<std::int32_t>{0x008000, 0x000000, 0x000000}));
    EXPECT_EQ(form->FontNameColor(), 0x0000FF);
    EXPECT_EQ(form->StringColor(), 0x000000);
    EXPECT_EQ(form->TitleColor(), 0xFF0000);
    const QImage swatch = name->grab().toImage();
    EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(255, 0, 0));
}

TEST_F(PrintForm, PrintSetupMeasuresTheChosenPrinterAgain)
{
    auto form = Make(200);
    form->show();
    auto* pages = Child<QLabel>(*form, "lPages");
    const QString before = pages->text();
    const int a4Pages = ExpectedPages(*form, 200);

    // Cancelled: nothing changes.
    Child<QPushButton>(*form, "bPrintSetup")->click();
    EXPECT_EQ(Printer.SetupCalls, 1);
    EXPECT_EQ(pages->text(), before);

    Printer.OnSetup = [this](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setResolution(300);
        printer.setOutputFileName(QString::fromStdString(Folder / "small.pdf"));
        return true;
    };
    Child<QPushButton>(*form, "bPrintSetup")->click();
    EXPECT_EQ(Child<QLabel>(*form, "lPrinter")->toolTip().toStdString(),
              "Printer: PDF file " + Folder / "small.pdf");
    const int a6Pages = ExpectedPages(*form, 200);
    EXPECT_EQ(MeasureSheet(Printer.Printer(), 16).DpiY, 300);
    EXPECT_GT(a6Pages, a4Pages) << "A6 holds fewer rows";
    EXPECT_EQ(pages->text(), QStringLiteral("Total %1 Pages").arg(a6Pages));
}

}  // namespace
