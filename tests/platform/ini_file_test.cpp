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

TEST_F(IniFileTest, NamesWithBlanksAtTheirEndsAreWrittenAsTheyAreMatched)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[Fav]\r\n");
    TIniFile ini(path);
    // A full name with a trailing blank, as some fonts have.
    ASSERT_TRUE(ini.WriteString(" Fav ", "Noto Sans Thin ", "1"));
    ASSERT_TRUE(ini.WriteString("Fav", "Noto Sans Thin  ", "2"));
    ASSERT_TRUE(ini.WriteString(" Group\t", " Other ", "x"));
    EXPECT_EQ(Bytes(path), "[Fav]\r\nNoto Sans Thin=2\r\n[Group]\r\nOther=x\r\n");
    EXPECT_EQ(ini.ReadString("Fav", "Noto Sans Thin ", ""), "2");

    ASSERT_TRUE(ini.DeleteKey("Fav ", " noto sans thin "));
    ASSERT_TRUE(ini.EraseSection("  group "));
    EXPECT_EQ(Bytes(path), "[Fav]\r\n");
    EXPECT_TRUE(ini.ReadSection("Fav").empty());
}

TEST_F(IniFileTest, NamesThatAreNotUtf8MatchByteForByte)
{
    const std::string path = PathOf("a.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("\xFE", "k", "from FE"));
    ASSERT_TRUE(ini.WriteString("\xFF", "k", "from FF"));
    ASSERT_TRUE(ini.WriteString("\xFF", "caf\xE9", "1"));
    ASSERT_TRUE(ini.WriteString("\xFF", "caf\xC9", "2"));
    // ASCII letters still match ignoring case.
    ASSERT_TRUE(ini.WriteString("\xFF", "CAF\xE9", "3"));
    EXPECT_EQ(Bytes(path), "[\xFE]\r\nk=from FE\r\n[\xFF]\r\nk=from FF\r\ncaf\xE9=3\r\ncaf\xC9=2\r\n");
    EXPECT_EQ(ini.ReadString("\xFE", "K", ""), "from FE");
    EXPECT_FALSE(ini.SectionExists("\xEF\xBF\xBD"));  // U+FFFD, what both bytes once became
}

TEST_F(IniFileTest, NamesWithLineBreaksAreStoredAndFoundTheSameWay)
{
    const std::string path = PathOf("a.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("Two\r\nLines", "Key\nName", "1"));
    ASSERT_TRUE(ini.WriteString("Two\r\nLines", "Key\nName", "2"));
    EXPECT_EQ(Bytes(path), "[Two  Lines]\r\nKey Name=2\r\n");
    EXPECT_EQ(ini.ReadString("Two\r\nLines", "Key\nName", ""), "2");
    EXPECT_TRUE(ini.ValueExists("two  lines", "key name"));
    ASSERT_TRUE(ini.DeleteKey("Two\r\nLines", "Key\nName"));
    ASSERT_TRUE(ini.EraseSection("Two\r\nLines"));
    EXPECT_EQ(Bytes(path), "");
}

TEST_F(IniFileTest, ByteOrderMarkIsReadPastAndKept)
{
    const std::string path = PathOf("a.ini");
    Put(path, "\xEF\xBB\xBF[First]\r\nk=1\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"First"});
    EXPECT_EQ(ini.ReadInteger("first", "k", 0), 1);
    ASSERT_TRUE(ini.WriteString("First", "k", "2"));
    ASSERT_TRUE(ini.WriteString("First", "j", "3"));
    EXPECT_EQ(Bytes(path), "\xEF\xBB\xBF[First]\r\nk=2\r\nj=3\r\n");
}

TEST_F(IniFileTest, UnchangedLinesKeepEveryByteTheirEndingsIncluded)
{
    const std::string path = PathOf("a.ini");
    // LF and CR LF endings, a CR inside a line, a comment, a line without "=", and a last
    // line that ends in a CR without its LF.
    Put(path, "; made by hand\n[A]\nx = 1 \r\nodd\rline\n\n[B]\r\nb=2\r");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("B", "b", ""), "2");
    ASSERT_TRUE(ini.WriteString("A", "x", "9"));
    EXPECT_EQ(Bytes(path), "; made by hand\n[A]\nx=9\r\nodd\rline\n\n[B]\r\nb=2\r");
    ASSERT_TRUE(ini.WriteString("A", "y", "8"));
    EXPECT_EQ(Bytes(path), "; made by hand\n[A]\nx=9\r\nodd\rline\ny=8\r\n\n[B]\r\nb=2\r");
    // Only a line that gets a line after it gains the LF its CR began.
    ASSERT_TRUE(ini.WriteString("B", "c", "3"));
    EXPECT_EQ(Bytes(path), "; made by hand\n[A]\nx=9\r\nodd\rline\ny=8\r\n\n[B]\r\nb=2\r\nc=3\r\n");

    Put(path, "[A]\r\nlast=1");
    ASSERT_TRUE(ini.WriteString("New", "k", "v"));
    EXPECT_EQ(Bytes(path), "[A]\r\nlast=1\r\n[New]\r\nk=v\r\n");
}

TEST_F(IniFileTest, KeysThatWouldReadBackAsOtherLinesAreRefused)
{
    const std::string path = PathOf("a.ini");
    Put(path, "[A]\r\nk=1\r\n");
    TIniFile ini(path);
    for (const std::string key : {";comment", " [Section]", "a=b", "=", "\t;x"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(ini.WriteString("A", key, "v"));
        EXPECT_NE(ini.LastError().find(path), std::string::npos) << ini.LastError();
        EXPECT_NE(ini.LastError().find("may not"), std::string::npos) << ini.LastError();
    }
    EXPECT_EQ(Bytes(path), "[A]\r\nk=1\r\n");
    // Inside a name, those characters are harmless.
    ASSERT_TRUE(ini.WriteString("A", "x;[y]", "1"));
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"k", "x;[y]"}));
}

TEST_F(IniFileTest, ManyBatchedKeysLandInTheirSectionAndLeaveTheRestAlone)
{
    const std::string path = PathOf("big.ini");
    std::string original;
    for (int s = 0; s < 200; ++s) {
        original += "[Group " + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 50; ++k)
            original += "Font " + std::to_string(k) + "=" + std::to_string(s * 100 + k) + "\r\n";
    }
    Put(path, original);
    TIniFile ini(path);
    ini.SetAutoFlush(false);
    for (int k = 0; k < 1000; ++k)
        ASSERT_TRUE(ini.WriteString("group 7", "Added " + std::to_string(k), std::to_string(k)));
    ASSERT_TRUE(ini.WriteString("Group 7", "Font 3", "changed"));
    ASSERT_TRUE(ini.UpdateFile());

    const std::string after = Bytes(path);
    const size_t start = original.find("[Group 8]");
    std::string added;
    for (int k = 0; k < 1000; ++k)
        added += "Added " + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    std::string expected = original.substr(0, start) + added + original.substr(start);
    expected.replace(expected.find("Font 3=703"), 10, "Font 3=changed");
    EXPECT_EQ(after, expected);
    TIniFile fresh(path);
    EXPECT_EQ(fresh.ReadSection("Group 7").size(), 1050u);
    EXPECT_EQ(fresh.ReadString("Group 199", "Font 49", ""), "19949");
}

}  // namespace
