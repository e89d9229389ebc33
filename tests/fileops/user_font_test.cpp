#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "fileops/font_commands.h"
#include "fonts/font_list.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

TEST(UserFont, OnlyTheUsersOwnFoldersMayBeUninstalledFrom)
{
    const std::string user = Sandbox::UserFontFolder();
    const std::string home = Sandbox::Root() + "/home";
    // The user font folder, a link in it (only the link would move) and ~/.fonts.
    EXPECT_TRUE(IsUserFont(user + "/Mine.ttf", user));
    fs::create_symlink(Sandbox::DejaVuSans(), user + "/linked.ttf");
    EXPECT_TRUE(IsUserFont(user + "/linked.ttf", user));
    fs::remove(user + "/linked.ttf");
    fs::create_directories(home + "/.fonts");
    EXPECT_TRUE(IsUserFont(home + "/.fonts/Old.ttf", user));
    // The system's folder, also reached through ".." from the user's folder, and a folder in
    // the home folder that belongs to someone else.
    EXPECT_FALSE(IsUserFont(Sandbox::DejaVuSans(), user));
    EXPECT_FALSE(IsUserFont(user + "/../../sysfonts/DejaVuSans.ttf", user));
    fs::create_directories(home + "/shared");
    ASSERT_EQ(chown((home + "/shared").c_str(), geteuid() + 1, static_cast<gid_t>(-1)), 0);
    EXPECT_FALSE(IsUserFont(home + "/shared/Theirs.ttf", user));
    fs::remove_all(home + "/shared");
    fs::remove_all(home + "/.fonts");
}

TEST(ChosenFonts, MarkedFontsInListOrderElseTheCurrentOne)
{
    TFakeFontTable table;
    TPlatform platform;
    platform.FontTable = &table;
    TFontList list(platform, false);
    for (const char* name : {"A", "B", "C", "D"}) {
        auto font = std::make_unique<TFontInfo>();
        font->FullName = name;
        font->FileName = std::string("/f/") + name + ".ttf";
        list.Add(std::move(font));
    }
    auto names = [](const std::vector<TChosenFont>& fonts) {
        std::string all;
        for (const auto& font : fonts)
            all += font.FullName + std::to_string(font.Index);
        return all;
    };
    EXPECT_EQ(names(ChosenFonts(list, 2)), "C2");
    EXPECT_EQ(names(ChosenFonts(list, -1)), "");
    list.Fonts(3)->Selected = true;
    list.Fonts(1)->Selected = true;
    EXPECT_EQ(names(ChosenFonts(list, 2)), "B1D3");
}

}  // namespace
