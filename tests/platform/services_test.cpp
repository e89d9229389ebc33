#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/app_folder.h"
#include "platform/error_codes.h"
#include "platform/fontconfig_notifier.h"
#include "platform/fontconfig_store.h"
#include "platform/qt_font_table.h"
#include "platform/system_locale.h"
#include "platform/xdg_trash.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using fonzeta::test::Sandbox;

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TEST(FontTable, RegistersRealFontsAndCountsRegistrations)
{
    TQtFontTable table;
    const std::string font = Sandbox::DejaVuSerif();
    ASSERT_TRUE(table.Register(font));
    EXPECT_TRUE(table.IsRegistered(font));
    EXPECT_TRUE(Contains(table.Families(font), "DejaVu Serif"));
    ASSERT_TRUE(table.Register(font));
    EXPECT_TRUE(table.Unregister(font));
    EXPECT_TRUE(table.IsRegistered(font)) << "still registered once";
    EXPECT_TRUE(table.Unregister(font));
    EXPECT_FALSE(table.IsRegistered(font));
    EXPECT_FALSE(table.Unregister(font));
    EXPECT_TRUE(table.Families(font).empty());
}

TEST(FontTable, RefusesFilesThatAreNotFonts)
{
    QTemporaryDir dir;
    const std::string text = (dir.path() + "/notes.ttf").toStdString();
    WriteFile(text, "this is not a font at all");
    TQtFontTable table;
    EXPECT_FALSE(table.Register(text));
    EXPECT_FALSE(table.IsRegistered(text));
    EXPECT_FALSE(table.Register((dir.path() + "/missing.ttf").toStdString()));
}

TEST(InstalledFontStore, UserFontFolderIsTheSandboxOneAndIsCreated)
{
    TFontconfigStore store;
    fs::remove_all(Sandbox::UserFontFolder());
    EXPECT_EQ(store.UserFontFolder(), Sandbox::UserFontFolder());
    EXPECT_TRUE(fs::is_directory(Sandbox::UserFontFolder()));
}

TEST(InstalledFontStore, ListsOnlyTrueTypeFilesOfTheConfiguredFolders)
{
    TFontconfigStore store;
    const auto files = store.InstalledFiles();
    EXPECT_TRUE(Contains(files, Sandbox::DejaVuSans()));
    EXPECT_TRUE(Contains(files, Sandbox::NanumGothic()));
    for (const auto& file : files)
        EXPECT_EQ(file.rfind(Sandbox::Root(), 0), 0u) << file << " is outside the sandbox";
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
}

TEST(InstalledFontStore, CopiedFileIsKnownAndRemovedFileForgotten)
{
    TFontconfigStore store;
    const std::string target = store.UserFontFolder() + "/Copied Serif.TTF";
    fs::copy_file(Sandbox::DejaVuSerif(), target, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(store.MakeKnown(target));
    EXPECT_TRUE(Contains(store.InstalledFiles(), target));

    fs::remove(target);
    EXPECT_TRUE(store.Forget(target));
    EXPECT_FALSE(Contains(store.InstalledFiles(), target));
    EXPECT_FALSE(store.MakeKnown(target)) << "a missing file cannot be made known";
}

TEST(FontChange, BroadcastTellsListenersAndCachesTheUserFolder)
{
    TFontconfigStore store;
    TFontconfigNotifier notifier(store);
    int calls = 0;
    notifier.AddListener([&] { ++calls; });
    notifier.AddListener([&] { calls += 10; });
    const fs::path cache = fs::path(Sandbox::Root()) / "cache" / "fontconfig";
    fs::remove_all(cache);
    notifier.Broadcast();
    EXPECT_EQ(calls, 11);
    ASSERT_TRUE(fs::is_directory(cache));
    EXPECT_FALSE(fs::is_empty(cache)) << "the user folder's cache file is written";

    fs::remove_all(cache);
    notifier.Broadcast();
    EXPECT_EQ(calls, 22);
    EXPECT_FALSE(fs::exists(cache)) << "an unchanged folder is not scanned again";

    const std::string added = Sandbox::UserFontFolder() + "/Added.ttf";
    fs::copy_file(Sandbox::DejaVuSerif(), added, fs::copy_options::overwrite_existing);
    notifier.Broadcast();
    EXPECT_TRUE(fs::exists(cache)) << "a changed folder is scanned again";
    fs::remove(added);
}

TEST(Trash, MovesFileWithItsTrashInfo)
{
    const std::string folder = Sandbox::Root() + "/to-trash";
    fs::create_directories(folder);
    const std::string file = folder + "/gone.ttf";
    WriteFile(file, "bytes");
    TXdgTrash trash;
    ASSERT_EQ(trash.MoveToTrash(file), ecSuccess);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(Sandbox::TrashFolder() + "/files/gone.ttf"));
    std::ifstream info(Sandbox::TrashFolder() + "/info/gone.ttf.trashinfo");
    std::string all((std::istreambuf_iterator<char>(info)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("[Trash Info]"), std::string::npos);
    EXPECT_NE(all.find("Path=" + file), std::string::npos) << all;
}

TEST(Trash, MissingFileIsReportedAsNotFound)
{
    TXdgTrash trash;
    EXPECT_EQ(trash.MoveToTrash(Sandbox::Root() + "/never-there.ttf"), ecFileNotFound);
}

TEST(ErrorCodes, ErrnoValuesMapToTheProgramsCodes)
{
    EXPECT_EQ(ErrnoToCode(0), ecSuccess);
    EXPECT_EQ(ErrnoToCode(ENOENT), 2);
    EXPECT_EQ(ErrnoToCode(EACCES), 5);
    EXPECT_EQ(ErrnoToCode(EPERM), 5);
    EXPECT_EQ(ErrnoToCode(EROFS), 19);
    EXPECT_EQ(ErrnoToCode(EBUSY), 32);
    EXPECT_EQ(ErrnoToCode(EIO), 30);
    EXPECT_EQ(ErrnoToCode(ENOSPC), 112);
    EXPECT_EQ(ErrnoToCode(EEXIST), 80);
    EXPECT_EQ(ErrnoToCode(ENAMETOOLONG), 123);
    EXPECT_EQ(ErrnoToCode(ENOTEMPTY), 145);
    EXPECT_EQ(ErrnoToCode(ECANCELED), 1223);
    const int unknown = ErrnoToCode(EXDEV);
    EXPECT_EQ(unknown & 0xFFFF, EXDEV);
    EXPECT_NE(unknown, EXDEV) << "an unmapped errno must not pose as another code";
}

TEST(Locale, LanguageIdsFollowTheNamingTableNumbers)
{
    EXPECT_EQ(LangIdOf(QLocale(QLocale::Korean, QLocale::SouthKorea)), 0x0412);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::English, QLocale::UnitedStates)), 0x0409);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::English, QLocale::UnitedKingdom)), 0x0809);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::German, QLocale::Germany)), 0x0407);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::Chinese, QLocale::Taiwan)), 0x0404);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::Chinese, QLocale::China)), 0x0804);
    EXPECT_EQ(LangIdOf(QLocale(QLocale::Zulu, QLocale::SouthAfrica)), 0x0409);
}

TEST(Locale, SystemLocaleOfTheSandboxIsUsEnglish)
{
    TSystemLocale locale;
    EXPECT_EQ(locale.UserLangID(), 0x0409);
    EXPECT_EQ(locale.ThousandsSeparator(), ",");
}

TEST(AppFolder, WritableExecutableFolderKeepsTheSettings)
{
    QTemporaryDir dir;
    EXPECT_EQ(SettingsFolderFor(dir.path().toStdString()), dir.path().toStdString());
}

TEST(AppFolder, OtherwiseTheUsersConfigFolderIsUsed)
{
    const std::string expected = Sandbox::Root() + "/config/fonzeta";
    fs::remove_all(expected);
    EXPECT_EQ(SettingsFolderFor(Sandbox::Root() + "/no/such/folder"), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(SettingsFolderFor(""), expected);
}

}  // namespace
