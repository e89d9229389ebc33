#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

#include "fonts/font_list.h"
#include "fonts/problems_form.h"
#include "support/fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/ttf_builder.h"

using namespace fonzeta::test;

namespace {

// Scripted boxes that also answer the check box: ticked in the box numbered `TickAt`
// (counting from 1; 0 never).
class TCheckingDialogs : public TScriptedDialogs {
public:
    TMsgAnswer MessageBoxWithCheck(const std::string& text, const std::string& caption,
                                   TMsgIcon icon, TMsgButtons buttons,
                                   const std::string& checkText, bool& checked) override
    {
        CheckTexts.push_back(checkText);
        const TMsgAnswer answer = MessageBox(text, caption, icon, buttons);
        checked = static_cast<int>(Shown.size()) == TickAt;
        return answer;
    }
    int TickAt = 1;
    std::vector<std::string> CheckTexts;
};

class ProblemsReport : public ::testing::Test, protected TFakeFontPlatform<TCheckingDialogs> {
protected:
    // 25 files that are no fonts and 25 whose naming table lies past their end, with 5 good
    // fonts among them.
    std::vector<std::string> MakeDamagedFolder()
    {
        Temp.MakeFolder("damaged");
        std::vector<std::string> damaged;
        for (int i = 0; i < 25; ++i) {
            damaged.push_back(WriteBytes(Temp / ("damaged/junk" + std::to_string(i) + ".ttf"),
                                         "no font at all " + std::to_string(i)));
            damaged.push_back(TTtfBuilder().Name(4, "Lost").NameTableOffset(0x10000 + i)
                                  .Write(Temp / ("damaged/far" + std::to_string(i) + ".otf")));
        }
        for (int i = 0; i < 5; ++i)
            Temp.CopyFile(Sandbox::DejaVuSans(), "damaged/good" + std::to_string(i) + ".ttf");
        return damaged;
    }

    std::unique_ptr<TFontList> List(TFontListMode mode, const std::string& folder = std::string())
    {
        auto list = std::make_unique<TFontList>(Platform, true);
        list->SetMode(mode);
        list->SetFolder(folder);
        list->Refresh();
        return list;
    }
};

TEST_F(ProblemsReport, OneBoxThenEveryProblemIsKeptForTheReport)
{
    const std::vector<std::string> damaged = MakeDamagedFolder();
    auto list = List(flmFolder, Temp / "damaged");

    EXPECT_EQ(list->Count(), 5);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.CheckTexts, std::vector<std::string>{"Do not show again during this scan"});
    const TFontProblem& first = list->Problems().at(0);
    EXPECT_EQ(Dialogs.Shown[0].Text, first.Path + "\n" + first.Reason);

    ASSERT_EQ(list->Problems().size(), 50u);
    for (const std::string& path : damaged) {
        SCOPED_TRACE(path);
        const auto found = std::find_if(list->Problems().begin(), list->Problems().end(),
                                        [&](const TFontProblem& p) { return p.Path == path; });
        ASSERT_NE(found, list->Problems().end());
        EXPECT_EQ(found->Reason, path.find("junk") != std::string::npos ? "Invalid TrueType Font!"
                                                                          : "Invalid Font(1)!");
    }

    // Without the tick every problem asks; a new scan asks again from the start.
    Dialogs.Shown.clear();
    Dialogs.TickAt = 3;
    list->Refresh();
    EXPECT_EQ(Dialogs.Shown.size(), 3u);
    EXPECT_EQ(list->Problems().size(), 50u);
    Dialogs.Shown.clear();
    Dialogs.TickAt = 0;
    list->Refresh();
    EXPECT_EQ(Dialogs.Shown.size(), 50u);

    // A clean folder leaves an empty report.
    Temp.CopyFile(Sandbox::DejaVuSerif(), "clean/serif.ttf");
    list->SetFolder(Temp / "clean");
    list->Refresh();
    EXPECT_TRUE(list->Problems().empty());
}

TEST_F(ProblemsReport, NamesCutShortAndInstalledFilesAreListedAndReported)
{
    Temp.MakeFolder("f");
    TNameRecordLayout tooLong;
    tooLong.NameID = 1;
    tooLong.Bytes = Utf16BE("Family");
    tooLong.Length = 4000;
    const std::string cut = TTtfBuilder().Name(4, "Cut Short").Record(tooLong).Write(Temp / "f/cut.ttf");
    auto list = List(flmFolder, Temp / "f");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Fonts(0)->FullName, "Cut Short");
    ASSERT_EQ(list->Problems().size(), 1u);
    EXPECT_EQ(list->Problems()[0].Reason, "Invalid StrLen!");
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Invalid StrLen!"});

    // An installed file is a font fontconfig took: it is listed even when unreadable here.
    const std::string junk = WriteBytes(Temp / "f/junk.ttf", "junk");
    Store.Files = {Sandbox::DejaVuSans(), junk};
    auto installed = List(flmInstalled);
    EXPECT_EQ(installed->Count(), 2);
    ASSERT_EQ(installed->Problems().size(), 1u);
    EXPECT_EQ(installed->Problems()[0].Path, junk);
    EXPECT_EQ(installed->Problems()[0].Reason, "Invalid TrueType Font!");
}

TEST_F(ProblemsReport, WindowListsSortsAndCopiesTheProblems)
{
    MakeDamagedFolder();
    WriteBytes(Temp / "damaged/\xFF-odd.ttf", "junk");
    auto list = List(flmFolder, Temp / "damaged");
    ASSERT_EQ(list->Problems().size(), 51u);

    TfProblems window;
    window.SetProblems(list->Problems());
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Font problems"));
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.RowCount(), 51);

    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("ProblemList"));
    ASSERT_NE(tree, nullptr);
    // Sorted by reason: the 25 "Invalid Font(1)!" come before the 26 others.
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QStringLiteral("Invalid Font(1)!"));
    EXPECT_EQ(tree->topLevelItem(24)->text(1), QStringLiteral("Invalid Font(1)!"));
    EXPECT_EQ(tree->topLevelItem(25)->text(1), QStringLiteral("Invalid TrueType Font!"));

    const QStringList lines = window.CopyText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 51);
    EXPECT_TRUE(lines.contains(QString::fromStdString(Temp / "damaged/junk7.ttf") +
                               QStringLiteral("\tInvalid TrueType Font!")));
    // A name that is no UTF-8 is shown readably, its odd byte spelled out.
    EXPECT_TRUE(lines.contains(QString::fromStdString(Temp / "damaged/") +
                               QStringLiteral("\\xFF-odd.ttf\tInvalid TrueType Font!")));

    // A click on the File heading sorts by file.
    const QHeaderView* header = tree->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QStringList files;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        files << tree->topLevelItem(i)->text(0);
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    QStringList plain = files;
    std::sort(plain.begin(), plain.end());
    QStringList collated = files;
    std::sort(collated.begin(), collated.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    EXPECT_TRUE(files == plain || files == collated) << files.join(QLatin1Char(' ')).toStdString();

    // Ctrl+C copies the selected rows only.
    tree->topLevelItem(3)->setSelected(true);
    tree->topLevelItem(4)->setSelected(true);
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, tree->topLevelItem(3)->text(0) + QLatin1Char('\t') + tree->topLevelItem(3)->text(1) +
                          QLatin1Char('\n') + tree->topLevelItem(4)->text(0) + QLatin1Char('\t') +
                          tree->topLevelItem(4)->text(1) + QLatin1Char('\n'));
}

}  // namespace
