#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/main_form.h"
#include "fileops/del_warning_form.h"
#include "fileops/edit_form.h"
#include "platform/fontconfig_store.h"
#include "platform/qt_font_table.h"
#include "platform/xdg_trash.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/fileops_fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Answers the delete confirmation with one of its buttons, or with Esc.
void AnswerWarning(const char* button)
{
    QTimer::singleShot(0, [button] {
        auto* warning = qobject_cast<TfDelWarning*>(QApplication::activeModalWidget());
        if (!warning)
            return;
        if (button)
            QTest::mouseClick(warning->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
        else
            QTest::keyClick(warning, Qt::Key_Escape);
    });
}

class MainFormFileOps : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(Sandbox::TrashFolder());
        for (const auto& name : Listing(Sandbox::UserFontFolder()))
            fs::remove_all(Sandbox::UserFontFolder() + "/" + name);
        Store.RescanFolder(Sandbox::UserFontFolder());
        Services.FontTable = &Table;
        Services.FontChange = &Change;
        Services.InstalledFonts = &Counting;
        Services.Trash = &Trash;
        Services.Dialogs = &Dialogs;
        Services.Locale = &Locale;
        Services.FreeSpace = &Space;
        Form = std::make_unique<TMainForm>(Services, Settings.Path());
        Form->show();
        Change.Count = 0;
        Counting.Rescans.clear();
    }

    void List(TFontListMode mode, const std::string& folder = std::string())
    {
        Form->SourceList->SetMode(mode);
        Form->SourceList->SetFolder(folder);
        Form->SourceList->Refresh();
        // A listing registers nothing until something draws by family; register every font
        // as a print job would, so that giving registrations back is checked too.
        for (int i = 0; i < Form->SourceList->Count(); ++i)
            Form->SourceList->EnsureRegistered(i);
        Form->FontView->Items().Assign(*Form->SourceList);
        Change.Count = 0;
    }

    int IndexOf(const TFontList& list, const std::string& file) const
    {
        for (int i = 0; i < list.Count(); ++i)
            if (list.Fonts(i)->FileName == file)
                return i;
        return -1;
    }

    // Registers every listed file, as drawing them does.
    void Register()
    {
        for (int i = 0; i < Form->SourceList->Count(); ++i)
            Form->SourceList->EnsureRegistered(i);
    }

    void Select(const std::string& file)
    {
        TFontList& items = Form->FontView->Items();
        ASSERT_GE(IndexOf(items, file), 0) << file;
        items.Fonts(IndexOf(items, file))->Selected = true;
    }

    TTempFolder Settings;
    TTempFolder Fonts;
    TQtFontTable Table;
    TFakeFontChange Change;
    TFontconfigStore Store;
    TCountingStore Counting{Store};
    TXdgTrash Trash;
    TScriptedDialogs Dialogs;
    TFakeLocale Locale;
    TFakeFreeSpace Space;
    TPlatform Services;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormFileOps, InstallCopiesTheMarkedFontsAndMakesThemKnownOnce)
{
    const std::string sans = Fonts.CopyFile(Sandbox::DejaVuSans(), "DejaVuSans.ttf");
    const std::string bold = Fonts.CopyFile(Sandbox::DejaVuSansBold(), "DejaVuSans-Bold.ttf");
    const std::string serif = Fonts.CopyFile(Sandbox::DejaVuSerif(), "DejaVuSerif.ttf");
    List(flmFolder, Fonts.Path());
    ASSERT_EQ(Form->FontView->Items().Count(), 3);
    Select(serif);
    Select(sans);
    Form->FontView->SetItemIndex(IndexOf(Form->FontView->Items(), bold));
    Form->findChild<QAction*>(QStringLiteral("InstallFont1"))->trigger();

    const std::string user = Sandbox::UserFontFolder();
    EXPECT_EQ(Listing(user), (std::vector<std::string>{"DejaVuSans.ttf", "DejaVuSerif.ttf"}));
    const auto installed = Store.InstalledFiles();
    EXPECT_TRUE(Contains(installed, user + "/DejaVuSans.ttf"));
    EXPECT_TRUE(Contains(installed, user + "/DejaVuSerif.ttf"));
    EXPECT_FALSE(Contains(installed, user + "/DejaVuSans-Bold.ttf"));
    EXPECT_EQ(Counting.Rescans, (std::vector<std::string>{user}));
    EXPECT_EQ(Change.Count, 1);
    EXPECT_TRUE(Dialogs.Shown.empty());
    // The listing is as it was, marks included.
    EXPECT_EQ(Form->FontView->Items().Count(), 3);
    EXPECT_TRUE(Form->FontView->Items().Fonts(IndexOf(Form->FontView->Items(), sans))->Selected);
    EXPECT_TRUE(Form->isEnabled());
}

TEST_F(MainFormFileOps, CommandsIgnoreAListingTheyDoNotServe)
{
    List(flmInstalled);
    ASSERT_GT(Form->FontView->Items().Count(), 0);
    const int count = Form->FontView->Items().Count();
    // The shortcut of a menu entry computed for another listing.
    Form->InstallFont1Click();
    AnswerWarning("YesBtn");
    Form->UninstallFont1Click(1);
    EXPECT_TRUE(Listing(Sandbox::UserFontFolder()).empty());
    EXPECT_EQ(Change.Count, 0);
    EXPECT_EQ(Form->FontView->Items().Count(), count);
    EXPECT_FALSE(fs::exists(Sandbox::TrashFolder() + "/files"));
    QCoreApplication::processEvents();
}

TEST_F(MainFormFileOps, UninstallMovesUserFontsAndLeavesSystemFontsAlone)
{
    const std::string user = Sandbox::UserFontFolder();
    fs::copy_file(Sandbox::DejaVuSansBold(), user + "/Mine-Bold.ttf");
    fs::copy_file(Sandbox::DejaVuSerif(), user + "/Mine-Serif.ttf");
    Store.RescanFolder(user);
    List(flmInstalled);
    const TFontList& items = Form->FontView->Items();
    const int before = items.Count();
    Select(user + "/Mine-Bold.ttf");
    Select(Sandbox::DejaVuSans());
    AnswerWarning("YesBtn");
    Form->findChild<QAction*>(QStringLiteral("UninstallFont1"))->trigger();

    // The system's font survives, even for root, with one message saying why.
    EXPECT_EQ(Bytes(Sandbox::DejaVuSans()), Bytes("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("installed for all users by the system and cannot be "
                                         "uninstalled here"), std::string::npos);
    EXPECT_GE(IndexOf(items, Sandbox::DejaVuSans()), 0);
    // The user's font is in the trash, forgotten by fontconfig, out of both lists.
    EXPECT_EQ(Listing(user), (std::vector<std::string>{"Mine-Serif.ttf"}));
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/Mine-Bold.ttf"), Bytes(Sandbox::DejaVuSansBold()));
    EXPECT_FALSE(Contains(Store.InstalledFiles(), user + "/Mine-Bold.ttf"));
    EXPECT_TRUE(Contains(Store.InstalledFiles(), user + "/Mine-Serif.ttf"));
    EXPECT_EQ(items.Count(), before - 1);
    EXPECT_EQ(IndexOf(items, user + "/Mine-Bold.ttf"), -1);
    EXPECT_EQ(IndexOf(*Form->SourceList, user + "/Mine-Bold.ttf"), -1);
    EXPECT_EQ(Counting.Rescans, (std::vector<std::string>{user}));
    EXPECT_EQ(Change.Count, 1);
}

TEST_F(MainFormFileOps, AnythingButYesChangesNothing)
{
    const std::string font = Fonts.CopyFile(Sandbox::DejaVuSans(), "keep.ttf");
    List(flmFolder, Fonts.Path());
    Register();
    Form->FontView->SetItemIndex(0);
    for (const char* answer : {"NoBtn", static_cast<const char*>(nullptr)}) {
        AnswerWarning(answer);
        Form->UninstallFont1Click(1);
        EXPECT_TRUE(fs::exists(font));
        EXPECT_EQ(Form->FontView->Items().Count(), 1);
        EXPECT_EQ(Change.Count, 0);
        EXPECT_TRUE(Table.IsRegistered(font));
    }
}

TEST_F(MainFormFileOps, DeleteTrashesFolderFontsWithoutTouchingFontconfig)
{
    const std::string one = Fonts.CopyFile(Sandbox::DejaVuSans(), "one.ttf");
    const std::string two = Fonts.CopyFile(Sandbox::DejaVuSerif(), "two.ttf");
    List(flmFolder, Fonts.Path());
    Register();
    ASSERT_TRUE(Table.IsRegistered(one));
    Form->FontView->SetItemIndex(IndexOf(Form->FontView->Items(), one));
    AnswerWarning("YesBtn");
    Form->UninstallFont1Click(1);

    EXPECT_FALSE(fs::exists(one));
    EXPECT_TRUE(fs::exists(two));
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/one.ttf"), Bytes(Sandbox::DejaVuSans()));
    EXPECT_FALSE(Table.IsRegistered(one));
    EXPECT_TRUE(Table.IsRegistered(two));
    EXPECT_EQ(Form->FontView->Items().Count(), 1);
    EXPECT_EQ(Form->SourceList->Count(), 1);
    EXPECT_TRUE(Counting.Rescans.empty());
    EXPECT_EQ(Change.Count, 1);
}

TEST_F(MainFormFileOps, PopupMenuOffersTheCommandsOfTheListing)
{
    const auto visible = [this](const char* name) {
        return Form->PopupMenu1->findChild<QAction*>(QString::fromLatin1(name))->isVisible();
    };
    Fonts.CopyFile(Sandbox::DejaVuSans(), "one.ttf");
    List(flmFolder, Fonts.Path());
    Form->PopupMenu1Popup();
    EXPECT_TRUE(visible("InstallFonts1"));
    EXPECT_FALSE(visible("Uninstall1"));
    EXPECT_TRUE(visible("DeleteFonts1"));
    EXPECT_TRUE(visible("Edit2"));
    EXPECT_TRUE(Form->findChild<QAction*>(QStringLiteral("InstallFont1"))->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction*>(QStringLiteral("UninstallFont1"))->isEnabled());
    List(flmInstalled);
    Form->PopupMenu1Popup();
    EXPECT_FALSE(visible("InstallFonts1"));
    EXPECT_TRUE(visible("Uninstall1"));
    EXPECT_FALSE(visible("DeleteFonts1"));
    EXPECT_TRUE(Form->findChild<QAction*>(QStringLiteral("UninstallFont1"))->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction*>(QStringLiteral("InstallFont1"))->isEnabled());
}

TEST_F(MainFormFileOps, EditWindowWritesInTheExactFaceOfTheFile)
{
    const std::string bold = Fonts.CopyFile(Sandbox::DejaVuSansBold(), "bold.ttf");
    List(flmFolder, Fonts.Path());
    Form->FontView->SetFontSize(24);
    Form->FontView->SetColor(0x00FFFF);      // yellow, as 0x00BBGGRR
    Form->FontView->SetFontColor(0x800000);  // navy
    Form->FontView->SetItemIndex(0);
    QImage shot;
    QString typed;
    QTimer::singleShot(0, [&] {
        auto* edit = qobject_cast<TfEdit*>(QApplication::activeModalWidget());
        if (!edit)
            return;
        QTest::keyClicks(edit->Memo(), QStringLiteral("Hi"));
        QTest::keyClick(edit->Memo(), Qt::Key_Return);
        QTest::keyClicks(edit->Memo(), QStringLiteral("Ho"));
        typed = edit->Memo()->Text();
        EXPECT_TRUE(edit->Memo()->Face().IsExact());
        EXPECT_EQ(edit->Memo()->Face().RawFont().styleName(), "Bold");
        EXPECT_NEAR(edit->Memo()->Face().PixelSize(), 24 * 96 / 72.0, 1.0);
        shot = edit->Memo()->viewport()->grab().toImage();
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    Form->findChild<QAction*>(QStringLiteral("Edit2"))->trigger();
    EXPECT_EQ(typed, "Hi\nHo");
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 2, shot.height() - 2)), QColor(0xFF, 0xFF, 0x00));
    int navy = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            navy += QColor(shot.pixel(x, y)) == QColor(0x00, 0x00, 0x80);
    EXPECT_GT(navy, 40);

    // With no current item the command does nothing.
    Form->FontView->Items().Clear();
    Form->Edit2Click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    (void)bold;
}

}  // namespace
