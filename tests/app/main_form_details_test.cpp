#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/main_form.h"
#include "controls/xp_controls.h"
#include "details/char_grid.h"
#include "details/char_table_form.h"
#include "details/font_info_form.h"
#include "details/glyph_edit.h"
#include "details/set_text_form.h"
#include "fonts/font_list.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/look_alike.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TFakeLocale;
using fonzeta::test::TScriptedDialogs;
using fonzeta::test::TTempFolder;

// The main window listing a folder with DejaVu Sans, its Bold, DejaVu Serif, Nanum Gothic and
// the look-alike (DejaVu Serif named "DejaVu Sans").
class MainFormDetails : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Services.Locale = &Locale;
        for (const char* file :
             {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf", "NanumGothic.ttf"})
            FontFolder.CopyFile(Sandbox::SystemFontFolder() + "/" + file, file);
        LookAlike = fonzeta::test::SerifNamedSans(FontFolder);
        WriteIni("[Option]\r\nViewMode=2\r\nPath=" + FontFolder.Path() +
                 "\r\n[History]\r\n1=First\r\n2=Second\r\n");
    }

    void WriteIni(const std::string& bytes)
    {
        std::ofstream(Settings / "fonzeta.ini", std::ios::binary) << bytes;
    }

    std::string ReadIni() const
    {
        std::ifstream in(Settings / "fonzeta.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = std::make_unique<TMainForm>(Services, Settings.Path());
        form->SetHelpFolder(Settings.Path());
        form->show();
        return form;
    }

    // Makes the record of `file` current.
    static void Select(TMainForm& form, const std::string& file)
    {
        TFontList& items = form.FontView->Items();
        for (int i = 0; i < items.Count(); ++i)
            if (items.Fonts(i)->FileName == file) {
                form.FontView->SetItemIndex(i);
                return;
            }
        FAIL() << file << " is not listed";
    }

    // Runs `command`; when it opens a modal window, `inspect` sees it before it is closed.
    // True when a modal window opened.
    static bool WithModal(const std::function<void()>& command,
                          const std::function<void(QWidget*)>& inspect)
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window)
                return;
            opened = true;
            inspect(window);
            window->close();
        });
        command();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return opened;
    }

    static QAction* MenuItem(QMenu* menu, const char* name)
    {
        for (QAction* item : menu->actions())
            if (item->objectName() == QLatin1String(name))
                return item;
        return nullptr;
    }

    static QString Text(QWidget* window, const char* name)
    {
        auto* label = window->findChild<QLabel*>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<missing>");
    }

    TTempFolder Settings;
    TTempFolder FontFolder;
    std::string LookAlike;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
    TFakeLocale Locale{0x0409, "."};
};

TEST_F(MainFormDetails, PropertiesOpenFromEveryCommandWithTheFilesMetricsAndTexts)
{
    auto form = Shown();
    Select(*form, FontFolder / "DejaVuSans.ttf");
    const auto bytes = std::filesystem::file_size(FontFolder / "DejaVuSans.ttf");
    const std::string digits = std::to_string(bytes);

    int opened = 0;
    const auto inspect = [&](QWidget* window) {
        ++opened;
        auto* info = qobject_cast<TfFontInfo*>(window);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->windowTitle(), "Properties");
        EXPECT_EQ(info->x(), form->x() + form->width() / 2 - info->width() / 2);
        EXPECT_EQ(info->y(), form->y() + form->height() / 2 - info->height() / 2);
        EXPECT_EQ(info->PageControl1->currentWidget(), info->General);
        EXPECT_TRUE(info->PageControl1->isTabVisible(0));
        EXPECT_EQ(Text(info, "FontTitle"), "DejaVu Sans");
        EXPECT_EQ(Text(info, "FullName"), "DejaVu Sans");
        EXPECT_EQ(Text(info, "FamilyName"), "DejaVu Sans");
        EXPECT_TRUE(Text(info, "Version").startsWith("Version 2."));
        EXPECT_TRUE(info->Copyright->toPlainText().contains("Bitstream"));
        EXPECT_EQ(Text(info, "FileName"), "DejaVuSans.ttf");
        EXPECT_EQ(Text(info, "Folder"), QString::fromStdString(FontFolder.Path()));
        // 757,076 bytes with the fake locale's "." between the groups.
        EXPECT_EQ(Text(info, "Size"),
                  QString::fromStdString(digits.substr(0, digits.size() - 3) + "." +
                                         digits.substr(digits.size() - 3) + " bytes"));
        EXPECT_EQ(Text(info, "lHeight"), "13 px");
        EXPECT_EQ(Text(info, "lAscent"), "8 px");
        EXPECT_EQ(Text(info, "lDescent"), "-3 px");
        EXPECT_EQ(Text(info, "lLineGap"), "2 px");
        EXPECT_EQ(Text(info, "lExtLeading"), "0 px");
        EXPECT_EQ(Text(info, "lIntLeading"), "2 px");
        EXPECT_EQ(Text(info, "lAvgCharWidth"), "6 px");
        EXPECT_EQ(Text(info, "lMaxCharWidth"), "21 px");
    };
    QMenu* fontMenu = form->findChild<QMenu*>("N1");
    QAction* properties = MenuItem(fontMenu, "Properties1");
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(WithModal([&] { properties->trigger(); }, inspect));
    EXPECT_TRUE(WithModal([&] { MenuItem(form->PopupMenu1, "R1")->trigger(); }, inspect));
    auto* button = form->findChild<QToolButton*>("tbProperties");
    ASSERT_TRUE(button->isEnabled());
    EXPECT_TRUE(WithModal([&] { button->click(); }, inspect));
    EXPECT_TRUE(WithModal([&] { QTest::keyClick(form->FontView, Qt::Key_F9); }, inspect));
    EXPECT_EQ(opened, 4);
    // Each window was freed when it closed.
    EXPECT_TRUE(form->findChildren<TfFontInfo*>().isEmpty());
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(MainFormDetails, EachRecordShowsItsOwnFilesWidths)
{
    auto form = Shown();
    const auto maxWidth = [&](const std::string& file) {
        Select(*form, file);
        QString width;
        WithModal([&] { form->Properties1Click(); },
                  [&](QWidget* window) { width = Text(window, "lMaxCharWidth"); });
        return width;
    };
    EXPECT_EQ(maxWidth(FontFolder / "DejaVuSans.ttf"), "21 px");
    EXPECT_EQ(maxWidth(FontFolder / "DejaVuSans-Bold.ttf"), "22 px");
    // Named "DejaVu Sans" like the first, but its own file's serif widths.
    EXPECT_EQ(maxWidth(LookAlike), "24 px");
}

TEST_F(MainFormDetails, ScreenFontsOpenOnMetricsWithTheFamilysValues)
{
    WriteIni("[Option]\r\nViewMode=0\r\n");
    auto form = Shown();
    TFontList& items = form->FontView->Items();
    int sans = -1;
    for (int i = 0; i < items.Count(); ++i)
        if (items.Fonts(i)->FullName == "DejaVu Sans")
            sans = i;
    ASSERT_GE(sans, 0);
    ASSERT_TRUE(items.Fonts(sans)->FileName.empty());
    form->FontView->SetItemIndex(sans);
    EXPECT_TRUE(WithModal([&] { form->Properties1Click(); }, [&](QWidget* window) {
        auto* info = qobject_cast<TfFontInfo*>(window);
        ASSERT_NE(info, nullptr);
        EXPECT_FALSE(info->PageControl1->isTabVisible(0));
        EXPECT_EQ(info->PageControl1->currentWidget(), info->Matrix);
        EXPECT_EQ(Text(info, "lHeight"), "13 px");
        EXPECT_EQ(Text(info, "lMaxCharWidth"), "21 px");
        EXPECT_EQ(Text(info, "lDescent"), "-3 px");
    }));
}

TEST_F(MainFormDetails, WithNoCurrentFontNothingOpens)
{
    TTempFolder empty;
    WriteIni("[Option]\r\nViewMode=2\r\nPath=" + empty.Path() + "\r\n");
    auto form = Shown();
    ASSERT_EQ(form->FontView->ItemIndex(), -1);
    const auto fail = [](QWidget* window) { ADD_FAILURE() << window->objectName().toStdString(); };
    EXPECT_FALSE(WithModal([&] { form->Properties1Click(); }, fail));
    EXPECT_FALSE(WithModal([&] { form->mCharTableClick(); }, fail));
    EXPECT_FALSE(WithModal([&] { QTest::keyClick(form->FontView, Qt::Key_F9); }, fail));
}

TEST_F(MainFormDetails, CharacterMapOpensFromEveryCommandAndCollectsCharacters)
{
    auto form = Shown();
    Select(*form, FontFolder / "DejaVuSans.ttf");
    QApplication::clipboard()->clear();
    int opened = 0;
    const auto inspect = [&](QWidget* window) {
        ++opened;
        auto* map = qobject_cast<TfCharTable*>(window);
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(map->windowTitle(), "Character Map -  DejaVu Sans");
        EXPECT_EQ(map->size(), QSize(430, 410));
        EXPECT_EQ(map->x(), form->x() + form->width() / 2 - map->width() / 2);
        EXPECT_EQ(Text(map, "Hex"), "0021");
        EXPECT_TRUE(map->eChars->Text().isEmpty());

        // Row 5, column 14: the no-break space.
        const QRect cell = map->sgTable->CellRect(14, 5);
        QTest::mouseClick(map->sgTable, Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(Text(map, "Hex"), "00A0");
        EXPECT_EQ(Text(map, "Decimal"), "160");
        QTest::keyClick(map->sgTable, Qt::Key_Return);
        QTest::keyClick(map->sgTable, Qt::Key_Right);
        EXPECT_EQ(Text(map, "Decimal"), "161");
        QTest::mouseDClick(map->sgTable, Qt::LeftButton, {}, cell.center());
        QTest::mouseClick(map->XPButton1, Qt::LeftButton);
        EXPECT_EQ(map->eChars->Text(), QString(3, QChar(0xA0)));
        QTest::mouseClick(map->XPButton2, Qt::LeftButton);
        EXPECT_EQ(QApplication::clipboard()->text(), QString(3, QChar(0xA0)));
    };
    QAction* menuItem = MenuItem(form->findChild<QMenu*>("N1"), "mCharTable");
    ASSERT_NE(menuItem, nullptr);
    EXPECT_TRUE(menuItem->isEnabled());
    EXPECT_EQ(menuItem->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    EXPECT_TRUE(WithModal([&] { menuItem->trigger(); }, inspect));
    EXPECT_TRUE(WithModal([&] { MenuItem(form->PopupMenu1, "mCharTable")->trigger(); }, inspect));
    EXPECT_TRUE(WithModal([&] { form->findChild<QToolButton*>("tbCharmap")->click(); }, inspect));
    EXPECT_EQ(opened, 3);
    EXPECT_TRUE(form->findChildren<TfCharTable*>().isEmpty());
}

TEST_F(MainFormDetails, SampleTextEditorRewritesHistoryAndRefillsTheBoxKeepingItsText)
{
    auto form = Shown();
    auto* box = form->findChild<QComboBox*>("cbString");
    ASSERT_EQ(box->count(), 2);
    box->setEditText(QStringLiteral("Typed sample"));
    const std::string sample = form->FontView->Text();
    ASSERT_EQ(sample, "Typed sample");

    // The line edit's own menu keeps its entries; ours comes last, below a separator.
    std::unique_ptr<QMenu> menu(form->CreateSampleTextMenu());
    const QList<QAction*> items = menu->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items.last()->objectName(), "SetText1");
    EXPECT_EQ(items.last()->text(), "Set Sample Text");
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    const auto has = [&](const char* start) {
        return std::any_of(items.begin(), items.end(),
                           [&](QAction* a) { return a->text().startsWith(start); });
    };
    EXPECT_TRUE(has("Cu&t"));
    EXPECT_TRUE(has("&Paste"));

    // Cancel changes nothing.
    const std::string before = ReadIni();
    EXPECT_TRUE(WithModal([&] { items.last()->trigger(); }, [&](QWidget* window) {
        auto* editor = qobject_cast<TfSetText*>(window);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->Memo1->toPlainText(), "First\nSecond");
        editor->Memo1->setPlainText(QStringLiteral("Changed"));
        editor->bCancel->click();
    }));
    EXPECT_EQ(ReadIni(), before);
    EXPECT_EQ(box->count(), 2);

    EXPECT_TRUE(WithModal([&] { form->SetText1Click(); }, [&](QWidget* window) {
        auto* editor = qobject_cast<TfSetText*>(window);
        ASSERT_NE(editor, nullptr);
        editor->Memo1->setPlainText(QStringLiteral("One\n\n  \nTwo = 2\n한글"));
        editor->bSave->click();
    }));
    const std::string ini = ReadIni();
    EXPECT_NE(ini.find("[History]\r\n1=One\r\n2=Two = 2\r\n3=한글\r\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("Second"), std::string::npos);
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(1), "Two = 2");
    EXPECT_EQ(box->itemText(2), "한글");
    EXPECT_EQ(box->currentText(), "Typed sample");
    EXPECT_EQ(form->FontView->Text(), sample);
}

}  // namespace
