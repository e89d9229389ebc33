#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "fonts/font_info.h"
#include "fonts/naming_table.h"
#include "platform/platform.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/ttf_builder.h"

using namespace fonzeta::test;
namespace fs = std::filesystem;

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kKorean = 0x0412;
constexpr uint16_t kGerman = 0x0407;
const std::string kNanum = "\xEB\x82\x98\xEB\x88\x94\xEA\xB3\xA0\xEB\x94\x95";  // 나눔고딕

class NamingTable : public ::testing::Test {
protected:
    NamingTable()
    {
        Platform.Dialogs = &Dialogs;
        Platform.Locale = &Locale;
    }

    // Reads `path` for a user of `langID` the way a listing does, messages included.
    TFontInfo Read(const std::string& path, uint16_t langID = kEnglish, uint16_t preferred = 0)
    {
        Locale.LangID = langID;
        TFontInfo font;
        font.PreferredLangID = preferred;
        ReadFontNames(font, path, Platform);
        return font;
    }

    std::string Write(const TTtfBuilder& builder, const std::string& name = "test.ttf")
    {
        return builder.Write(Temp / name);
    }

    // The one message box a failing file shows.
    void ExpectOneMessage(const std::string& text)
    {
        ASSERT_EQ(Dialogs.Shown.size(), 1u);
        EXPECT_EQ(Dialogs.Shown[0].Text, text);
        EXPECT_EQ(Dialogs.Shown[0].Buttons, TMsgButtons::Ok);
    }

    TScriptedDialogs Dialogs;
    TFakeLocale Locale;
    TPlatform Platform;
    TTempFolder Temp;
};

TEST_F(NamingTable, ReadsTheEnglishNamesOfARealFont)
{
    const TFontInfo font = Read(Sandbox::DejaVuSans());
    EXPECT_EQ(font.FileName, Sandbox::DejaVuSans());
    EXPECT_EQ(font.FileSize, static_cast<int64_t>(fs::file_size(Sandbox::DejaVuSans())));
    EXPECT_EQ(font.FullName, "DejaVu Sans");
    EXPECT_EQ(font.FamilyName, "DejaVu Sans");
    EXPECT_EQ(font.SubfamilyName, "Book");
    EXPECT_EQ(font.UniqueID, "DejaVu Sans");
    EXPECT_EQ(font.Version, "Version 2.37");
    EXPECT_EQ(font.PostScriptName, "DejaVuSans");
    EXPECT_EQ(font.Copyright.rfind("Copyright (c) 2003 by Bitstream, Inc.", 0), 0u);
    EXPECT_EQ(font.Trademark, "");
    EXPECT_EQ(font.LangID, kEnglish);
    EXPECT_TRUE(Dialogs.Shown.empty());

    EXPECT_EQ(Read(Sandbox::DejaVuSansBold()).FullName, "DejaVu Sans Bold");
}

TEST_F(NamingTable, KoreanFontGivesTheLanguageThatComesFirstOrThePreferredOne)
{
    // The Nanum file holds its US English records before its Korean ones.
    const TFontInfo korean = Read(Sandbox::NanumGothic(), kKorean);
    EXPECT_EQ(korean.FullName, "NanumGothic");
    EXPECT_EQ(korean.Trademark, "NanumGothic Regular is a registered trademark of NHN Corporation.");
    EXPECT_EQ(korean.LangID, kEnglish);

    const TFontInfo onlyKorean = Read(Sandbox::NanumGothic(), kKorean, kKorean);
    EXPECT_EQ(onlyKorean.FullName, kNanum);
    EXPECT_EQ(onlyKorean.FamilyName, kNanum);
    EXPECT_EQ(onlyKorean.SubfamilyName, "Regular");
    EXPECT_EQ(onlyKorean.Copyright, "");
    EXPECT_EQ(onlyKorean.LangID, kKorean);

    // The properties window asks for US English whatever the user's language.
    EXPECT_EQ(Read(Sandbox::NanumGothic(), kKorean, kEnglish).FullName, "NanumGothic");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, FirstTakenRecordOfEachNameWinsInTheUsersLanguageOrUSEnglish)
{
    const std::string koreanFirst = Write(TTtfBuilder()
                                              .Name(4, kNanum, kKorean)
                                              .Name(4, "Nanum Gothic", kEnglish)
                                              .Name(1, "Nanum", kEnglish)
                                              .Name(1, kNanum, kKorean),
                                          "korean-first.ttf");
    const TFontInfo forKorean = Read(koreanFirst, kKorean);
    EXPECT_EQ(forKorean.FullName, kNanum);
    EXPECT_EQ(forKorean.FamilyName, "Nanum");
    EXPECT_EQ(forKorean.LangID, kEnglish);  // the language of the last record taken

    const TFontInfo forEnglish = Read(koreanFirst, kEnglish);
    EXPECT_EQ(forEnglish.FullName, "Nanum Gothic");
    EXPECT_EQ(forEnglish.FamilyName, "Nanum");

    const std::string englishFirst = Write(
        TTtfBuilder().Name(4, "Nanum Gothic", kEnglish).Name(4, kNanum, kKorean), "english-first.ttf");
    const TFontInfo koreanUser = Read(englishFirst, kKorean);
    EXPECT_EQ(koreanUser.FullName, "Nanum Gothic");
    EXPECT_EQ(koreanUser.LangID, kEnglish);

    // A German user gets US English; German records are taken only for a German user.
    const std::string german = Write(
        TTtfBuilder().Name(4, "Schrift", kGerman).Name(4, "Typeface", kEnglish), "german.ttf");
    EXPECT_EQ(Read(german, kGerman).FullName, "Schrift");
    EXPECT_EQ(Read(german, kKorean).FullName, "Typeface");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, WansungRecordsAreTakenOnlyInKorean)
{
    for (const bool zeroHighBytes : {false, true}) {
        SCOPED_TRACE(zeroHighBytes ? "one byte per unit" : "two bytes per unit");
        const std::string wansungFirst = Write(TTtfBuilder()
                                                   .WansungName(4, "A " + kNanum, zeroHighBytes)
                                                   .Name(4, "Nanum Gothic", kEnglish)
                                                   .WansungName(1, kNanum, zeroHighBytes),
                                               "wansung-first.ttf");
        const TFontInfo korean = Read(wansungFirst, kKorean);
        EXPECT_EQ(korean.FullName, "A " + kNanum);
        EXPECT_EQ(korean.FamilyName, kNanum);
        EXPECT_EQ(korean.LangID, kKorean);

        const TFontInfo english = Read(wansungFirst, kEnglish);
        EXPECT_EQ(english.FullName, "Nanum Gothic");
        EXPECT_EQ(english.FamilyName, "");
    }

    const std::string unicodeFirst = Write(
        TTtfBuilder().Name(4, "Nanum Gothic", kEnglish).WansungName(4, kNanum), "unicode-first.ttf");
    EXPECT_EQ(Read(unicodeFirst, kKorean).FullName, "Nanum Gothic");

    // A Wansung record marked US English is never taken without a preferred language.
    const std::string mislabelled = Write(
        TTtfBuilder().WansungName(4, "Wrong", false, kEnglish).Name(4, "Right", kEnglish),
        "mislabelled.ttf");
    EXPECT_EQ(Read(mislabelled, kEnglish).FullName, "Right");
    EXPECT_EQ(Read(mislabelled, kKorean).FullName, "Right");
    EXPECT_EQ(Read(mislabelled, kEnglish, kEnglish).FullName, "Wrong");
}

TEST_F(NamingTable, SkipsRecordsOfOtherPlatformsNamesAndEmptyOnes)
{
    TNameRecordLayout mac;
    mac.PlatformID = 1;
    mac.EncodingID = 0;
    mac.LanguageID = 0;
    mac.NameID = 4;
    mac.Bytes = "Mac Name";
    TNameRecordLayout negative;
    negative.NameID = 0xFFFF;
    negative.Bytes = Utf16BE("Negative");
    TNameRecordLayout empty;
    empty.NameID = 4;
    const std::string path = Write(TTtfBuilder()
                                       .Record(mac)
                                       .Record(negative)
                                       .Record(empty)
                                       .Name(8, "Manufacturer")
                                       .Name(4, "Microsoft Name"));
    const TFontInfo font = Read(path);
    EXPECT_EQ(font.FullName, "Microsoft Name");
    EXPECT_EQ(font.Copyright, "");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, OnlyForeignRecordsLeaveTheNamesEmptyButTheFileKnown)
{
    const std::string path = Write(
        TTtfBuilder().Table("head", 54).Name(1, "Schrift", kGerman).Name(4, "Schrift Fett", kGerman));
    TFontInfo font = Read(path, kKorean);
    EXPECT_EQ(font.FileName, path);
    EXPECT_EQ(font.FileSize, static_cast<int64_t>(fs::file_size(path)));
    EXPECT_EQ(font.FullName, "");
    EXPECT_EQ(font.FamilyName, "");
    EXPECT_EQ(font.LangID, 0);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, StopsOnceAllEightNamesAreTaken)
{
    TTtfBuilder builder;
    for (uint16_t id = 0; id < 8; ++id)
        builder.Name(id, "Name " + std::to_string(id));
    TNameRecordLayout broken;
    broken.NameID = 1;
    broken.Bytes = Utf16BE("x");
    broken.Offset = 0xFFF0;
    builder.Record(broken);
    const TFontInfo font = Read(Write(builder));
    EXPECT_EQ(font.Trademark, "Name 7");
    EXPECT_EQ(font.Copyright, "Name 0");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, MissingFileOrFolderLeavesTheRecordUntouched)
{
    TFontInfo font;
    font.FullName = "kept";
    EXPECT_EQ(ReadNamingTable(font, Temp / "absent.ttf", kEnglish).Status, TNameReadStatus::Missing);
    EXPECT_EQ(ReadNamingTable(font, Temp.Path(), kEnglish).Status, TNameReadStatus::Missing);
    EXPECT_EQ(ReadNamingTable(font, Temp / "absent/inside.ttf", kEnglish).Status,
              TNameReadStatus::Missing);
    EXPECT_EQ(font.FullName, "kept");
    EXPECT_EQ(font.FileName, "");
    EXPECT_EQ(font.FileSize, 0);
    ReadFontNames(font, Temp / "absent.ttf", Platform);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, FilesThatAreNoTrueTypeFontFailWithInvalidTrueTypeFont)
{
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    const std::vector<TCase> cases = {
        {"empty.ttf", ""},
        {"four.ttf", std::string("\0\1\0\0", 4)},
        {"text.ttf", "This is not a font at all, only some text.\n"},
        {"zero-tables.ttf", [] {
             const auto b = TTtfBuilder().Name(4, "X").NumTables(0).Build();
             return std::string(b.begin(), b.end());
         }()},
        {"fifty-one.ttf", [] {
             const auto b = TTtfBuilder().Name(4, "X").NumTables(51).Build();
             return std::string(b.begin(), b.end());
         }()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Dialogs.Shown.clear();
        const std::string path = WriteBytes(Temp / c.Name, c.Bytes);
        const TFontInfo font = Read(path);
        EXPECT_EQ(font.FileName, path);
        EXPECT_EQ(font.FileSize, static_cast<int64_t>(c.Bytes.size()));
        EXPECT_EQ(font.FullName, "");
        ExpectOneMessage(path + "\nInvalid TrueType Font!");
    }
}

TEST_F(NamingTable, TableDirectoriesWithoutANamingTableGiveOnlyTheFile)
{
    const auto noName = Write(TTtfBuilder().Table("head", 54).Table("cmap", 10).WithoutNameTable(),
                              "no-name.ttf");
    EXPECT_EQ(Read(noName).FullName, "");
    // Fifty tables promised, but the file ends inside the directory.
    const auto shortDirectory = Write(
        TTtfBuilder().Table("head", 54).Name(4, "X").NumTables(50).TruncateTo(30), "short-directory.ttf");
    EXPECT_EQ(Read(shortDirectory).FileSize, 30);
    const auto negative = Write(TTtfBuilder().Name(4, "X").NameTableOffset(0x80000010), "negative.ttf");
    EXPECT_EQ(Read(negative).FullName, "");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, OffsetsOutsideTheFileEndInAMessageAndKeepWhatWasRead)
{
    const auto farTable = Write(TTtfBuilder().Name(4, "X").NameTableOffset(100000), "far.ttf");
    EXPECT_EQ(Read(farTable).FullName, "");
    ExpectOneMessage(farTable + "\nInvalid Font(1)!");

    Dialogs.Shown.clear();
    const auto cutHeader = Write(TTtfBuilder().Name(4, "X").TruncateTo(12 + 16 + 3), "cut-header.ttf");
    Read(cutHeader);
    ExpectOneMessage(cutHeader + "\nInvalid Font(1)!");

    // Three records promised, two in the file, the third cut short by the end.
    Dialogs.Shown.clear();
    const auto cutRecords = Write(TTtfBuilder()
                                      .Name(1, "")  // no bytes: skipped, so its text is not needed
                                      .Name(4, "")
                                      .NameCount(3)
                                      .StringOffset(6 + 12 * 2)
                                      .TruncateTo(12 + 16 + 6 + 12 * 2 + 5),
                                  "cut-records.ttf");
    Read(cutRecords);
    ExpectOneMessage(cutRecords + "\nInvalid Font(2)!");

    Dialogs.Shown.clear();
    const auto huge = Write(TTtfBuilder().Name(1, "Family").Name(4, "Full").NameCount(65535), "huge.ttf");
    const TFontInfo font = Read(huge);
    EXPECT_EQ(font.FamilyName, "Family");
    EXPECT_EQ(font.FullName, "Full");
    ExpectOneMessage(huge + "\nInvalid Font(2)!");
}

TEST_F(NamingTable, StringsOutsideTheFileStopReadingWithAPlainMessage)
{
    TNameRecordLayout farString;
    farString.NameID = 4;
    farString.Bytes = Utf16BE("Far");
    farString.Offset = 60000;
    const auto offsetPath = Write(TTtfBuilder().Name(1, "Family").Record(farString).Name(6, "Post"),
                                  "far-string.ttf");
    const TFontInfo font = Read(offsetPath);
    EXPECT_EQ(font.FamilyName, "Family");
    EXPECT_EQ(font.PostScriptName, "");
    ExpectOneMessage("Invalid StorageOffset or StrOffset retrived!");

    // The storage itself placed past the end moves every string out.
    Dialogs.Shown.clear();
    Read(Write(TTtfBuilder().Name(4, "Full").StringOffset(65000), "far-storage.ttf"));
    ExpectOneMessage("Invalid StorageOffset or StrOffset retrived!");

    // Checked before the language: a record the user would never see still stops reading.
    TNameRecordLayout longString;
    longString.LanguageID = kGerman;
    longString.NameID = 4;
    longString.Bytes = Utf16BE("Lang");
    longString.Length = 5000;
    Dialogs.Shown.clear();
    const TFontInfo cut =
        Read(Write(TTtfBuilder().Record(longString).Name(4, "Full"), "long-string.ttf"));
    EXPECT_EQ(cut.FullName, "");
    ExpectOneMessage("Invalid StrLen!");
}

TEST_F(NamingTable, NamesOf1024BytesOrMoreAreCutToWholeCharacters)
{
    const std::string longName(600, 'N');  // 1200 bytes as UTF-16
    TNameRecordLayout odd;
    odd.NameID = 1;
    odd.Bytes = Utf16BE(std::string(512, 'F')).substr(0, 1023);
    const TFontInfo font = Read(Write(TTtfBuilder().Name(4, longName).Record(odd)));
    EXPECT_EQ(font.FullName, std::string(511, 'N'));
    EXPECT_EQ(font.FamilyName, std::string(511, 'F'));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NamingTable, FilesThatCannotBeOpenedFailWithoutWaiting)
{
    const std::string pipe = Temp / "pipe.ttf";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    TFontInfo font = Read(pipe);
    EXPECT_EQ(font.FileName, pipe);
    EXPECT_EQ(font.FileSize, 0);
    ExpectOneMessage(pipe + "\nOpen font file failed!");

    const std::string locked = Temp.CopyFile(Sandbox::DejaVuSans(), "locked.ttf");
    fs::permissions(locked, fs::perms::none);
    Dialogs.Shown.clear();
    {
        TObeyFilePermissions obey;
        ASSERT_TRUE(obey.Active());
        font = Read(locked);
    }
    EXPECT_EQ(font.FileName, locked);
    EXPECT_EQ(font.FileSize, 0);
    EXPECT_EQ(font.FullName, "");
    ExpectOneMessage(locked + "\nOpen font file failed!");
}

TEST_F(NamingTable, ReadingWithoutDialogsReportsTheOutcome)
{
    TFontInfo font;
    const auto result = ReadNamingTable(font, WriteBytes(Temp / "bad.ttf", "xx"), kEnglish);
    EXPECT_EQ(result.Status, TNameReadStatus::Failed);
    EXPECT_EQ(result.Message, "Invalid TrueType Font!");
    EXPECT_EQ(ReadNamingTable(font, Sandbox::DejaVuSerif(), kEnglish).Status, TNameReadStatus::Done);
    EXPECT_EQ(font.FullName, "DejaVu Serif");
}

std::string Decode(const std::string& bytes, uint16_t encoding)
{
    return DecodeNameString(reinterpret_cast<const uint8_t*>(bytes.data()), encoding, bytes.size());
}

bool ZeroHigh(const std::string& bytes)
{
    return HasZeroHighByteCode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(DecodeNameString, UnicodeRecordsBecomeUtf8)
{
    EXPECT_EQ(Decode(Utf16BE("Caf\xC3\xA9 " + kNanum), 1), "Caf\xC3\xA9 " + kNanum);
    EXPECT_EQ(Decode(std::string("\xD8\x3D\xDE\x00", 4), 1), "\xF0\x9F\x98\x80");  // U+1F600
    EXPECT_EQ(Decode(std::string("\xD8\x3D\x00\x41", 4), 1), "\xEF\xBF\xBD" "A");  // lone surrogate
    EXPECT_EQ(Decode(std::string("\x00\x41\x00\x00\x00\x42", 6), 1), "A");  // ends at a zero unit
    EXPECT_EQ(Decode(std::string("\x00\x41\x30", 3), 0), "A\xE3\x80\x80");  // odd byte: high half
    EXPECT_EQ(Decode("", 1), "");
}

TEST(DecodeNameString, WansungKeepsTheBytesOfTheKoreanText)
{
    const std::string cp949 = ToCp949(kNanum);
    std::string zeroHigh;
    for (const char c : cp949)
        zeroHigh += std::string(1, '\0') + c;
    EXPECT_TRUE(ZeroHigh(zeroHigh));
    EXPECT_EQ(Decode(zeroHigh, 5), kNanum);

    const std::string paired = std::string("\0A", 2) + cp949;
    EXPECT_FALSE(ZeroHigh(paired));
    EXPECT_EQ(Decode(paired, 5), "A" + kNanum);

    // A zero high byte before a high low byte, but the text does not start with zero.
    const std::string mixed("\x41\x00\x00\x80", 4);
    EXPECT_TRUE(ZeroHigh(mixed));
    EXPECT_EQ(Decode(mixed, 5), "");

    // Bytes the code page cannot decode are marked, the rest kept.
    EXPECT_EQ(Decode(std::string("\0A\xFF\xFF\0B", 6), 5), "A\xEF\xBF\xBD\xEF\xBF\xBD" "B");
    // A lead byte without its trail byte at the end.
    EXPECT_EQ(Decode(std::string("\0A\xB3", 3), 5), "A\xEF\xBF\xBD");
}

TEST(HasZeroHighByteCode, StepsOverPairsAndLooksOnlyInsideTheLength)
{
    EXPECT_FALSE(ZeroHigh(std::string("\0A\0B", 4)));
    EXPECT_FALSE(ZeroHigh(std::string("\xB3\xAA", 2)));
    EXPECT_FALSE(ZeroHigh(std::string("\0", 1)));
    EXPECT_FALSE(ZeroHigh(std::string("A\0", 2)));
    EXPECT_TRUE(ZeroHigh(std::string("\0\x80", 2)));
    // After a zero the step is three bytes, so the zero at index 2 is never looked at.
    EXPECT_FALSE(ZeroHigh(std::string("\0A\0\x80", 4)));
    EXPECT_FALSE(HasZeroHighByteCode(reinterpret_cast<const uint8_t*>("\0\x80"), 1));
}

}  // namespace
