#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "platform/ini_file.h"
#include "platform/text_file.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return (Dir.path() + "/" + name).toStdString(); }

    void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    QTemporaryDir Dir;
};

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithSectionAndKey)
{
    const std::string path = PathOf("new.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("Window", "Main", "0,100,100,550,500"));
    EXPECT_EQ(Bytes(path), "[Window]\r\nMain=0,100,100,550,500\r\n");
}

TEST_F(IniFileTest, ExistingKeyIsReplacedInPlaceKeepingItsSpelling)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[Sec]\r\nKey=1\r\nOther=2\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("sec", "KEY", "9"));
    EXPECT_EQ(Bytes(path), "[Sec]\r\nKey=9\r\nOther=2\r\n");
}

TEST_F(IniFileTest, NewKeyGoesToTheEndOfItsSectionBeforeBlankLines)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("A", "c", "3"));
    EXPECT_EQ(Bytes(path), "[A]\r\na=1\r\nc=3\r\n\r\n[B]\r\nb=1\r\n");
}

TEST_F(IniFileTest, KeyIntoEmptySectionFollowsItsHeader)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[Empty]\r\n[B]\r\nb=1\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("EMPTY", "k", "v"));
    EXPECT_EQ(Bytes(path), "[Empty]\r\nk=v\r\n[B]\r\nb=1\r\n");
}

TEST_F(IniFileTest, MissingSectionIsAppendedAtTheEndOfTheFile)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[A]\r\na=1\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("New", "x", ""));
    EXPECT_EQ(Bytes(path), "[A]\r\na=1\r\n[New]\r\nx=\r\n");
}

TEST_F(IniFileTest, OnlyTheFirstEqualsSignSeparatesKeyAndValue)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[Fav]\r\nMy Font=/a=b/c.ttf\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("fav", "my font", "?"), "/a=b/c.ttf");
    EXPECT_EQ(ini.ReadSection("Fav"), std::vector<std::string>{"My Font"});
}

TEST_F(IniFileTest, NamesMatchIgnoringCaseAlsoBeyondAscii)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[ÄÖ Group]\r\nÉcole=1\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("äö group", "école", ""), "1");
    EXPECT_TRUE(ini.SectionExists("äÖ GROUP"));
}

TEST_F(IniFileTest, SectionsAndKeysAreListedInFileOrder)
{
    const std::string path = PathOf("a.ini");
    Put(path, "; comment\r\n[Zeta]\r\nb=1\r\na=2\r\n\r\n[]\r\n[Alpha]\r\nlonely\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Zeta", "", "Alpha"}));
    EXPECT_EQ(ini.ReadSection("zeta"), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ini.ReadSection("Alpha"), std::vector<std::string>{"lonely"});
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

TEST_F(IniFileTest, ReadsFallBackToTheDefault)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[Option]\r\nSize=abc\r\nBig=99999999999\r\nNeg=-4\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Option", "Nope", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Option", "Size", 16), 16);
    EXPECT_EQ(ini.ReadInteger("Option", "Big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Option", "Neg", 0), -4);
    TIniFile missing(PathOf("none.ini"));
    EXPECT_EQ(missing.ReadInteger("A", "b", 3), 3);
    EXPECT_TRUE(missing.ReadSections().empty());
}

TEST_F(IniFileTest, DeleteKeyRemovesOnlyThatLine)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=3\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.DeleteKey("a", "X"));
    EXPECT_EQ(Bytes(path), "[A]\r\ny=2\r\n[B]\r\nx=3\r\n");
    ASSERT_TRUE(ini.DeleteKey("A", "missing"));
    EXPECT_EQ(Bytes(path), "[A]\r\ny=2\r\n[B]\r\nx=3\r\n");
}

TEST_F(IniFileTest, EraseSectionRemovesHeaderAndKeys)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[A]\r\nx=1\r\n[B]\r\ny=2\r\n\r\n[C]\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.EraseSection("b"));
    EXPECT_EQ(Bytes(path), "[A]\r\nx=1\r\n[C]\r\n");
    ASSERT_TRUE(ini.EraseSection("C"));
    EXPECT_EQ(Bytes(path), "[A]\r\nx=1\r\n");
}

TEST_F(IniFileTest, EmptySectionStaysAsAHeaderLine)
{
    const std::string path = PathOf("a.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("G", "k", "v"));
    ASSERT_TRUE(ini.DeleteKey("G", "k"));
    EXPECT_EQ(Bytes(path), "[G]\r\n");
    EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"G"});
}

TEST_F(IniFileTest, LineBreaksInNamesOrValuesCannotAddLines)
{
    const std::string path = PathOf("a.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("G", "Evil\r\n[X]", "a\nb"));
    EXPECT_EQ(Bytes(path), "[G]\r\nEvil  [X]=a b\r\n");
}

TEST_F(IniFileTest, DamagedFileKeepsTheLinesItCannotUnderstand)
{
    const std::string path = PathOf("a.ini");
    using namespace std::string_literals;
    const std::string garbage = "\x01\x02\xff\xfe[[[\0zz\r\n\0=\x80\x81\n[Window\r\n]]]=[\r\n"
                                "[Option]\r\nSize=20\r\n\xc3\x28 broken utf8\r\n"s;
    Put(path, garbage);
    std::vector<std::string> before;
    std::string error;
    ASSERT_TRUE(LoadTextLines(path, before, error));
    ASSERT_EQ(before.size(), 7u);
    ASSERT_EQ(before[1].size(), 4u);  // the NUL byte is part of the line

    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Option", "Size", 0), 20);
    ASSERT_TRUE(ini.WriteString("Option", "Style", "3"));

    std::vector<std::string> after;
    ASSERT_TRUE(LoadTextLines(path, after, error));
    std::vector<std::string> expected = before;
    expected.push_back("Style=3");
    EXPECT_EQ(after, expected);
}

TEST_F(IniFileTest, BatchedWritesReachTheDiskOnlyOnUpdate)
{
    const std::string path = PathOf("batch.ini");
    Put(path, "[A]\r\nx=1\r\n");
    TIniFile ini(path);
    ini.SetAutoFlush(false);
    ASSERT_TRUE(ini.WriteString("A", "x", "2"));
    ASSERT_TRUE(ini.WriteString("B", "y", "3"));
    EXPECT_EQ(ini.ReadString("A", "x", ""), "2");
    EXPECT_EQ(Bytes(path), "[A]\r\nx=1\r\n");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(Bytes(path), "[A]\r\nx=2\r\n[B]\r\ny=3\r\n");
}

TEST_F(IniFileTest, FailedWriteReportsThePathAndChangesNothing)
{
    const std::string path = PathOf("no-such-folder/a.ini");
    TIniFile ini(path);
    EXPECT_FALSE(ini.WriteString("A", "x", "1"));
    EXPECT_NE(ini.LastError().find(path), std::string::npos) << ini.LastError();
    EXPECT_EQ(ini.ReadString("A", "x", "none"), "none");
}

TEST_F(IniFileTest, EachCallSeesEditsMadeToTheFileAsLines)
{
    const std::string path = PathOf("a.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("A", "x", "1"));
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(LoadTextLines(path, lines, error));
    lines.push_back("[B]");
    ASSERT_TRUE(SaveTextLines(path, lines, error));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B"}));
    ASSERT_TRUE(ini.WriteString("B", "y", "2"));
    EXPECT_EQ(Bytes(path), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST_F(IniFileTest, TextLinesUseCrLfAndReadLfOnlyFiles)
{
    const std::string path = PathOf("lines.txt");
    Put(path, "one\ntwo\r\n\r\nthree");
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(LoadTextLines(path, lines, error));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "three"}));
    ASSERT_TRUE(SaveTextLines(path, lines, error));
    EXPECT_EQ(Bytes(path), "one\r\ntwo\r\n\r\nthree\r\n");
}

TEST_F(IniFileTest, LoadingAMissingFileSaysWhich)
{
    const std::string path = PathOf("missing.fav");
    std::vector<std::string> lines{"keep"};
    std::string error;
    EXPECT_FALSE(LoadTextLines(path, lines, error));
    EXPECT_EQ(error.rfind("Cannot open file " + path, 0), 0u) << error;
    EXPECT_EQ(lines, std::vector<std::string>{"keep"});
}

}  // namespace
