#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "favorites/favorites.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using fonzeta::test::TFileSizeLimit;
using fonzeta::test::TObeyFilePermissions;
using fonzeta::test::TTempFolder;

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string Replaced(std::string s, const std::string& from, const std::string& to)
{
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? s : s.replace(at, from.size(), to);
}

// A file as people leave it after editing it by hand: a byte-order mark, CR LF and LF
// mixed, blanks around a header, a spaced key, comments, a line without "=", binary bytes,
// invalid UTF-8, a 10,000-byte line, keys before the first group, two groups whose names
// differ only in case and a last line without a line break.
const std::string LongName = "L" + std::string(9000, 'x');
const std::string LongLine = LongName + "=" + std::string(10000 - LongName.size() - 1, 'p');
const std::string HandEdited =
    "\xEF\xBB\xBF"
    "Stray=before.ttf\r\n"
    "; comment at top\n"
    "[Sans]\r\n"
    "DejaVu Sans=/a/DejaVuSans.ttf\r\n"
    "\r\n"
    " [Spaced] \n"
    "Key = value\n"
    "; note\r\n"
    "NoEquals\r\n"
    "\x01\x02garbage\xff\xfe=\x80\r\n"
    "caf\xe9=latin1\n" +
    LongLine + "\r\n"
    "[sans]\n"
    "Other=/b.ttf";

struct TShown {
    std::string Text;
    TFavItemKind Kind;
    bool operator==(const TShown&) const = default;
};

std::vector<TShown> Shown(const TFavorites& favorites)
{
    std::vector<TShown> shown;
    for (const auto& item : favorites.Items())
        shown.push_back({item.Text, item.Kind});
    return shown;
}

class Favorites : public ::testing::Test {
protected:
    void SetUp() override { Put(Path, HandEdited); }

    TFavorites Loaded()
    {
        TFavorites favorites(Path);
        EXPECT_TRUE(favorites.Load()) << favorites.Error();
        return favorites;
    }

    TTempFolder Temp;
    const std::string Path = Temp / "installed.fav";
};

TEST_F(Favorites, HandEditedFileShowsWhatTheStoreReads)
{
    TFavorites favorites = Loaded();
    const std::vector<TShown> expected = {
        {"Sans", fikGroup},
        {"DejaVu Sans", fikFont},
        {"Spaced", fikGroup},
        {"Key", fikFont},
        {"NoEquals", fikFont},
        {"\x01\x02garbage\xff\xfe", fikFont},
        {"caf\xe9", fikFont},
        {LongName, fikFont},
        {"sans", fikGroup},
        {"Other", fikFont},
    };
    EXPECT_EQ(Shown(favorites), expected);
    EXPECT_EQ(favorites.Groups(), (std::vector<std::string>{"Sans", "Spaced", "sans"}));
    EXPECT_EQ(favorites.GroupOfItem(7), "Spaced");
    EXPECT_EQ(favorites.GroupIndexOfItem(9), 8);
    EXPECT_EQ(favorites.GroupIndexOfItem(-1), -1);
    EXPECT_EQ(favorites.GroupOfItem(10), "");
    EXPECT_EQ(favorites.FindGroup("SANS"), 0);
    EXPECT_EQ(favorites.FindGroup(" spaced "), 2);
    EXPECT_EQ(favorites.GroupItem(2), 8);
    EXPECT_EQ(favorites.FontsOfGroup(8), std::vector<std::string>{"Other"});
    EXPECT_EQ(Bytes(Path), HandEdited);
}

TEST_F(Favorites, EachCommandChangesOnlyItsOwnLines)
{
    {
        TFavorites favorites = Loaded();
        std::vector<std::string> leftOut;
        ASSERT_EQ(favorites.AddFonts("spaced", {"New Font", " key "}, {"/n.ttf", "/k2.ttf"}, leftOut),
                  TFavResult::Done);
        EXPECT_TRUE(leftOut.empty());
        std::string expected = Replaced(HandEdited, "Key = value\n", "Key=/k2.ttf\n");
        expected = Replaced(expected, "[sans]\n", "New Font=/n.ttf\r\n[sans]\n");
        EXPECT_EQ(Bytes(Path), expected);
    }
    Put(Path, HandEdited);
    {
        TFavorites favorites = Loaded();
        ASSERT_EQ(favorites.DeleteItem(4), TFavResult::Done);  // NoEquals
        EXPECT_EQ(Bytes(Path), Replaced(HandEdited, "NoEquals\r\n", ""));
    }
    Put(Path, HandEdited);
    {
        TFavorites favorites = Loaded();
        ASSERT_EQ(favorites.RenameGroup(2, "Mono"), TFavResult::Done);
        EXPECT_EQ(Bytes(Path), Replaced(HandEdited, " [Spaced] \n", "[Mono]\n"));
    }
    Put(Path, HandEdited);
    {
        TFavorites favorites = Loaded();
        ASSERT_EQ(favorites.DeleteItem(2), TFavResult::Done);  // the whole Spaced group
        const size_t from = HandEdited.find(" [Spaced]");
        const size_t to = HandEdited.find("[sans]");
        EXPECT_EQ(Bytes(Path), HandEdited.substr(0, from) + HandEdited.substr(to));
    }
    Put(Path, HandEdited);
    {
        TFavorites favorites = Loaded();
        ASSERT_EQ(favorites.NewGroup("Serif"), TFavResult::Done);
        EXPECT_EQ(Bytes(Path), HandEdited + "\r\n[Serif]\r\n");
        ASSERT_TRUE(favorites.Load());
        EXPECT_EQ(favorites.Groups().back(), "Serif");
    }
}

TEST_F(Favorites, GroupsOfOneNameAreEditedWhereTheUserClicked)
{
    const std::string twins = "[Sans]\r\nA=1\r\n[sans]\nB=2\n";
    Put(Path, twins);
    TFavorites favorites = Loaded();
    ASSERT_EQ(favorites.DeleteItem(3), TFavResult::Done);  // B of the second group
    EXPECT_EQ(Bytes(Path), "[Sans]\r\nA=1\r\n[sans]\n");

    ASSERT_TRUE(favorites.Load());
    EXPECT_EQ(favorites.RenameGroup(2, "SANS"), TFavResult::NameInUse);
    EXPECT_EQ(favorites.RenameGroup(2, "Mono"), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[Sans]\r\nA=1\r\n[Mono]\n");

    Put(Path, twins);
    ASSERT_TRUE(favorites.Load());
    ASSERT_EQ(favorites.DeleteItem(2), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[Sans]\r\nA=1\r\n");

    // Another case of a group's own name is a rename; the same name is nothing to do.
    ASSERT_TRUE(favorites.Load());
    EXPECT_EQ(favorites.RenameGroup(0, "Sans"), TFavResult::Nothing);
    EXPECT_EQ(favorites.RenameGroup(0, " SANS "), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[SANS]\r\nA=1\r\n");
}

TEST_F(Favorites, EditsOfAFileChangedSinceItWasShownAreRefused)
{
    TFavorites favorites = Loaded();
    const std::string edited = "; added by hand\r\n" + HandEdited;
    Put(Path, edited);
    EXPECT_EQ(favorites.DeleteItem(0), TFavResult::Stale);
    EXPECT_EQ(favorites.RenameGroup(2, "Mono"), TFavResult::Stale);
    EXPECT_EQ(Bytes(Path), edited);

    // The same lines, but the font now lies in a group inserted above it.
    const std::string regrouped = Replaced(HandEdited, "; note\r\n", "[New]\r\n");
    Put(Path, regrouped);
    EXPECT_EQ(favorites.DeleteItem(4), TFavResult::Stale);
    EXPECT_EQ(Bytes(Path), regrouped);
    EXPECT_EQ(favorites.DeleteItem(99), TFavResult::Stale);
}

TEST_F(Favorites, NewGroupsAndNamesThatCannotBeStored)
{
    fs::remove(Path);
    TFavorites favorites = Loaded();
    EXPECT_EQ(favorites.Count(), 0);
    EXPECT_EQ(favorites.NewGroup("  "), TFavResult::Nothing);
    EXPECT_FALSE(fs::exists(Path));

    std::vector<std::string> leftOut;
    EXPECT_EQ(favorites.AddFonts("G", {"a=b", "[x", ";c", "", "  "}, {"1", "2", "3", "4", "5"}, leftOut),
              TFavResult::Nothing);
    EXPECT_EQ(leftOut.size(), 5u);
    EXPECT_FALSE(fs::exists(Path));

    ASSERT_EQ(favorites.NewGroup(" First "), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[First]\r\n");
    EXPECT_EQ(favorites.NewGroup("FIRST"), TFavResult::NameInUse);
    ASSERT_EQ(favorites.AddFonts("first", {"x=y", "Temp", "Good"}, {"1", "/t.ttf", "/g.ttf"}, leftOut),
              TFavResult::Done);
    EXPECT_EQ(leftOut, std::vector<std::string>{"x=y"});
    // Adding a font again keeps its one line where it was.
    ASSERT_EQ(favorites.AddFonts("first", {"temp"}, {"/t2.ttf"}, leftOut), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[First]\r\nTemp=/t2.ttf\r\nGood=/g.ttf\r\n");
    ASSERT_EQ(favorites.NewGroup("Temp"), TFavResult::Done);
    EXPECT_EQ(Bytes(Path), "[First]\r\nTemp=/t2.ttf\r\nGood=/g.ttf\r\n[Temp]\r\n");
}

TEST_F(Favorites, FailuresNameThePathAndKeepTheFile)
{
    const auto expectFailure = [this](TFavorites& favorites, const std::string& what) {
        std::vector<std::string> leftOut;
        EXPECT_EQ(favorites.AddFonts("Sans", {"X"}, {"/x.ttf"}, leftOut), TFavResult::Failed) << what;
        EXPECT_NE(favorites.Error().find(Path), std::string::npos) << favorites.Error();
        EXPECT_EQ(favorites.NewGroup("Serif"), TFavResult::Failed) << what;
        EXPECT_EQ(favorites.DeleteItem(0), TFavResult::Failed) << what;
    };

    {
        SCOPED_TRACE("unreadable file");
        TFavorites favorites = Loaded();
        fs::permissions(Path, fs::perms::none);
        {
            TObeyFilePermissions obey;
            ASSERT_TRUE(obey.Active());
            EXPECT_FALSE(favorites.Load());
            EXPECT_NE(favorites.Error().find(Path), std::string::npos) << favorites.Error();
            EXPECT_EQ(favorites.Count(), 0);
            ASSERT_TRUE(TFavorites(Path).Load() == false);
            favorites = TFavorites(Path);
            expectFailure(favorites, "unreadable");
        }
        fs::permissions(Path, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(Bytes(Path), HandEdited);
    }
    {
        SCOPED_TRACE("read-only folder");
        TFavorites favorites = Loaded();
        fs::permissions(Temp.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        {
            TObeyFilePermissions obey;
            ASSERT_TRUE(obey.Active());
            expectFailure(favorites, "read-only folder");
        }
        fs::permissions(Temp.Path(), fs::perms::owner_all);
        EXPECT_EQ(Bytes(Path), HandEdited);
    }
    {
        SCOPED_TRACE("full disk");
        TFavorites favorites = Loaded();
        {
            TFileSizeLimit full(64);
            expectFailure(favorites, "full disk");
        }
        EXPECT_TRUE(Bytes(Path) == HandEdited);
    }
    {
        SCOPED_TRACE("a folder in the file's place");
        fs::remove(Path);
        fs::create_directory(Path);
        TFavorites favorites(Path);
        EXPECT_FALSE(favorites.Load());
        EXPECT_NE(favorites.Error().find(Path), std::string::npos) << favorites.Error();
        expectFailure(favorites, "folder");
        EXPECT_TRUE(fs::is_directory(Path));
    }
}

}  // namespace
