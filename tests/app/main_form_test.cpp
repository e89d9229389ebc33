#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/about_form.h"
#include "app/color_swatch.h"
#include "app/main_form.h"
#include "app/string_table.h"
#include "controls/btn_status_bar.h"
#include "fonts/scan_window.h"
#include "platform/color_dialog.h"
#include "platform/document_opener.h"
#include "platform/font_table.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TScriptedDialogs;

class TRecordingOpener : public IDocumentOpener {
public:
    bool Open(const std::string& target) override
    {
        Opened.push_back(target);
        return true;
    }
    std::vector<std::string> Opened;
};

// Answers the colour picker from a queue: a colour for OK, nothing for Cancel.
class TScriptedColors : public IColorDialog {
public:
    bool ChooseColor(std::int32_t& color) override
    {
        Offered.push_back(color);
        if (Answers.empty())
            return false;
        const std::int32_t answer = Answers.front();
        Answers.pop_front();
        if (answer < 0)
            return false;
        color = answer;
        return true;
    }
    std::deque<std::int32_t> Answers;
    std::vector<std::int32_t> Offered;
};

class MainForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Services.Opener = &Opener;
        Services.ColorDialog = &Colors;
    }

    std::unique_ptr<TMainForm> Make()
    {
        auto form = std::make_unique<TMainForm>(Services, Dir.path().toStdString());
        form->SetHelpFolder(Dir.path().toStdString());
        return form;
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = Make();
        form->show();
        return form;
    }

    std::string IniPath() const { return Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(); }

    void WriteIni(const std::string& text) const
    {
        std::ofstream out(IniPath(), std::ios::binary);
        out << text;
    }

    std::string ReadIni() const
    {
        std::ifstream in(IniPath(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    template <typename T>
    static T* Child(QWidget& form, const char* name)
    {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static QAction* Item(QWidget& form, const char* name) { return Child<QAction>(form, name); }

    QTemporaryDir Dir;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
    TRecordingOpener Opener;
    TScriptedColors Colors;
};

TEST_F(MainForm, FirstRunComesUpWithTheDefaults)
{
    auto form = Make();
    EXPECT_EQ(form->size(), QSize(647, 529));
    EXPECT_EQ(form->minimumSize(), QSize(500, 400));
    EXPECT_EQ(form->windowTitle(), "Fonzeta 1.0");
    form->show();

    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(form->pos(), QPoint(100, 100));
    EXPECT_EQ(form->size(), QSize(550, 500));
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->windowTitle(), "Fonzeta 1.0 - Installed Fonts");
    EXPECT_EQ(form->FontView->FontSize(), 16);
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(0));
    EXPECT_EQ(form->FontView->Color(), 0xFFFFFF);
    EXPECT_EQ(form->FontView->FontColor(), 0);
    EXPECT_EQ(form->FontView->FontNameColor(), 0x008000);
    EXPECT_FALSE(form->FontView->AntiAlias());
    EXPECT_EQ(form->ViewContent, vcAll);
    EXPECT_EQ(form->FavoritesFile, Dir.filePath(QStringLiteral("installed.fav")).toStdString());

    EXPECT_EQ(Child<QComboBox>(*form, "cbFontSize")->currentText(), "16");
    EXPECT_EQ(Child<QComboBox>(*form, "cbString")->currentText(),
              QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 한글보기"));
    EXPECT_EQ(Child<QComboBox>(*form, "cbString")->count(), 0);
    for (const char* name : {"sbBold", "sbItalic", "sbUnderline", "tbFavorites", "tbSelected"})
        EXPECT_FALSE(Child<QToolButton>(*form, name)->isChecked()) << name;
    EXPECT_EQ(Child<TColorSwatch>(*form, "sBackColor")->BrushColor(), 0xFFFFFF);
    EXPECT_EQ(Child<TColorSwatch>(*form, "sForeColor")->BrushColor(), 0);
    EXPECT_TRUE(Child<QWidget>(*form, "pSelected")->isHidden());
    EXPECT_TRUE(Child<QWidget>(*form, "pFavorites")->isHidden());
    EXPECT_TRUE(Item(*form, "All1")->isChecked());
    // The status line counts the fonts listed at start-up.
    EXPECT_EQ(Child<TBtnStatusBar>(*form, "StatusBar1")->Items(),
              std::vector<std::string>{"Font Count=" + std::to_string(form->FontView->Items().Count())});
}

TEST_F(MainForm, ClosingSavesEveryKeyAndTheNextRunRestoresIt)
{
    WriteIni("[Window]\r\nMain=0,30,40,610,470\r\n[Option]\r\nLeft=1\r\n"
             "[Font]\r\nStyle=12\r\nSize=20\r\nAntiAlias=1\r\n"
             "[Color]\r\nBack=255\r\nFore=16711680\r\nName=255\r\n"
             "[History]\r\n1=first\r\n2=second\r\n");
    const std::string saved =
        "[Window]\r\nMain=0,30,40,610,470\r\n[Option]\r\nLeft=1\r\nViewMode=1\r\n"
        "[Font]\r\nStyle=12\r\nSize=20\r\nAntiAlias=1\r\n"
        "[Color]\r\nBack=255\r\nFore=16711680\r\nName=255\r\n"
        "[History]\r\n1=first\r\n2=second\r\n";
    {
        auto form = Shown();
        EXPECT_EQ(form->pos(), QPoint(30, 40));
        EXPECT_EQ(form->size(), QSize(610, 470));
        EXPECT_FALSE(Child<QWidget>(*form, "pSelected")->isHidden());
        EXPECT_TRUE(Child<QToolButton>(*form, "tbSelected")->isChecked());
        EXPECT_TRUE(Child<QWidget>(*form, "pFavorites")->isHidden());
        EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsItalic | fsUnderline));
        EXPECT_TRUE(Child<QToolButton>(*form, "sbUnderline")->isChecked());
        EXPECT_EQ(form->FontView->FontSize(), 20);
        EXPECT_TRUE(form->FontView->AntiAlias());
        EXPECT_TRUE(Item(*form, "Antialiasing1")->isChecked());
        EXPECT_EQ(form->FontView->Color(), 255);
        EXPECT_EQ(form->FontView->FontColor(), 16711680);
        EXPECT_EQ(form->FontView->FontNameColor(), 255);
        auto* box = Child<QComboBox>(*form, "cbString");
        ASSERT_EQ(box->count(), 2);
        EXPECT_EQ(box->itemText(1), "second");
        // The sample text is not kept: each start shows the design text.
        EXPECT_EQ(box->currentText(), QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 한글보기"));
        form->close();
    }
    EXPECT_EQ(ReadIni(), saved);
    {
        auto form = Shown();
        form->close();
    }
    EXPECT_EQ(ReadIni(), saved);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(MainForm, SavesTheLookChangedInTheWindow)
{
    {
        auto form = Shown();
        QTest::mouseClick(Child<QToolButton>(*form, "sbBold"), Qt::LeftButton);
        Colors.Answers = {0x00FF00, 0x123456};
        QTest::mouseClick(Child<TColorSwatch>(*form, "sForeColor"), Qt::LeftButton);
        QTest::mouseClick(Child<TColorSwatch>(*form, "sBackColor"), Qt::RightButton);
        Child<QComboBox>(*form, "cbFontSize")->setEditText("36");
        Item(*form, "Antialiasing1")->trigger();
        Item(*form, "Exit1")->trigger();
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(ReadIni(), "[Window]\r\nMain=0,100,100,550,500\r\n[Option]\r\nLeft=0\r\nViewMode=1\r\n"
                         "[Font]\r\nStyle=2\r\nSize=36\r\nAntiAlias=1\r\n"
                         "[Color]\r\nBack=1193046\r\nFore=65280\r\n");
}

TEST_F(MainForm, AMaximisedWindowSavesOneAndComesBackMaximised)
{
    {
        auto form = Shown();
        form->showMaximized();
        form->close();
    }
    EXPECT_EQ(ReadIni().rfind("[Window]\r\nMain=1,", 0), 0u) << ReadIni();
    auto form = Shown();
    EXPECT_TRUE(form->isMaximized());
    form->showNormal();
    // Restored, it has its design size.
    EXPECT_EQ(form->size(), QSize(647, 529));
}

TEST_F(MainForm, StyleSixRestoresBoldAndItalic)
{
    WriteIni("[Font]\r\nStyle=6\r\n");
    auto form = Shown();
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsBold | fsItalic));
    EXPECT_TRUE(Child<QToolButton>(*form, "sbBold")->isChecked());
    EXPECT_TRUE(Child<QToolButton>(*form, "sbItalic")->isChecked());
    EXPECT_FALSE(Child<QToolButton>(*form, "sbUnderline")->isChecked());
    EXPECT_TRUE(Item(*form, "Bold1")->isChecked());
    EXPECT_TRUE(Item(*form, "Italic1")->isChecked());
    EXPECT_FALSE(Item(*form, "Underline1")->isChecked());
}

TEST_F(MainForm, TheSizeBoxTakesNumbersAndPutsBackTheRest)
{
    auto form = Shown();
    auto* box = Child<QComboBox>(*form, "cbFontSize");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), "2");
    QTest::keyClicks(box->lineEdit(), "4");
    EXPECT_EQ(form->FontView->FontSize(), 24);

    QTest::keyClicks(box->lineEdit(), "x");
    EXPECT_EQ(box->currentText(), "24");
    EXPECT_EQ(form->FontView->FontSize(), 24);

    // Sizes the preview cannot show are left in the box but not taken.
    box->setEditText("3");
    EXPECT_EQ(box->currentText(), "3");
    EXPECT_EQ(form->FontView->FontSize(), 24);
    box->setEditText("101");
    EXPECT_EQ(form->FontView->FontSize(), 24);
    box->setEditText("");
    EXPECT_EQ(form->FontView->FontSize(), 24);

    box->setCurrentIndex(box->findText("72"));
    EXPECT_EQ(form->FontView->FontSize(), 72);
    QStringList sizes;
    for (int i = 0; i < box->count(); ++i)
        sizes << box->itemText(i);
    EXPECT_EQ(sizes.join(','), "8,9,10,11,12,14,16,18,20,24,30,36,48,60,72,80");
}

TEST_F(MainForm, AStoredSizeOutOfRangeKeepsSixteen)
{
    WriteIni("[Font]\r\nSize=200\r\n");
    auto form = Shown();
    EXPECT_EQ(form->FontView->FontSize(), 16);
    EXPECT_EQ(Child<QComboBox>(*form, "cbFontSize")->currentText(), "16");
}

TEST_F(MainForm, TypingTheSampleTextChangesItButAddsNothingToTheList)
{
    auto form = Shown();
    auto* box = Child<QComboBox>(*form, "cbString");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), "Hello");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->FontView->Text(), "Hello");
    EXPECT_EQ(box->count(), 0);
}

TEST_F(MainForm, ADamagedWindowValueGivesOneMessageAndTheOtherKeysStillLoad)
{
    WriteIni("[Window]\r\nMain=0,abc,100\r\n[Option]\r\nLeft=2\r\n[Font]\r\nSize=30\r\n"
             "[Color]\r\nBack=255\r\n");
    auto form = Shown();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("0,abc,100"), std::string::npos);
    EXPECT_EQ(form->size(), QSize(550, 500));
    EXPECT_EQ(form->pos(), QPoint(100, 100));
    EXPECT_EQ(form->FontView->FontSize(), 30);
    EXPECT_EQ(form->FontView->Color(), 255);
    EXPECT_FALSE(Child<QWidget>(*form, "pFavorites")->isHidden());
    EXPECT_TRUE(Child<QToolButton>(*form, "tbFavorites")->isChecked());
    form->close();
    // The next save writes a sound value again.
    EXPECT_NE(ReadIni().find("Main=0,100,100,550,500\r\n"), std::string::npos);
}

TEST_F(MainForm, AFailedSaveKeepsTheOldFileAndSaysSo)
{
    const std::string blocker = Dir.filePath(QStringLiteral("blocked")).toStdString();
    std::ofstream(blocker) << "x";
    {
        TMainForm form(Services, blocker);
        form.show();
        form.close();
    }
    // The favourites cannot be read from there either, which is said when they load.
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_NE(Dialogs.Shown[0].Text.find(blocker + "/installed.fav"), std::string::npos);
    EXPECT_NE(Dialogs.Shown[1].Text.find("The settings could not be saved."), std::string::npos);
}

TEST_F(MainForm, MenuShortcutsAndEnabledStates)
{
    auto form = Make();
    struct TExpected {
        const char* Name;
        const char* Caption;
        const char* Shortcut;
        bool Enabled;
    };
    const TExpected items[] = {
        {"InstallFont1", "&Install Font", "Alt+I", false},
        {"UninstallFont1", "&Uninstall Font", "Alt+U", false},
        {"mCharTable", "&Charmap", "Alt+C", true},
        {"Properties1", "P&roperties", "Alt+Return", true},
        {"Print1", "&Print", "Ctrl+P", true},
        {"Exit1", "E&xit", "Alt+X", true},
        {"SelectAll1", "Select &All", "Ctrl+A", true},
        {"InvertSelection1", "&Invert Selection", "Ctrl+Shift+I", true},
        {"Find1", "&Find", "Ctrl+F", true},
        {"FindNext1", "Find Ne&xt", "F3", true},
        {"NextSelected1", "&Next Selected", "Ctrl+N", true},
        {"ScreenFonts1", "&Screen Fonts", "Alt+1", true},
        {"InstalledFonts1", "Insta&lled Fonts", "Alt+2", true},
        {"FontsinFolder1", "Fonts in &Folder...", "Alt+3", true},
        {"All1", "&All Fonts", "Alt+A", true},
        {"Selected1", "Sele&cted Fonts", "Alt+S", true},
        {"Antialiasing1", "An&tialiasing", "Ctrl+T", true},
        {"Bold1", "&Bold", "Ctrl+B", true},
        {"Italic1", "&Italic", "Ctrl+I", true},
        {"Underline1", "&Underline", "Ctrl+U", true},
        {"Refresh1", "&Refresh", "F5", true},
        {"AddFavorites1", "Add to Favorites", "", false},
        {"Contents1", "Contents", "F1", true},
        {"Shortcut1", "Shortcut", "", true},
        {"About1", "&About...", "", true},
    };
    for (const auto& expected : items) {
        QAction* item = Item(*form, expected.Name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), expected.Caption) << expected.Name;
        EXPECT_EQ(item->shortcut().toString(), expected.Shortcut) << expected.Name;
        EXPECT_EQ(item->isEnabled(), expected.Enabled) << expected.Name;
        EXPECT_TRUE(item->isVisible()) << expected.Name;
    }
    for (const char* hidden : {"ExportasBitmap1", "PrintSetup1", "PrintPreview1", "DropShadow1"})
        EXPECT_FALSE(Item(*form, hidden)->isVisible()) << hidden;
    for (const char* radio : {"ScreenFonts1", "InstalledFonts1", "FontsinFolder1", "All1", "Selected1"}) {
        ASSERT_NE(Item(*form, radio)->actionGroup(), nullptr) << radio;
        EXPECT_TRUE(Item(*form, radio)->actionGroup()->isExclusive()) << radio;
    }
    EXPECT_NE(Item(*form, "All1")->actionGroup(), Item(*form, "ScreenFonts1")->actionGroup());

    QStringList bar;
    for (QAction* menu : form->menuBar()->actions())
        bar << menu->text();
    EXPECT_EQ(bar.join('|'), "&Font|&Edit|&View|F&avorites|&Help");
}

TEST_F(MainForm, StyleTogglesStayInStepBetweenMenuAndButtons)
{
    auto form = Shown();
    auto* bold = Child<QToolButton>(*form, "sbBold");
    auto* underline = Child<QToolButton>(*form, "sbUnderline");

    QTest::mouseClick(bold, Qt::LeftButton);
    EXPECT_TRUE(Item(*form, "Bold1")->isChecked());
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsBold));

    Item(*form, "Underline1")->trigger();
    EXPECT_TRUE(underline->isChecked());
    EXPECT_TRUE(Item(*form, "Underline1")->isChecked());
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsBold | fsUnderline));

    Item(*form, "Bold1")->trigger();
    EXPECT_FALSE(bold->isChecked());
    EXPECT_FALSE(Item(*form, "Bold1")->isChecked());
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsUnderline));

    QTest::mouseClick(underline, Qt::LeftButton);
    EXPECT_FALSE(Item(*form, "Underline1")->isChecked());
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(0));

    // The menu's keys work from anywhere in the window.
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(Child<QToolButton>(*form, "sbItalic")->isChecked());
    EXPECT_EQ(form->FontView->FontStyle().toInt(), int(fsItalic));
    QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(form->FontView->AntiAlias());
    EXPECT_TRUE(Item(*form, "Antialiasing1")->isChecked());
}

TEST_F(MainForm, ColourSwatchesOpenThePickerAndCancelChangesNothing)
{
    WriteIni("[Color]\r\nBack=4660\r\nFore=255\r\n");
    auto form = Shown();
    auto* back = Child<TColorSwatch>(*form, "sBackColor");
    auto* fore = Child<TColorSwatch>(*form, "sForeColor");

    Colors.Answers = {-1};
    QTest::mouseClick(back, Qt::LeftButton);
    ASSERT_EQ(Colors.Offered.size(), 1u);
    EXPECT_EQ(Colors.Offered[0], 4660);
    EXPECT_EQ(form->FontView->Color(), 4660);
    EXPECT_EQ(back->BrushColor(), 4660);

    Colors.Answers = {0x00FFFF};
    QTest::mouseClick(fore, Qt::MiddleButton);
    EXPECT_EQ(Colors.Offered.back(), 255);
    EXPECT_EQ(form->FontView->FontColor(), 0x00FFFF);
    EXPECT_EQ(form->FontView->Color(), 4660);
    EXPECT_EQ(fore->BrushColor(), 0x00FFFF);
    // The swatch shows the colour (0x00BBGGRR: yellow).
    const QImage image = fore->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(255, 255, 0));
}

TEST_F(MainForm, SystemColoursAreShownResolvedAndKeptAsTheyAre)
{
    WriteIni(FormatStr("[Color]\r\nBack=%d\r\nFore=%d\r\n", clWindow, clWindowText));
    {
        auto form = Shown();
        EXPECT_EQ(form->FontView->Color(), clWindow);
        EXPECT_EQ(Child<TColorSwatch>(*form, "sBackColor")->BrushColor(), ColorToRGB(clWindow));
        EXPECT_EQ(Child<TColorSwatch>(*form, "sForeColor")->BrushColor(), ColorToRGB(clWindowText));
        // The picker is offered the colour itself, not a system colour's number.
        QTest::mouseClick(Child<TColorSwatch>(*form, "sBackColor"), Qt::LeftButton);
        ASSERT_EQ(Colors.Offered.size(), 1u);
        EXPECT_EQ(Colors.Offered[0], ColorToRGB(clWindow));
        form->close();
    }
    EXPECT_NE(ReadIni().find(FormatStr("Back=%d\r\nFore=%d\r\n", clWindow, clWindowText)),
              std::string::npos);
}

TEST_F(MainForm, EscapeMinimisesFromAnyControl)
{
    auto form = Shown();
    QTest::keyClick(Child<QComboBox>(*form, "cbString")->lineEdit(), Qt::Key_Escape);
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
    form->showNormal();
    QTest::keyClick(Child<QComboBox>(*form, "cbFontSize"), Qt::Key_A);
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
}

TEST_F(MainForm, CaptionNamesTheSource)
{
    EXPECT_EQ(TMainForm::CaptionFor(flmFolder, "/home/me/My Fonts"),
              "Fonzeta 1.0 - Fonts in folder (/home/me/My Fonts)");
    const struct {
        int Mode;
        const char* Caption;
    } modes[] = {{0, "Fonzeta 1.0 - Screen Fonts"},
                 {1, "Fonzeta 1.0 - Installed Fonts"},
                 {3, "Fonzeta 1.0"}};
    for (const auto& mode : modes) {
        WriteIni(FormatStr("[Option]\r\nViewMode=%d\r\nPath=/ignored\r\n", mode.Mode));
        auto form = Shown();
        EXPECT_EQ(form->windowTitle(), mode.Caption);
        EXPECT_EQ(form->SourceList->Mode(), mode.Mode);
    }
}

TEST_F(MainForm, AFolderSourceIsScannedWithTheScanWindowAndGivenBackAtTheEnd)
{
    namespace fs = std::filesystem;
    const std::string folder = Dir.filePath(QStringLiteral("My Fonts")).toStdString();
    fs::create_directories(folder + "/sub");
    fs::copy_file(Sandbox::DejaVuSans(), folder + "/sans.ttf");
    fs::copy_file(Sandbox::DejaVuSansBold(), folder + "/sub/BOLD.TTF");
    fs::copy_file(Sandbox::NanumGothic(), folder + "/sub/nanum.ttf");
    fs::copy_file(Sandbox::DejaVuSerif(), folder + "/serif.otf");
    WriteIni("[Option]\r\nViewMode=2\r\nPath=" + folder + "\r\n");

    auto form = Make();
    TfScan scan;
    form->SetScanWindow(&scan);
    // Runs inside the scan, when the first font found lets events through.
    bool during = false;
    bool enabledDuring = true;
    bool scanShownDuring = false;
    int totalDuring = -1;
    QTimer::singleShot(0, [&] {
        during = true;
        enabledDuring = form->isEnabled();
        scanShownDuring = scan.isVisible();
        totalDuring = scan.Total();
    });
    form->show();

    ASSERT_TRUE(during);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(scanShownDuring);
    EXPECT_EQ(totalDuring, 4);
    EXPECT_EQ(scan.Counted(), 4);
    EXPECT_FALSE(scan.isVisible());
    EXPECT_TRUE(form->isEnabled());
    ASSERT_EQ(form->SourceList->Count(), 4);
    EXPECT_EQ(form->SourceList->Fonts(0)->FullName, "DejaVu Sans");
    EXPECT_EQ(form->windowTitle().toStdString(), "Fonzeta 1.0 - Fonts in folder (" + folder + ")");
    // Folder fonts are registered only when something draws them by family.
    EXPECT_FALSE(Services.FontTable->IsRegistered(folder + "/sans.ttf"));
    EXPECT_TRUE(form->SourceList->EnsureRegistered(0));
    EXPECT_TRUE(Services.FontTable->IsRegistered(folder + "/sans.ttf"));

    form->close();
    EXPECT_NE(ReadIni().find("ViewMode=2\r\nPath=" + folder + "\r\n"), std::string::npos);
    form.reset();
    // Destroying the window gives the folder fonts back.
    EXPECT_FALSE(Services.FontTable->IsRegistered(folder + "/sans.ttf"));
    EXPECT_FALSE(Services.FontTable->IsRegistered(folder + "/sub/nanum.ttf"));
}

TEST_F(MainForm, InstalledFontsAreCountedFromTheInstalledFiles)
{
    auto form = Make();
    TfScan scan;
    form->SetScanWindow(&scan);
    form->show();
    EXPECT_EQ(form->SourceList->Mode(), flmInstalled);
    EXPECT_GT(form->SourceList->Count(), 0);
    EXPECT_EQ(scan.Total(), static_cast<int>(form->SourceList->InstalledFiles().size()));
    EXPECT_EQ(scan.Counted(), form->SourceList->Count());
    EXPECT_FALSE(scan.isVisible());
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(MainForm, ScreenFontsNeedNoScanWindow)
{
    WriteIni("[Option]\r\nViewMode=0\r\n");
    auto form = Make();
    TfScan scan;
    form->SetScanWindow(&scan);
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = scan.isVisible(); });
    form->show();
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(scan.Total(), 0);
    EXPECT_GT(form->SourceList->Count(), 0);
}

TEST_F(MainForm, LayoutRowsAndTheSampleBoxWidth)
{
    auto form = Shown();
    auto* toolbarRow = Child<QWidget>(*form, "ToolbarRow");
    auto* textRow = Child<QWidget>(*form, "TextRow");
    auto* props = Child<QWidget>(*form, "pFontProp");
    auto* box = Child<QComboBox>(*form, "cbString");
    auto* label = Child<QLabel>(*form, "Label2");
    EXPECT_EQ(toolbarRow->height(), 28);
    EXPECT_EQ(textRow->height(), 23);
    EXPECT_EQ(label->text(), "&Text :");
    for (int width : {550, 800, 500}) {
        form->resize(width, 500);
        QApplication::processEvents();
        EXPECT_EQ(props->geometry().right() + 1, textRow->width()) << width;
        EXPECT_EQ(box->width(), textRow->width() - props->width() - label->width() - 20) << width;
        EXPECT_LT(box->geometry().right(), props->x()) << width;
    }
    for (const char* name : {"sForeColor", "sBackColor", "sbBold", "sbItalic", "sbUnderline", "cbFontSize"})
        EXPECT_EQ(Child<QWidget>(*form, name)->parentWidget(), props) << name;
    EXPECT_EQ(Child<QWidget>(*form, "sForeColor")->toolTip(), "Font Color");
    EXPECT_EQ(Child<QWidget>(*form, "sBackColor")->toolTip(), "Background Color");
    EXPECT_EQ(Child<QToolButton>(*form, "tbPrint")->toolTip(), "Print");
    EXPECT_EQ(Child<QToolButton>(*form, "tbFavorites")->text(), "Favorites");
    EXPECT_EQ(Child<QToolButton>(*form, "tbSelected")->text(), "Selected");
    auto* status = Child<QWidget>(*form, "StatusBar1");
    EXPECT_EQ(status->mapTo(form.get(), QPoint(0, status->height() - 1)).y(), form->height() - 1);
    EXPECT_TRUE(Child<QToolButton>(*form, "tbPrint")->isEnabled());
    // Our pictures are compiled in and found.
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());
    for (const char* name : {"tbPrint", "tbFavorites", "tbSelected", "tbCharmap", "tbProperties", "tbView"})
        EXPECT_FALSE(Child<QToolButton>(*form, name)->icon().pixmap(22, 22).isNull()) << name;
    EXPECT_EQ(Child<QToolButton>(*form, "tbFavorites")->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
}

TEST_F(MainForm, SeparatorLinesAreShadesOfTheButtonFace)
{
    auto form = Shown();
    const QColor face = form->palette().color(QPalette::Button);
    const QImage image = form->grab().toImage();
    const struct {
        const char* Name;
        double K;
    } lines[] = {{"Shape1", 0.12}, {"Shape2", 0.04}, {"Shape3", 0.12}, {"Shape4", 0.06},
                 {"Shape5", 0.03}, {"Shape6", 0.12}, {"Shape7", 0.06}, {"Shape8", 0.03}};
    for (const auto& line : lines) {
        auto* shape = Child<QWidget>(*form, line.Name);
        EXPECT_EQ(shape->height(), 1);
        const QPoint at = shape->mapTo(form.get(), QPoint(shape->width() / 2, 0));
        const auto shade = [&](int c) { return static_cast<int>(c - c * line.K); };
        EXPECT_EQ(image.pixelColor(at), QColor(shade(face.red()), shade(face.green()), shade(face.blue())))
            << line.Name;
    }
}

TEST_F(MainForm, HelpOpensTheDocumentsBesideTheProgram)
{
    std::ofstream(Dir.filePath(QStringLiteral("help.html")).toStdString()) << "<html></html>";
    auto form = Shown();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    ASSERT_EQ(Opener.Opened.size(), 1u);
    EXPECT_EQ(Opener.Opened[0], Dir.filePath(QStringLiteral("help.html")).toStdString());
    EXPECT_TRUE(Dialogs.Shown.empty());

    // A missing document is reported rather than silently ignored.
    Item(*form, "Shortcut1")->trigger();
    EXPECT_EQ(Opener.Opened.size(), 1u);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("shortcut.html"), std::string::npos);
}

TEST_F(MainForm, TheHelpDocumentsAreBuiltBesideTheProgram)
{
    // The build copies them next to the executable (the test program sits one folder below).
    const QString build = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    for (const char* name : {"help.html", "shortcut.html"}) {
        QFile file(build + '/' + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(file.readAll().contains("Fonzeta 1.0")) << name;
    }
}

TEST_F(MainForm, AboutBoxShowsItsTextsAndOpensItsLinks)
{
    auto form = Shown();
    QStringList texts;
    QPoint aboutPos;
    QSize aboutSize;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TfAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        aboutPos = about->pos();
        aboutSize = about->size();
        for (QLabel* label : about->findChildren<QLabel*>())
            texts << label->text();
        QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("lMail")), Qt::LeftButton);
        QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("lHomePage")), Qt::LeftButton);
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("bOK"));
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Item(*form, "About1")->trigger();

    EXPECT_TRUE(texts.contains("Windows Font Manager"));
    EXPECT_TRUE(texts.contains("Fonzeta 1.0"));
    EXPECT_TRUE(texts.contains("Update : 2002. 07. 29"));
    EXPECT_TRUE(texts.contains(TfAbout::Mail));
    EXPECT_TRUE(texts.contains(TfAbout::HomePage));
    EXPECT_EQ(Opener.Opened,
              (std::vector<std::string>{"mailto:fonzeta@example.org", "https://fonzeta.example.org"}));
    EXPECT_EQ(aboutPos, QPoint(form->x() + form->width() / 2 - aboutSize.width() / 2,
                               form->y() + form->height() / 2 - aboutSize.height() / 2));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainForm, AboutBoxHasItsWhiteBandBlueLinksAndClosesOnEscape)
{
    TfAbout about(&Opener);
    about.show();
    const QImage image = about.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(4, image.height() - 4), QColor(Qt::white));
    for (const char* name : {"lMail", "lHomePage"}) {
        auto* link = about.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue)) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(Opener.Opened.empty());
}

}  // namespace
