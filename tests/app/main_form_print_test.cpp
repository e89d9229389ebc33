#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <functional>
#include <regex>

#include "app/main_form.h"
#include "fonts/naming_table.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "print/print_form.h"
#include "print/sheet_painter.h"
#include "support/pdf_tools.h"
#include "support/fake_printer.h"
#include "support/fakes.h"
#include "support/look_alike.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace {

using namespace fonzeta::test;
namespace fs = std::filesystem;

const char* const Sample = "Sphinx of black quartz";

int Occurrences(const std::string& text, const std::string& what)
{
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The main window over a preview of 25 sandbox records, printing into a PDF of the test.
class MainFormPrint : public ::testing::Test {
protected:
    MainFormPrint() : Printer(Out / "sheet.pdf")
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Services.Printer = &Printer;
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = std::make_unique<TMainForm>(Services, Settings.Path());
        form->SetHelpFolder(Settings.Path());
        form->show();
        const std::string files[] = {Sandbox::DejaVuSans(), Sandbox::DejaVuSansBold(),
                                     Sandbox::DejaVuSerif(), SerifNamedSans(Fonts)};
        TFontList& items = form->FontView->Items();
        items.BeginUpdate();
        items.Clear();
        for (int i = 0; i < 25; ++i) {
            auto font = std::make_unique<TFontInfo>();
            ReadNamingTable(*font, files[i % 4], 0x0409);
            items.Add(std::move(font));
        }
        items.EndUpdate();
        form->FontView->SetText(Sample);
        return form;
    }

    // Runs the print command, answering its dialog with `answer` once it shows.
    void Print(TMainForm& form, const std::function<void(TfPrint&)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, &form, [&] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<TfPrint*>(window); dialog && dialog->isVisible()) {
                    answered = true;
                    answer(*dialog);
                    if (dialog->isVisible())
                        dialog->reject();
                }
        });
        form.findChild<QAction*>(QStringLiteral("Print1"))->trigger();
        EXPECT_TRUE(answered) << "the print dialog was shown";
    }

    static void ClickPrint(TfPrint& dialog)
    {
        dialog.findChild<QPushButton*>(QStringLiteral("bPrint"))->click();
    }

    int PredictedPages()
    {
        const TSheetMetrics metrics = MeasureSheet(Printer.Printer(), 16);
        return TSheetLayout(metrics, TSheetLayout::InitialMargins(metrics.DpiX, metrics.DpiY), 25)
            .Pages();
    }

    TTempFolder Settings;
    TTempFolder Fonts;
    TTempFolder Out;
    TLinuxPlatform Linux;
    TScriptedDialogs Dialogs;
    TFakePrinterService Printer;
    TPlatform Services;
};

TEST_F(MainFormPrint, PrintsEveryFontOfThePreviewIntoAPdf)
{
    auto form = Shown();
    auto* print = form->findChild<QAction*>(QStringLiteral("Print1"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled());
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(form->findChild<QToolButton*>(QStringLiteral("tbPrint"))->isEnabled());

    const int pages = PredictedPages();
    ASSERT_GE(pages, 2);
    QString shownCount;
    Print(*form, [&](TfPrint& dialog) {
        shownCount = dialog.findChild<QLabel*>(QStringLiteral("lPages"))->text();
        dialog.findChild<QLineEdit*>(QStringLiteral("eTitle"))->setText(QStringLiteral("Serif and Sans"));
        ClickPrint(dialog);
    });
    EXPECT_EQ(shownCount, QStringLiteral("Total %1 Pages").arg(pages));
    EXPECT_TRUE(Dialogs.Shown.empty()) << Dialogs.Shown.front().Text;

    const QString pdf = QString::fromStdString(Out / "sheet.pdf");
    ASSERT_TRUE(fs::exists(pdf.toStdString()));
    EXPECT_EQ(PdfPages(pdf.toStdString()), pages);
    const std::string text = RunTool("pdftotext", {"-layout", pdf, "-"});
    for (const std::string& line :
         {std::string("Font List by Fonzeta"), std::string("Serif and Sans"),
          std::string("Font Size: 16pt"), std::string("1. DejaVu Sans"),
          std::string("2. DejaVu Sans Bold"), std::string("25. DejaVu Sans"),
          std::to_string(pages) + " of " + std::to_string(pages) + " pages"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    // The DejaVu rows are drawn in fonts the PDF embeds, so their samples are text; the
    // look-alike's (every fourth row) are outlines of its own glyphs.
    EXPECT_EQ(Occurrences(text, Sample), 19);

    const std::string fonts = RunTool("pdffonts", {pdf});
    for (const char* face : {"DejaVuSans-Bold", "DejaVuSerif", "DejaVuSans"}) {
        // "name type encoding emb ...", the name possibly with a subset prefix "ABCDEF+".
        const std::regex embedded(std::string("(^|\\n)([A-Z]{6}\\+)?") + face +
                                  " [^\\n]* yes ");
        EXPECT_TRUE(std::regex_search(fonts, embedded)) << face << "\n" << fonts;
    }
    EXPECT_EQ(Printer.Printer().outputFileName(), pdf);
}

TEST_F(MainFormPrint, EvenPagesOfAnotherPaperAndResolution)
{
    auto form = Shown();
    Printer.OnSetup = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setResolution(300);
        return true;
    };
    int pages = 0;
    Print(*form, [&](TfPrint& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("bPrintSetup"))->click();
        pages = PredictedPages();
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lPages"))->text(),
                  QStringLiteral("Total %1 Pages").arg(pages));
        dialog.findChild<QComboBox*>(QStringLiteral("cbPrint"))->setCurrentIndex(pfEven);
        ClickPrint(dialog);
    });
    ASSERT_GE(pages, 3);
    const QString pdf = QString::fromStdString(Out / "sheet.pdf");
    const std::string info = RunTool("pdfinfo", {pdf});
    EXPECT_EQ(PdfPages(pdf.toStdString()), pages / 2);
    EXPECT_NE(info.find("Page size:       297 x 420 pts"), std::string::npos) << info;
    const std::string text = RunTool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_NE(text.find("2 of " + std::to_string(pages) + " pages"), std::string::npos) << text;
    EXPECT_EQ(text.find("1 of " + std::to_string(pages) + " pages"), std::string::npos);
    EXPECT_EQ(text.find("1. DejaVu Sans"), std::string::npos);
}

TEST_F(MainFormPrint, CancelPrintsNothingAndAFailedJobIsReported)
{
    auto form = Shown();
    Print(*form, [](TfPrint& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("bCancel"))->click();
    });
    EXPECT_FALSE(fs::exists(Out / "sheet.pdf"));
    EXPECT_TRUE(Dialogs.Shown.empty());

    const std::string missing = Out / "gone/sheet.pdf";
    Printer.Printer().setOutputFileName(QString::fromStdString(missing));
    Print(*form, ClickPrint);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "The PDF file " + missing +
                                         " could not be written: the folder " + Out / "gone" +
                                         " does not exist.");
    EXPECT_TRUE(fs::is_empty(Out.Path()));
}

TEST_F(MainFormPrint, AnEmptyPreviewHasNothingToPrint)
{
    auto form = Shown();
    form->FontView->Items().Clear();
    form->Print1Click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "There are no fonts to print.");
    EXPECT_TRUE(fs::is_empty(Out.Path()));
}

}  // namespace
