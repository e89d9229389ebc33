#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/qt_font_table.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

using fonzeta::test::Sandbox;
using fonzeta::test::TTempFolder;

// Paths are bytes: a Latin-1 name from an old archive registers like any other, and the
// UTF-8 spelling of the same text is another file with its own registration.
TEST(FontTableNames, FileNamesThatAreNotUtf8RegisterAndUnregister)
{
    TTempFolder temp;
    const std::string latin1 = temp.CopyFile(Sandbox::DejaVuSans(), "caf\xe9.ttf");
    const std::string utf8 = temp.CopyFile(Sandbox::DejaVuSerif(), "caf\xc3\xa9.ttf");
    ASSERT_TRUE(std::filesystem::exists(latin1));
    ASSERT_NE(latin1, utf8);

    TQtFontTable table;
    ASSERT_TRUE(table.Register(latin1));
    EXPECT_TRUE(table.IsRegistered(latin1));
    EXPECT_FALSE(table.IsRegistered(utf8)) << "another name, another file";
    EXPECT_EQ(table.Families(latin1), std::vector<std::string>{"DejaVu Sans"});

    ASSERT_TRUE(table.Register(utf8));
    EXPECT_EQ(table.Families(utf8), std::vector<std::string>{"DejaVu Serif"});
    EXPECT_EQ(table.Families(latin1), std::vector<std::string>{"DejaVu Sans"});

    // A second registration of the odd name is counted, not loaded again.
    ASSERT_TRUE(table.Register(latin1));
    EXPECT_TRUE(table.Unregister(latin1));
    EXPECT_TRUE(table.IsRegistered(latin1));
    EXPECT_TRUE(table.Unregister(latin1));
    EXPECT_FALSE(table.IsRegistered(latin1));
    EXPECT_TRUE(table.Families(latin1).empty());
    EXPECT_FALSE(table.Unregister(latin1));
    EXPECT_TRUE(table.IsRegistered(utf8)) << "the UTF-8 name keeps its registration";
    EXPECT_TRUE(table.Unregister(utf8));
}

TEST(FontTableNames, MissingOrBrokenFilesUnderOddNamesAreRefused)
{
    TTempFolder temp;
    TQtFontTable table;
    EXPECT_FALSE(table.Register(temp / "missing \xff.ttf"));
    EXPECT_FALSE(table.IsRegistered(temp / "missing \xff.ttf"));

    const std::string text = temp.CopyFile(Sandbox::DejaVuSans(), "r\xe9sum\xe9.ttf");
    std::filesystem::resize_file(text, 100);
    EXPECT_FALSE(table.Register(text)) << "a truncated font is no font";
    EXPECT_FALSE(table.IsRegistered(text));
}
