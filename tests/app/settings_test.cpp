#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "platform/ini_file.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    std::string Path() const { return Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(); }

    void Write(const std::string& text) const
    {
        std::ofstream out(Path(), std::ios::binary);
        out << text;
    }

    std::string Read() const
    {
        std::ifstream in(Path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TSettings Load(std::vector<std::string>* problems = nullptr) const
    {
        TIniFile ini(Path());
        TSettings settings;
        const auto found = ReadSettings(ini, settings);
        if (problems)
            *problems = found;
        return settings;
    }

    QTemporaryDir Dir;
};

TEST_F(SettingsFile, MissingFileGivesTheFirstRunDefaults)
{
    std::vector<std::string> problems;
    const TSettings s = Load(&problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_FALSE(s.Maximized);
    EXPECT_EQ(s.Left, 100);
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Width, 550);
    EXPECT_EQ(s.Height, 500);
    EXPECT_EQ(s.Pane, spNone);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.Style, 0);
    EXPECT_EQ(s.Size, 16);
    EXPECT_FALSE(s.AntiAlias);
    EXPECT_EQ(s.Back, 0xFFFFFF);
    EXPECT_EQ(s.Fore, 0);
    EXPECT_EQ(s.Name, 32768);
    EXPECT_TRUE(s.History.empty());
}

TEST_F(SettingsFile, WritesEveryKeyInOrderAndReadsItBack)
{
    TSettings s;
    s.Left = 10;
    s.Top = 20;
    s.Width = 600;
    s.Height = 450;
    s.Pane = spFavorites;
    s.ViewMode = 2;
    s.Path = "/home/me/fonts";
    s.Style = fsBold | fsItalic | fsUnderline;
    s.Size = 24;
    s.AntiAlias = true;
    s.Back = 255;
    s.Fore = 65280;
    s.History = {"The quick brown fox", "한글 보기"};
    TIniFile ini(Path());
    ASSERT_TRUE(WriteSettings(ini, s));
    EXPECT_EQ(Read(),
              "[Window]\r\nMain=0,10,20,600,450\r\n"
              "[Option]\r\nLeft=2\r\nViewMode=2\r\nPath=/home/me/fonts\r\n"
              "[Font]\r\nStyle=14\r\nSize=24\r\nAntiAlias=1\r\n"
              "[Color]\r\nBack=255\r\nFore=65280\r\n"
              "[History]\r\n1=The quick brown fox\r\n2=한글 보기\r\n");

    const TSettings back = Load();
    EXPECT_EQ(back.Left, 10);
    EXPECT_EQ(back.Top, 20);
    EXPECT_EQ(back.Width, 600);
    EXPECT_EQ(back.Height, 450);
    EXPECT_EQ(back.Pane, spFavorites);
    EXPECT_EQ(back.ViewMode, 2);
    EXPECT_EQ(back.Path, "/home/me/fonts");
    EXPECT_EQ(back.Style, fsBold | fsItalic | fsUnderline);
    EXPECT_EQ(back.Size, 24);
    EXPECT_TRUE(back.AntiAlias);
    EXPECT_EQ(back.Back, 255);
    EXPECT_EQ(back.Fore, 65280);
    EXPECT_EQ(back.History, s.History);
}

TEST_F(SettingsFile, PathIsWrittenAndReadOnlyForAFolderSource)
{
    Write("[Option]\r\nViewMode=0\r\nPath=/somewhere\r\n");
    EXPECT_EQ(Load().Path, "");

    TSettings s;
    s.ViewMode = 1;
    s.Path = "/not/written";
    TIniFile ini(Path());
    ASSERT_TRUE(WriteSettings(ini, s));
    EXPECT_EQ(Read().find("/not/written"), std::string::npos);
    // The old folder line is left alone.
    EXPECT_NE(Read().find("Path=/somewhere\r\n"), std::string::npos);
}

TEST_F(SettingsFile, StyleBitsAreShiftedByOne)
{
    Write("[Font]\r\nStyle=6\r\n");
    EXPECT_EQ(Load().Style, fsBold | fsItalic);
    Write("[Font]\r\nStyle=8\r\n");
    EXPECT_EQ(Load().Style, fsUnderline);
    Write("[Font]\r\nStyle=1\r\n");
    EXPECT_EQ(Load().Style, 0);
}

TEST_F(SettingsFile, AMaximisedWindowIsKept)
{
    Write("[Window]\r\nMain=1,5,6,700,600\r\n");
    const TSettings s = Load();
    EXPECT_TRUE(s.Maximized);
    EXPECT_EQ(s.Width, 700);
}

TEST_F(SettingsFile, ADamagedWindowValueIsReportedAndTheRestStillLoads)
{
    for (const char* bad : {"1,2,x,4,5", "0,100,100,550", "0,100,100,550,500,7", "", "0,,1,2,3",
                            "0,100,100,550,99999999999"}) {
        Write(std::string("[Window]\r\nMain=") + bad +
              "\r\n[Font]\r\nSize=30\r\n[Color]\r\nBack=123\r\n");
        std::vector<std::string> problems;
        const TSettings s = Load(&problems);
        ASSERT_EQ(problems.size(), 1u) << bad;
        EXPECT_NE(problems[0].find("[Window] Main"), std::string::npos);
        EXPECT_NE(problems[0].find(Path()), std::string::npos);
        EXPECT_EQ(s.Left, 100) << bad;
        EXPECT_EQ(s.Width, 550) << bad;
        EXPECT_FALSE(s.Maximized);
        EXPECT_EQ(s.Size, 30) << bad;
        EXPECT_EQ(s.Back, 123) << bad;
    }
}

TEST_F(SettingsFile, UnreadableNumbersKeepTheirDefaults)
{
    Write("[Option]\r\nViewMode=9\r\nLeft=two\r\n[Font]\r\nSize=big\r\nAntiAlias=yes\r\n"
          "[Color]\r\nFore=\r\n");
    const TSettings s = Load();
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.Pane, 0);
    EXPECT_EQ(s.Size, 16);
    EXPECT_FALSE(s.AntiAlias);
    EXPECT_EQ(s.Fore, 0);
}

TEST_F(SettingsFile, NameColourIsReadButNeverWritten)
{
    Write("[Color]\r\nName=255\r\nBack=0\r\n[Other]\r\nKeep=me\r\n");
    EXPECT_EQ(Load().Name, 255);
    TSettings s;
    s.Name = 99;
    TIniFile ini(Path());
    ASSERT_TRUE(WriteSettings(ini, s));
    const std::string text = Read();
    EXPECT_NE(text.find("[Color]\r\nName=255\r\nBack=16777215\r\nFore=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Other]\r\nKeep=me\r\n"), std::string::npos);
}

TEST_F(SettingsFile, HistoryIsErasedAndRenumberedFromOne)
{
    Write("[History]\r\n3=three\r\n7=seven\r\n1=one\r\n[Font]\r\nSize=20\r\n");
    // Keys 1..3, three being the number of lines; key 2 is missing and reads empty.
    EXPECT_EQ(Load().History, (std::vector<std::string>{"one", "", "three"}));

    TSettings s;
    s.History = {"alpha", "beta"};
    TIniFile ini(Path());
    ASSERT_TRUE(WriteSettings(ini, s));
    const std::string text = Read();
    EXPECT_NE(text.find("[History]\r\n1=alpha\r\n2=beta\r\n"), std::string::npos);
    EXPECT_EQ(text.find("seven"), std::string::npos);
    EXPECT_EQ(text.find("three"), std::string::npos);

    s.History.clear();
    TIniFile again(Path());
    ASSERT_TRUE(WriteSettings(again, s));
    EXPECT_EQ(Read().find("[History]"), std::string::npos);
}

TEST_F(SettingsFile, AFailedWriteIsReported)
{
    // A plain file where the folder should be: nothing can be created below it.
    const std::string blocker = Dir.filePath(QStringLiteral("blocker")).toStdString();
    std::ofstream(blocker) << "x";
    TIniFile ini(blocker + "/fonzeta.ini");
    EXPECT_FALSE(WriteSettings(ini, TSettings()));
    EXPECT_FALSE(ini.LastError().empty());
}

}  // namespace
