#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include "fonts/font_list.h"
#include "fonts/font_walk.h"
#include "platform/fontconfig_notifier.h"
#include "platform/fontconfig_store.h"
#include "platform/qt_font_table.h"
#include "support/fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/ttf_builder.h"

using namespace fonzeta::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const TFontList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Fonts(i)->FullName);
    return names;
}

std::vector<std::string> Walked(const std::string& folder, const std::string& skip = std::string())
{
    std::vector<std::string> paths;
    WalkFontFiles(folder, skip, [&](const TFontFileEntry& file) { paths.push_back(file.Path); });
    return paths;
}

class FontSources : public ::testing::Test, protected TFakeFontPlatform<> {
protected:
    // A source list whose events and platform calls all go to `Log`.
    std::unique_ptr<TFontList> MakeLoggedList()
    {
        Table.Log = &Log;
        Change.Log = &Log;
        auto list = std::make_unique<TFontList>(Platform, true);
        list->OnScanBegin = [this](TFontList* sender, const std::string& text) {
            Log.push_back("scan begin " + text + (sender->Updating() ? " (updating)" : ""));
        };
        list->OnFontFound = [this](TFontList* sender, const std::string& name) {
            Log.push_back("found " + name + " at " + std::to_string(sender->Count()));
        };
        list->OnScanEnd = [this](TFontList* sender) {
            Log.push_back(std::string("scan end") + (sender->Updating() ? " (updating)" : ""));
        };
        list->OnChange = [this](TFontList* sender) {
            Log.push_back("change " + std::to_string(sender->Count()));
        };
        list->OnRefresh = [this](TFontList*) { Log.push_back("refresh"); };
        return list;
    }

    void ListFolder(TFontList& list, const std::string& folder)
    {
        list.SetMode(flmFolder);
        list.SetFolder(folder);
        list.Refresh();
    }

    std::vector<std::string> Log;
};

TEST_F(FontSources, FolderListingRaisesItsEventsInOrder)
{
    Temp.CopyFile(Sandbox::DejaVuSerif(), "old/serif.ttf");
    const std::string folder = Temp.MakeFolder("new");
    const std::string font = Temp.CopyFile(Sandbox::DejaVuSans(), "new/sub/sans.ttf");
    WriteBytes(Temp / "new/readme.txt", "not a font");

    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "old");
    Log.clear();
    ListFolder(*list, folder);

    // Nothing is registered: the preview draws from the files.
    EXPECT_EQ(Log, (std::vector<std::string>{
                       "broadcast",
                       "scan begin " + folder + " (updating)",
                       "found DejaVu Sans at 0",
                       "broadcast",
                       "scan end (updating)",
                       "change 1",
                       "refresh",
                   }));
    EXPECT_EQ(list->Folder(), folder);
    EXPECT_FALSE(list->Fonts(0)->Temporary);
    EXPECT_EQ(list->Fonts(0)->FileName, font);
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(CountFontFiles(folder, list->SysFontFolder()), 1);
}

TEST_F(FontSources, FolderListingTakesEveryLetterCaseOfEachFormatAndNothingElse)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/lower.ttf");
    Temp.CopyFile(Sandbox::DejaVuSansBold(), "f/UPPER.TTF");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "f/deep/er/Mixed.TtF");
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/other.OTF");
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/single-face.ttc");
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/backup.ttf.bak");
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/type1.pfb");
    Temp.MakeFolder("f/folder.ttf");
    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "f");
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Sans", "DejaVu Sans",
                                                      "DejaVu Sans Bold", "DejaVu Serif"}));
    EXPECT_EQ(Table.Registered(), 0);
    EXPECT_EQ(CountFontFiles(Temp / "f"), 5);
}

TEST_F(FontSources, BrokenFontIsReportedInsteadOfListed)
{
    Temp.MakeFolder("f");
    const std::string broken = WriteBytes(Temp / "f/broken.ttf", "garbage that is no font");
    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "f");
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{broken + "\nInvalid TrueType Font!"});
    ASSERT_EQ(list->Problems().size(), 1u);
    EXPECT_EQ(list->Problems()[0].Path, broken);
}

TEST_F(FontSources, FolderWithoutFontsGivesAnEmptyListAndNoSecondBroadcast)
{
    Temp.MakeFolder("empty");
    WriteBytes(Temp / "empty/notes.txt", "");
    auto list = MakeLoggedList();
    list->Add("Previous");
    Log.clear();
    ListFolder(*list, Temp / "empty");
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "broadcast"), 1);
    EXPECT_EQ(Log[1], "scan begin " + Temp / "empty" + " (updating)");
    EXPECT_EQ(CountFontFiles(Temp / "empty"), 0);
}

TEST_F(FontSources, TheUserFontFolderIsNeverListed)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "userfonts/installed.ttf");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "userfonts/deeper/installed2.ttf");
    fs::create_directory_symlink(Store.Folder, Temp / "userfonts-link");
    auto list = MakeLoggedList();
    for (const std::string& folder : {Store.Folder, Store.Folder + "/", Store.Folder + "/deeper",
                                      Temp / "userfonts/deeper/../deeper/.", Temp / "userfonts-link"}) {
        SCOPED_TRACE(folder);
        list->Assign(std::vector<std::string>{"b", "a"});
        list->SetMode(flmFolder);
        list->SetFolder(folder);
        Log.clear();
        list->Refresh();
        // Only sorted again: no clearing, no scan, no registration.
        EXPECT_EQ(Log, (std::vector<std::string>{"change 2", "refresh"}));
        EXPECT_EQ(Names(*list), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(list->Folder(), "");
    }
}

TEST_F(FontSources, SysFolderTestComparesWholePathComponents)
{
    TFontList list(Platform, true);
    const std::string folder = Store.Folder;
    EXPECT_TRUE(list.IsInSysFolder(folder));
    EXPECT_TRUE(list.IsInSysFolder(folder + "/"));
    EXPECT_TRUE(list.IsInSysFolder(folder + "/a/b"));
    EXPECT_TRUE(list.IsInSysFolder(folder + "/../userfonts"));
    EXPECT_FALSE(list.IsInSysFolder(folder + "-extra"));
    EXPECT_FALSE(list.IsInSysFolder(folder + "extra/x"));
    EXPECT_FALSE(list.IsInSysFolder(folder + "/.."));
    EXPECT_FALSE(list.IsInSysFolder(Temp.Path()));
    EXPECT_FALSE(list.IsInSysFolder(""));

    // A sibling whose name only begins with the folder's name is listed like any folder.
    Temp.CopyFile(Sandbox::DejaVuSans(), "userfonts-extra/sans.ttf");
    ListFolder(list, folder + "-extra");
    EXPECT_EQ(Names(list), std::vector<std::string>{"DejaVu Sans"});

    Store.Folder.clear();
    TFontList withoutFolder(Platform, true);
    EXPECT_FALSE(withoutFolder.IsInSysFolder("/"));
    EXPECT_FALSE(withoutFolder.IsInSysFolder(folder));
}

TEST_F(FontSources, WalkNeverEntersTheUserFontFolderByAnyPath)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "userfonts/installed.ttf");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "top/serif.ttf");
    fs::create_directory_symlink(Store.Folder, Temp / "top/link-to-user-fonts");
    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "top");
    EXPECT_EQ(Names(*list), std::vector<std::string>{"DejaVu Serif"});
    EXPECT_EQ(CountFontFiles(Temp / "top", Store.Folder), 1);
    EXPECT_EQ(CountFontFiles(Temp / "top"), 2);
    EXPECT_EQ(CountFontFiles(Temp.Path(), Store.Folder), 1);
}

TEST_F(FontSources, SymbolicLinkLoopsEndAndEachFolderIsWalkedOnce)
{
    const std::string sans = Temp.CopyFile(Sandbox::DejaVuSans(), "loop/sans.ttf");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "loop/sub/serif.ttf");
    fs::create_directory_symlink(".", Temp / "loop/self");
    fs::create_directory_symlink("..", Temp / "loop/sub/up");
    fs::create_directory_symlink(Temp / "loop", Temp / "loop/sub/absolute");
    fs::create_symlink("sans.ttf", Temp / "loop/alias.ttf");
    fs::create_symlink("nowhere.ttf", Temp / "loop/dangling.ttf");

    // The link and its target are one file, met once.
    const auto paths = Walked(Temp / "loop");
    EXPECT_EQ(paths.size(), 2u);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), Temp / "loop/alias.ttf") +
                  std::count(paths.begin(), paths.end(), sans),
              1);

    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "loop");
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Serif"}));
}

TEST_F(FontSources, WalkGoesIntoEachFolderWhenItIsMet)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/a.ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/b/b1.ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/b/c/c1.ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/b/b2.ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/d/d1.ttf");
    Temp.CopyFile(Sandbox::DejaVuSans(), "tree/e.ttf");

    // The expected order, from the file system's own listing order.
    std::vector<std::string> expected;
    std::function<void(const fs::path&)> visit = [&](const fs::path& folder) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.is_directory())
                visit(entry.path());
            else
                expected.push_back(entry.path().string());
        }
    };
    visit(Temp / "tree");
    EXPECT_EQ(Walked(Temp / "tree"), expected);
}

TEST_F(FontSources, UnreadableFoldersAreSkipped)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "mixed/sans.ttf");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "mixed/closed/serif.ttf");
    Temp.CopyFile(Sandbox::DejaVuSansBold(), "mixed/open/bold.ttf");
    fs::permissions(Temp / "mixed/closed", fs::perms::none);
    auto list = MakeLoggedList();
    {
        TObeyFilePermissions obey;
        ASSERT_TRUE(obey.Active());
        ListFolder(*list, Temp / "mixed");
        EXPECT_EQ(CountFontFiles(Temp / "mixed"), 2);
        EXPECT_TRUE(Walked(Temp / "mixed/closed").empty());
    }
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Sans Bold"}));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(FontSources, InstalledFilesInAFolderAreListedButNeverRegistered)
{
    const std::string installed = Temp.CopyFile(Sandbox::DejaVuSans(), "share/installed.ttf");
    const std::string own = Temp.CopyFile(Sandbox::DejaVuSerif(), "share/own.ttf");
    fs::create_symlink(installed, Temp / "share/link.ttf");
    Store.Files = {installed};
    auto list = MakeLoggedList();
    ListFolder(*list, Temp / "share");
    ASSERT_EQ(list->Count(), 2);
    for (int i = 0; i < list->Count(); ++i) {
        const TFontInfo* font = list->Fonts(i);
        EXPECT_TRUE(list->EnsureRegistered(i)) << font->FileName;
        const bool isOwn = font->FileName == own;
        EXPECT_EQ(font->Temporary, isOwn) << font->FileName;
        EXPECT_EQ(Table.IsRegistered(font->FileName), isOwn) << font->FileName;
    }
    list.reset();
    EXPECT_EQ(Table.Registered(), 0);
    EXPECT_EQ(Table.FailedUnregisters, 0);
}

TEST_F(FontSources, ScanEndsAndTheCursorReturnsWhenAHandlerThrows)
{
    Temp.CopyFile(Sandbox::DejaVuSans(), "f/sans.ttf");
    auto list = MakeLoggedList();
    bool waitCursor = false;
    list->OnScanBegin = [&](TFontList*, const std::string&) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitCursor = cursor && cursor->shape() == Qt::WaitCursor;
    };
    list->OnFontFound = [](TFontList*, const std::string&) { throw std::runtime_error("stop"); };
    list->SetMode(flmFolder);
    list->SetFolder(Temp / "f");
    EXPECT_THROW(list->Refresh(), std::runtime_error);
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(list->Updating());
    EXPECT_EQ(Log.back(), "change 0");
    EXPECT_EQ(Log[Log.size() - 2], "scan end (updating)");
}

TEST_F(FontSources, InstalledFontsAreReadFromTheirPathsOrTheUserFontFolder)
{
    const std::string absolute = Temp.CopyFile(Sandbox::DejaVuSans(), "sys/sans.ttf");
    Temp.CopyFile(Sandbox::DejaVuSerif(), "userfonts/serif.ttf");
    Temp.CopyFile(Sandbox::DejaVuSansBold(), "userfonts/bold.ttf");
    Temp.CopyFile(Sandbox::NanumGothic(), "cwd/bold.ttf");
    Store.Files = {"serif.ttf", absolute, "missing.ttf", "bold.ttf", "other.otf"};
    Locale.LangID = 0x0412;

    auto list = MakeLoggedList();
    Log.clear();
    const std::string previous = fs::current_path();
    ASSERT_EQ(chdir((Temp / "cwd").c_str()), 0);
    list->SetMode(flmInstalled);
    list->Refresh();
    ASSERT_EQ(chdir(previous.c_str()), 0);

    EXPECT_EQ(list->InstalledFiles().size(), 5u);
    EXPECT_EQ(Log, (std::vector<std::string>{
                       "broadcast",
                       "scan begin 5 (updating)",
                       "found DejaVu Serif at 0",
                       "found DejaVu Sans at 1",
                       "found NanumGothic at 2",
                       "scan end (updating)",
                       "change 3",
                       "refresh",
                   }));
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Serif", "NanumGothic"}));
    EXPECT_EQ(list->Fonts(1)->FileName, Store.Folder + "/serif.ttf");
    EXPECT_EQ(list->Fonts(2)->FileName, "bold.ttf");
    EXPECT_FALSE(list->Fonts(0)->Temporary);
    EXPECT_EQ(Table.Registered(), 0);
}

TEST_F(FontSources, ScreenFontsAreFamilyNamesWithoutScanEvents)
{
    auto list = MakeLoggedList();
    list->SetMode(flmScreen);
    Log.clear();
    list->Refresh();
    const auto names = Names(*list);
    EXPECT_NE(std::find(names.begin(), names.end(), "DejaVu Sans"), names.end());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_NE(names[i].rfind('@', 0), 0u);
        if (i > 0) {
            EXPECT_FALSE(SameTextIgnoringCase(names[i - 1], names[i]));
        }
        EXPECT_EQ(list->Fonts(static_cast<int>(i))->FileName, "");
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"broadcast", "change " + std::to_string(names.size()),
                                             "refresh"}));
}

// The real platform inside the sandbox: fontconfig's installed files and Qt's font table.
class RealPlatformSources : public ::testing::Test {
protected:
    RealPlatformSources() : Notifier(Store)
    {
        Platform.FontTable = &Table;
        Platform.FontChange = &Notifier;
        Platform.InstalledFonts = &Store;
        Platform.Locale = &Locale;
        Platform.Dialogs = &Dialogs;
    }

    TTempFolder Temp;
    TQtFontTable Table;
    TFontconfigStore Store;
    TFontconfigNotifier Notifier;
    TFakeLocale Locale;
    TScriptedDialogs Dialogs;
    TPlatform Platform;
};

TEST_F(RealPlatformSources, InstalledFontsComeFromFontconfig)
{
    TFontList list(Platform, true);
    list.SetMode(flmInstalled);
    list.Refresh();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Sans Bold", "DejaVu Serif",
                                                     "NanumGothic"}));
    EXPECT_EQ(list.SysFontFolder(), Sandbox::UserFontFolder());
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(RealPlatformSources, FolderFontsStayRegisteredUntilTheListIsCleared)
{
    const std::string sans = Temp.CopyFile(Sandbox::DejaVuSans(), "f/sans.ttf");
    const std::string bold = Temp.CopyFile(Sandbox::DejaVuSansBold(), "f/bold.ttf");
    WriteBytes(Temp / "f/fake.ttf", "this is no font");
    auto list = std::make_unique<TFontList>(Platform, true);
    list->SetMode(flmFolder);
    list->SetFolder(Temp / "f");
    list->Refresh();
    list->Refresh();
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"DejaVu Sans", "DejaVu Sans Bold"}));
    EXPECT_EQ(list->Problems().size(), 1u);
    EXPECT_FALSE(Table.IsRegistered(sans));
    EXPECT_TRUE(list->EnsureRegistered(0));
    EXPECT_TRUE(list->EnsureRegistered(1));
    EXPECT_TRUE(Table.IsRegistered(sans));
    EXPECT_EQ(Table.Families(bold), std::vector<std::string>{"DejaVu Sans"});

    // A copy in another list leaves the registrations alone when it goes.
    auto preview = std::make_unique<TFontList>(Platform, false);
    preview->Assign(*list);
    preview.reset();
    EXPECT_TRUE(Table.IsRegistered(sans));

    list.reset();
    EXPECT_FALSE(Table.IsRegistered(sans));
    EXPECT_FALSE(Table.IsRegistered(bold));
}

}  // namespace
