#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "app/selected_model.h"
#include "app/selection_pane.h"
#include "controls/btn_status_bar.h"
#include "platform/document_opener.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/folder_browser_fake.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using fonzeta::test::Sandbox;
using fonzeta::test::TFakeLocale;
using fonzeta::test::TScriptedDialogs;
using fonzeta::test::TScriptedFolderBrowser;
using fonzeta::test::TTempFolder;

class TRecordingOpener : public IDocumentOpener {
public:
    bool Open(const std::string& target) override
    {
        Opened.push_back(target);
        return true;
    }
    std::vector<std::string> Opened;
};

// The real main window in the sandbox, with scripted message boxes, folder browser, prompt
// and locale, and a folder of two DejaVu fonts, a Nanum font and one file that is no font.
class MainFormCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Services.Opener = &Opener;
        Services.FolderBrowser = &Browser;
        Services.Locale = &Locale;
        Folder = Fonts.MakeFolder("Fonts here");
        fs::copy_file(Sandbox::DejaVuSans(), Folder + "/sans.ttf");
        fs::copy_file(Sandbox::DejaVuSansBold(), Folder + "/bold.ttf");
        fs::copy_file(Sandbox::NanumGothic(), Folder + "/nanum.ttf");
        std::ofstream(Folder + "/notes.txt") << "not a font";
    }

    // A window started on `mode` (0 screen, 1 installed) and shown.
    std::unique_ptr<TMainForm> Start(int mode = 0)
    {
        std::ofstream(Settings / "fonzeta.ini") << "[Option]\r\nViewMode=" << mode << "\r\n";
        auto form = std::make_unique<TMainForm>(Services, Settings.Path());
        form->PromptTextFn = [this](QWidget*, const std::string& caption,
                                    const std::string& prompt, std::string& text) {
            Prompts.push_back({caption, prompt, text});
            if (Answers.empty())
                return 2;
            auto [result, answer] = Answers.front();
            Answers.erase(Answers.begin());
            if (result == 1)
                text = answer;
            return result;
        };
        form->show();
        return form;
    }

    // A window listing the folder.
    std::unique_ptr<TMainForm> StartInFolder()
    {
        auto form = Start();
        Browser.Answers = {Folder};
        form->FontsinFolder1Click();
        return form;
    }

    template <typename T>
    static T* Child(QWidget& form, const char* name)
    {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QAction* Item(QWidget& form, const char* name) { return Child<QAction>(form, name); }
    static std::vector<std::string> Status(QWidget& form)
    {
        return Child<TBtnStatusBar>(form, "StatusBar1")->Items();
    }
    static int IndexOf(TMainForm& form, const std::string& name)
    {
        const TFontList& items = form.FontView->Items();
        for (int i = 0; i < items.Count(); ++i)
            if (items.Fonts(i)->FullName == name)
                return i;
        return -1;
    }
    static void Mark(TMainForm& form, std::initializer_list<int> rows)
    {
        for (int row : rows) {
            form.FontView->SetItemIndex(row);
            QTest::keyClick(form.FontView, Qt::Key_Space);
        }
    }

    struct TPrompt {
        std::string Caption;
        std::string Prompt;
        std::string Initial;
    };

    TTempFolder Settings;
    TTempFolder Fonts;
    std::string Folder;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
    TRecordingOpener Opener;
    TScriptedFolderBrowser Browser;
    TFakeLocale Locale{0x0409, ","};
    std::vector<TPrompt> Prompts;
    std::vector<std::pair<int, std::string>> Answers;
};

TEST_F(MainFormCommands, FolderSourceComesThroughTheBrowserAndCancelChangesNothing)
{
    auto form = Start();
    EXPECT_FALSE(Item(*form, "InstallFont1")->isEnabled());
    EXPECT_FALSE(Item(*form, "UninstallFont1")->isEnabled());

    Browser.Answers = {Folder};
    form->FontView->SetItemIndex(2);
    form->FontsinFolder1Click();
    ASSERT_EQ(Browser.Offers.size(), 1u);
    EXPECT_EQ(Browser.Offers[0].Title, "Select Folder contains font files ");
    EXPECT_EQ(Browser.Offers[0].Start, "");
    EXPECT_EQ(form->windowTitle().toStdString(), "Fonzeta 1.0 - Fonts in folder (" + Folder + ")");
    EXPECT_EQ(Status(*form), std::vector<std::string>{"Font Count=3"});
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    EXPECT_EQ(form->ViewContent, vcAll);
    EXPECT_TRUE(Dialogs.Shown.empty());
    // The Font menu follows without being opened: Alt+I works at once.
    EXPECT_TRUE(Item(*form, "InstallFont1")->isEnabled());
    EXPECT_FALSE(Item(*form, "UninstallFont1")->isEnabled());

    const QString caption = form->windowTitle();
    Browser.Answers = {""};
    form->FontsinFolder1Click();
    EXPECT_EQ(Browser.Offers.at(1).Start, Folder);
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_EQ(form->FontView->Items().Count(), 3);
    EXPECT_EQ(form->SourceList->Mode(), flmFolder);

    // Another source in between: the browser still starts on the folder listed last.
    form->InstalledFonts1Click();
    EXPECT_EQ(form->windowTitle().toStdString(), "Fonzeta 1.0 - Installed Fonts");
    EXPECT_FALSE(Item(*form, "InstallFont1")->isEnabled());
    EXPECT_TRUE(Item(*form, "UninstallFont1")->isEnabled());
    form->FontsinFolder1Click();
    EXPECT_EQ(Browser.Offers.at(2).Start, Folder);

    form->ScreenFonts1Click();
    EXPECT_EQ(form->windowTitle().toStdString(), "Fonzeta 1.0 - Screen Fonts");
    EXPECT_FALSE(Item(*form, "InstallFont1")->isEnabled());
    EXPECT_FALSE(Item(*form, "UninstallFont1")->isEnabled());
    // Opening the menu computes the same.
    Child<QMenu>(*form, "N1")->aboutToShow();
    EXPECT_FALSE(Item(*form, "InstallFont1")->isEnabled());
    EXPECT_FALSE(Item(*form, "UninstallFont1")->isEnabled());
}

TEST_F(MainFormCommands, TheUserFontFolderIsRefusedWithOneMessageAndAnEmptyFolderCountsNothing)
{
    auto form = Start(1);
    const int installed = form->FontView->Items().Count();
    const std::string inside = Sandbox::UserFontFolder() + "/inside";
    fs::create_directories(inside);
    Browser.Answers = {inside};
    form->FontsinFolder1Click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find(inside), std::string::npos);
    EXPECT_EQ(form->SourceList->Mode(), flmInstalled);
    EXPECT_EQ(form->windowTitle().toStdString(), "Fonzeta 1.0 - Installed Fonts");
    EXPECT_EQ(form->FontView->Items().Count(), installed);
    EXPECT_TRUE(Item(*form, "UninstallFont1")->isEnabled());
    EXPECT_FALSE(Item(*form, "InstallFont1")->isEnabled());
    // The folder itself, reached through a path with "..", is refused the same way.
    Browser.Answers = {inside + "/.."};
    form->FontsinFolder1Click();
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_EQ(form->SourceList->Mode(), flmInstalled);

    Browser.Answers = {Fonts.MakeFolder("empty")};
    form->FontsinFolder1Click();
    EXPECT_EQ(Status(*form), std::vector<std::string>{"Font Count=0"});
    EXPECT_EQ(form->FontView->ItemIndex(), -1);
    EXPECT_EQ(form->SourceList->Mode(), flmFolder);
}

TEST_F(MainFormCommands, SelectedFontsAllFontsAndRefresh)
{
    auto form = StartInFolder();
    // None marked: nothing changes.
    form->Selected1Click();
    EXPECT_EQ(form->ViewContent, vcAll);
    EXPECT_EQ(form->FontView->Items().Count(), 3);

    Mark(*form, {0, 2});
    const std::string first = form->FontView->Items().Fonts(0)->FullName;
    const std::string last = form->FontView->Items().Fonts(2)->FullName;
    form->Selected1Click();
    EXPECT_EQ(form->ViewContent, vcSelected);
    ASSERT_EQ(form->FontView->Items().Count(), 2);
    EXPECT_EQ(form->FontView->Items().Fonts(0)->FullName, first);
    EXPECT_EQ(form->FontView->Items().Fonts(1)->FullName, last);
    EXPECT_FALSE(form->FontView->Items().Fonts(0)->Selected);  // copies start unmarked
    EXPECT_EQ(form->FontView->Items().Mode(), flmFolder);
    EXPECT_EQ(Status(*form), std::vector<std::string>{"Font Count=2"});
    Child<QMenu>(*form, "View1")->aboutToShow();
    EXPECT_TRUE(Item(*form, "Selected1")->isChecked());
    EXPECT_TRUE(Item(*form, "FontsinFolder1")->isChecked());

    // Refresh does nothing while only some fonts are shown.
    fs::copy_file(Sandbox::DejaVuSerif(), Folder + "/serif.ttf");
    form->Refresh1Click();
    EXPECT_EQ(form->FontView->Items().Count(), 2);
    EXPECT_EQ(form->SourceList->Count(), 3);

    form->All1Click();
    EXPECT_EQ(form->ViewContent, vcAll);
    EXPECT_EQ(form->FontView->Items().Count(), 3);
    Child<QMenu>(*form, "View1")->aboutToShow();
    EXPECT_TRUE(Item(*form, "All1")->isChecked());

    // With everything shown, Refresh sees the font added to the folder.
    form->FontView->SetItemIndex(1);
    form->Refresh1Click();
    EXPECT_EQ(form->FontView->Items().Count(), 4);
    EXPECT_EQ(Status(*form), std::vector<std::string>{"Font Count=4"});
    EXPECT_EQ(form->FontView->ItemIndex(), 1);

    // All marked: the selected view holds every font and counts as all fonts.
    form->SelectAll1Click();
    form->Selected1Click();
    EXPECT_EQ(form->ViewContent, vcSelected);
    Child<QMenu>(*form, "View1")->aboutToShow();
    EXPECT_TRUE(Item(*form, "All1")->isChecked());
}

TEST_F(MainFormCommands, RefreshLeavesAFavouritesGroupAlone)
{
    auto form = StartInFolder();
    // A group as large as the source.
    form->ViewContent = vcFavorites;
    fs::copy_file(Sandbox::DejaVuSerif(), Folder + "/serif.ttf");
    form->Refresh1Click();
    EXPECT_EQ(form->FontView->Items().Count(), 3);
    EXPECT_EQ(form->SourceList->Count(), 3);
    EXPECT_EQ(form->ViewContent, vcFavorites);
}

TEST_F(MainFormCommands, AltAShowsAllFontsEvenFromTheSampleBox)
{
    auto form = StartInFolder();
    QApplication::setActiveWindow(form.get());
    Mark(*form, {1});
    form->Selected1Click();
    ASSERT_EQ(form->FontView->Items().Count(), 1);
    QLineEdit* sample = Child<QComboBox>(*form, "cbString")->lineEdit();
    sample->setFocus();
    const QString text = sample->text();
    QTest::keyClick(sample, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(form->ViewContent, vcAll);
    EXPECT_EQ(form->FontView->Items().Count(), 3);
    EXPECT_EQ(sample->text(), text);  // the key did not type into the box

    // Alt+S and Alt+2 are plain shortcuts of their items.
    Mark(*form, {0});
    form->FontView->setFocus();
    QTest::keyClick(form->FontView, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(form->ViewContent, vcSelected);
    QTest::keyClick(form->FontView, Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(form->SourceList->Mode(), flmInstalled);
}

TEST_F(MainFormCommands, TheViewButtonsMenuChecksTheSource)
{
    auto form = StartInFolder();
    auto* menu = form->pmViews;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Child<QToolButton>(*form, "tbView")->menu(), menu);
    EXPECT_TRUE(Child<QToolButton>(*form, "tbView")->isEnabled());
    menu->aboutToShow();
    EXPECT_TRUE(Item(*form, "FontsinFolder2")->isChecked());
    Item(*form, "ScreenFonts2")->trigger();
    EXPECT_EQ(form->SourceList->Mode(), flmScreen);
    menu->aboutToShow();
    EXPECT_TRUE(Item(*form, "ScreenFonts2")->isChecked());
    EXPECT_FALSE(Item(*form, "FontsinFolder2")->isChecked());
}

TEST_F(MainFormCommands, MarksFillThePaneAndTheSummary)
{
    auto form = Start();
    auto* pane = Child<TSelectionPane>(*form, "pSelected");
    EXPECT_FALSE(pane->Label1->isHidden());
    // The hint is grey: its darkest pixel is neither black nor the white background.
    const QImage hint = pane->Label1->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < hint.height(); ++y)
        for (int x = 0; x < hint.width(); ++x)
            darkest = std::min(darkest, qGray(hint.pixel(x, y)));
    EXPECT_GT(darkest, 60);
    EXPECT_LT(darkest, 200);
    ASSERT_GT(form->FontView->Items().Count(), 1);

    Mark(*form, {0});
    EXPECT_EQ(Status(*form).size(), 2u);
    EXPECT_EQ(Status(*form).at(1), "Selected=1 Fonts");  // screen fonts have no files
    EXPECT_TRUE(pane->Label1->isHidden());
    EXPECT_EQ(pane->pSelTitle->Caption(), "  Selected Fonts - 1");
    ASSERT_EQ(pane->Model().Count(), 1);
    EXPECT_EQ(pane->Model().Entry(0).Name, form->FontView->Items().Fonts(0)->FullName);
    EXPECT_EQ(pane->Model().Entry(0).Index, 0);

    Mark(*form, {0});
    EXPECT_EQ(Status(*form).size(), 1u);
    EXPECT_FALSE(pane->Label1->isHidden());
    EXPECT_EQ(pane->pSelTitle->Caption(), "  Selected Fonts - 0");

    form->SelectAll1Click();
    const int count = form->FontView->Items().Count();
    EXPECT_EQ(pane->Model().Count(), count);
    EXPECT_EQ(Status(*form).at(1), "Selected=" + std::to_string(count) + " Fonts");
    form->InvertSelection1Click();
    EXPECT_EQ(pane->Model().Count(), 0);
    form->InvertSelection1Click();
    form->SelectAll1Click();  // some marked: clears them all
    EXPECT_EQ(Status(*form).size(), 1u);
}

TEST_F(MainFormCommands, FontsWithFilesAddUpTheirBytesWithTheUsersSeparator)
{
    auto form = StartInFolder();
    Mark(*form, {0, 2});
    const auto bytes = fs::file_size(form->FontView->Items().Fonts(0)->FileName) +
                       fs::file_size(form->FontView->Items().Fonts(2)->FileName);
    const std::string grouped =
        QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(bytes)).toStdString();
    EXPECT_EQ(Status(*form).at(1), "Selected=2 Fonts (" + grouped + " bytes)");

    // Totals past 32 bits are printed exactly.
    TFontList& items = form->FontView->Items();
    items.Fonts(0)->FileSize = 1000000;
    items.Fonts(2)->FileSize = 234567;
    form->FontViewChangeSelected();
    EXPECT_EQ(Status(*form).at(1), "Selected=2 Fonts (1,234,567 bytes)");
    Locale.Separator = ".";
    items.Fonts(0)->FileSize = 123456789012345;
    items.Fonts(2)->FileSize = 4294967296;
    form->FontViewChangeSelected();
    EXPECT_EQ(Status(*form).at(1), "Selected=2 Fonts (123.461.083.979.641 bytes)");
    EXPECT_EQ(Status(*form).at(0), "Font Count=3");

    // A new view empties the pane and drops the summary.
    form->All1Click();
    EXPECT_EQ(Status(*form), std::vector<std::string>{"Font Count=3"});
}

TEST_F(MainFormCommands, ThePaneShowsItsEntriesAndMovesThePreview)
{
    auto form = StartInFolder();
    auto* pane = Child<TSelectionPane>(*form, "pSelected");
    auto* toggle = Child<QToolButton>(*form, "tbSelected");
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_TRUE(Child<QToolButton>(*form, "tbFavorites")->isEnabled());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(Child<QSplitter>(*form, "Splitter1")->indexOf(pane), 0);
    EXPECT_EQ(pane->width(), 169);
    EXPECT_EQ(pane->sbSelPaneClose->geometry(), QRect(148, 1, 16, 16));

    Mark(*form, {0, 1, 2});
    form->FontView->SetItemIndex(0);
    QApplication::processEvents();
    QListView* list = pane->lbSelected;
    const QRect second = list->visualRect(pane->Model().index(1));
    EXPECT_EQ(second.height(), pane->EntryHeightNow());
    EXPECT_GE(pane->EntryHeightNow(), 18);

    // A right-click only selects the entry.
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, second.center());
    EXPECT_EQ(pane->SelectedEntryIndex(), 1);
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    // A left click makes the font current.
    const QRect third = list->visualRect(pane->Model().index(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    EXPECT_EQ(form->FontView->ItemIndex(), 2);
    // So does the keyboard.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(form->FontView->ItemIndex(), 1);

    // The entry draws the font picture and the name on white, the title its grey lines.
    const QImage title = pane->pSelTitle->grab().toImage();
    const int h = title.height();
    EXPECT_EQ(QColor(title.pixel(30, h - 3)), QColor(229, 229, 229));
    EXPECT_EQ(QColor(title.pixel(30, h - 2)), QColor(206, 206, 206));
    EXPECT_EQ(QColor(title.pixel(30, h - 1)), QColor(174, 174, 174));
    const QImage entries = list->viewport()->grab().toImage();
    // The picture is drawn with its transparency over the white entry.
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).drawImage(0, 0, QImage(QStringLiteral(":/font.png")));
    const QRect first = list->visualRect(pane->Model().index(0));
    EXPECT_EQ(entries.copy(first.left() + 2, first.top() + 1, 16, 16).convertToFormat(QImage::Format_RGB32),
              picture);

    QTest::mouseClick(pane->sbSelPaneClose, Qt::LeftButton);
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(MainFormCommands, NextSelectedMovesForwardOnlyAndAltArrowsSizeTheSample)
{
    auto form = StartInFolder();
    Mark(*form, {1, 2});
    form->FontView->SetItemIndex(0);
    form->NextSelected1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 1);
    form->NextSelected1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 2);
    form->NextSelected1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 2);

    auto* size = Child<QComboBox>(*form, "cbFontSize");
    form->FontView->SetFontSize(4);
    QTest::keyClick(form->FontView, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(form->FontView->FontSize(), 4);
    QTest::keyClick(form->FontView, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(form->FontView, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(form->FontView->FontSize(), 6);
    EXPECT_EQ(size->currentText(), "6");
    QTest::keyClick(form->FontView, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(form->FontView->FontSize(), 5);
    EXPECT_EQ(size->currentText(), "5");
}

TEST_F(MainFormCommands, DoubleClickOpensTheFileOfFontsWithFiles)
{
    auto form = Start();
    form->FontViewDblClick();
    EXPECT_TRUE(Opener.Opened.empty());  // screen fonts have no files

    Browser.Answers = {Folder};
    form->FontsinFolder1Click();
    form->FontView->SetItemIndex(1);
    const QPoint row(20, form->FontView->ItemHeight() + 5);
    form->FontView->SetTopItem(0);
    QTest::mouseDClick(form->FontView->viewport(), Qt::LeftButton, Qt::NoModifier, row);
    ASSERT_EQ(Opener.Opened.size(), 1u);
    EXPECT_EQ(Opener.Opened[0], form->FontView->Items().Fonts(1)->FileName);

    // A file gone since the listing: said, not opened.
    fs::remove(form->FontView->Items().Fonts(1)->FileName);
    form->FontViewDblClick();
    EXPECT_EQ(Opener.Opened.size(), 1u);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find(form->FontView->Items().Fonts(1)->FileName), std::string::npos);

    form->InstalledFonts1Click();
    ASSERT_GT(form->FontView->Items().Count(), 0);
    form->FontViewDblClick();
    ASSERT_EQ(Opener.Opened.size(), 2u);
    EXPECT_EQ(Opener.Opened[1], form->FontView->Items().Fonts(0)->FileName);

    Browser.Answers = {Fonts.MakeFolder("nothing")};
    form->FontsinFolder1Click();
    form->FontViewDblClick();  // no current item
    EXPECT_EQ(Opener.Opened.size(), 2u);
}

TEST_F(MainFormCommands, FindSearchesForwardFromTheCurrentFontByExactBytes)
{
    auto form = StartInFolder();
    const int sans = IndexOf(*form, "DejaVu Sans");
    const int bold = IndexOf(*form, "DejaVu Sans Bold");
    ASSERT_EQ(sans, 0);
    ASSERT_EQ(bold, 1);

    // The current font matches: it stays; Find Next goes on to the next match, then stops.
    Answers = {{1, "Sans"}};
    form->Find1Click();
    ASSERT_EQ(Prompts.size(), 1u);
    EXPECT_EQ(Prompts[0].Caption, "Find");
    EXPECT_EQ(Prompts[0].Prompt, "\n\nFind Text:");
    EXPECT_EQ(Prompts[0].Initial, "");
    EXPECT_EQ(form->FindText, "Sans");
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    form->FindNext1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 1);
    form->FindNext1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 1);

    // Letter case counts; the previous text is not offered again.
    form->FontView->SetItemIndex(0);
    Answers = {{1, "dejavu sans b"}, {1, "DejaVu Sans B"}};
    form->Find1Click();
    EXPECT_EQ(Prompts.at(1).Initial, "");
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    form->Find1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 1);

    // A match above the current font is never found.
    form->FontView->SetItemIndex(2);
    Answers = {{1, "DejaVu"}};
    form->Find1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 2);
    form->FindNext1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 2);

    // Cancel keeps everything, the search text included.
    form->FontView->SetItemIndex(0);
    Answers = {{2, "Bold"}};
    form->Find1Click();
    EXPECT_EQ(form->FindText, "DejaVu");
    EXPECT_EQ(form->FontView->ItemIndex(), 0);

    // An empty text keeps the current font and leaves Find Next idle.
    form->FontView->SetItemIndex(1);
    Answers = {{1, ""}};
    form->Find1Click();
    EXPECT_EQ(form->FindText, "");
    EXPECT_EQ(form->FontView->ItemIndex(), 1);
    form->FindNext1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 1);
}

TEST_F(MainFormCommands, FindSearchesOnlyWhatThePreviewShows)
{
    auto form = StartInFolder();
    Mark(*form, {2});
    form->Selected1Click();
    ASSERT_EQ(form->FontView->Items().Count(), 1);
    Answers = {{1, "DejaVu"}};
    form->Find1Click();
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    EXPECT_EQ(form->FontView->Items().Fonts(0)->FullName.find("DejaVu"), std::string::npos);

    // Without a current font nothing is asked.
    Browser.Answers = {Fonts.MakeFolder("none")};
    form->FontsinFolder1Click();
    const size_t asked = Prompts.size();
    form->Find1Click();
    EXPECT_EQ(Prompts.size(), asked);
}

}  // namespace

namespace {

TEST_F(MainFormCommands, TheStatusBarSitsAtTheBottomAndItsGripResizesTheWindow)
{
    {
        TMainForm unshown(Services, Settings.Path());
        auto* bar = Child<TBtnStatusBar>(unshown, "StatusBar1");
        EXPECT_EQ(bar->Items(), std::vector<std::string>{"=100 Fonts"});
        EXPECT_EQ(bar->HotColor(), unshown.palette().color(QPalette::WindowText));
    }
    auto form = Start();
    auto* bar = Child<TBtnStatusBar>(*form, "StatusBar1");
    EXPECT_EQ(bar->mapTo(form.get(), QPoint(bar->width() - 1, bar->height() - 1)),
              QPoint(form->width() - 1, form->height() - 1));
    EXPECT_TRUE(bar->GripShown());

    const QSize before = form->size();
    const QPoint grip(bar->width() - 6, bar->height() - 4);
    const QPoint start = bar->mapToGlobal(grip);
    const auto send = [bar](QEvent::Type type, const QPoint& global, Qt::MouseButton button,
                            Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(bar->mapFromGlobal(global)), QPointF(global), button,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(40, 30), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(40, 30), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->size(), before + QSize(40, 30));

    form->showMaximized();
    QApplication::processEvents();
    EXPECT_FALSE(bar->GripShown());
}

}  // namespace
