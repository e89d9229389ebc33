#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "font_files.h"
#include "fonts/font_list.h"
#include "fonts/font_walk.h"
#include "fonts/naming_table.h"
#include "platform/fontconfig_store.h"
#include "platform/qt_font_table.h"
#include "preview/raw_font_cache.h"
#include "support/fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/ttf_builder.h"

using namespace fonzeta::test;
namespace fs = std::filesystem;

namespace {

class CatalogueFormats : public ::testing::Test, protected TFakeFontPlatform<> {
protected:
    std::unique_ptr<TFontList> ListFolder(const std::string& folder)
    {
        auto list = std::make_unique<TFontList>(Platform, true);
        list->SetMode(flmFolder);
        list->SetFolder(folder);
        list->Refresh();
        return list;
    }

    static std::string Bytes(const std::vector<uint8_t>& bytes)
    {
        return std::string(bytes.begin(), bytes.end());
    }
};

// Every face of every font the sandbox has, an OpenType (CFF) font and a collection, read
// by a folder listing, against fontTools' reading of the same files.
TEST_F(CatalogueFormats, EveryFaceIsListedWithTheNamesFontToolsReads)
{
    const std::string folder = Temp.MakeFolder("formats");
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(Sandbox::SystemFontFolder()))
        files.push_back(Temp.CopyFile(entry.path().string(), "formats/" + entry.path().filename().string()));
    files.push_back(MakeOpenTypeFont(folder + "/TestSerif.otf", Sandbox::DejaVuSerif(), "Fonzeta Test Serif"));
    files.push_back(MakeCollection(folder + "/Pair.TTC", {Sandbox::NanumGothic(), Sandbox::DejaVuSansBold()}));
    Temp.MakeFolder("formats/sub");
    files.push_back(MakeCollection(folder + "/sub/Single.otc", {Sandbox::DejaVuSans()}));
    WriteBytes(folder + "/type1.pfb", "\x80\x01 not listed");
    WriteBytes(folder + "/bitmap.pcf", "\x01" "fcp not listed");

    const auto reference = ReferenceNames(files);
    size_t faces = 0;
    for (const auto& [file, names] : reference)
        faces += names.size();
    ASSERT_EQ(reference.size(), files.size());
    ASSERT_EQ(reference.at(folder + "/Pair.TTC").size(), 2u);

    auto list = ListFolder(folder);
    ASSERT_EQ(static_cast<size_t>(list->Count()), faces);
    EXPECT_EQ(static_cast<size_t>(CountFontFiles(folder)), faces);
    std::set<std::pair<std::string, int>> seen;
    for (int i = 0; i < list->Count(); ++i) {
        TFontInfo* font = list->Fonts(i);
        SCOPED_TRACE(font->FileName + " face " + std::to_string(font->FaceIndex));
        ASSERT_TRUE(reference.count(font->FileName));
        const auto& expected = reference.at(font->FileName).at(static_cast<size_t>(font->FaceIndex));
        for (int id = 0; id < 8; ++id)
            EXPECT_EQ(*font->NameText(id), expected[static_cast<size_t>(id)]) << "name ID " << id;
        EXPECT_EQ(font->FileSize, static_cast<int64_t>(fs::file_size(font->FileName)));
        EXPECT_TRUE(seen.insert({font->FileName, font->FaceIndex}).second);
    }
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_TRUE(list->Problems().empty());
    // Listing alone registers nothing: the preview draws from the files.
    EXPECT_EQ(Table.Registered(), 0);
    // The collection's faces, in order, with their own names.
    const int second = list->Find("DejaVu Sans Bold");
    ASSERT_GE(second, 0);
    EXPECT_EQ(list->Fonts(second)->FileName, folder + "/Pair.TTC");
    EXPECT_EQ(list->Fonts(second)->FaceIndex, 1);
}

TEST_F(CatalogueFormats, DamagedCollectionHeadersFailWithoutReadingOutside)
{
    const std::vector<uint8_t> a = TTtfBuilder().Name(4, "Face A").Build();
    const std::vector<uint8_t> b = TTtfBuilder().Name(4, "Face B").Table("glyf", 40).Build();
    const std::string good = WriteBytes(Temp / "good.ttc", Bytes(CollectionBytes({a, b})));
    for (int face = 0; face < 2; ++face) {
        TFontInfo font;
        font.FaceIndex = face;
        const TNameReadResult result = ReadNamingTable(font, good, 0x0409);
        EXPECT_EQ(result.Status, TNameReadStatus::Done);
        EXPECT_EQ(result.FaceCount, 2);
        EXPECT_EQ(font.FullName, face == 0 ? "Face A" : "Face B");
    }
    EXPECT_EQ(CountFaces(good), 2);

    std::string header = Bytes(CollectionBytes({a, b}));
    struct TCase {
        const char* Name;
        std::string Bytes;
        int Face;
        int FaceCount;
    };
    auto withCount = [&](uint32_t count) {
        std::string bytes = header;
        bytes[8] = static_cast<char>(count >> 24);
        bytes[9] = static_cast<char>(count >> 16);
        bytes[10] = static_cast<char>(count >> 8);
        bytes[11] = static_cast<char>(count);
        return bytes;
    };
    std::string offsetOutside = header;
    offsetOutside[16] = '\x7F';  // the second face's offset table far past the end
    const std::vector<TCase> cases = {
        {"no faces", withCount(0), 0, 1},
        {"more offsets than the file holds", withCount(0x00FFFFFF), 0, 1},
        {"header cut short", header.substr(0, 14), 0, 1},
        {"face beyond the count", header, 2, 2},
        {"negative face", header, -1, 2},
        {"face offset outside the file", offsetOutside, 1, 2},
        {"only the tag", "ttcf", 0, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = WriteBytes(Temp / "bad.ttc", c.Bytes);
        TFontInfo font;
        font.FaceIndex = c.Face;
        const TNameReadResult result = ReadNamingTable(font, path, 0x0409);
        EXPECT_EQ(result.Status, TNameReadStatus::Failed);
        EXPECT_EQ(result.Message, "Invalid TrueType Font!");
        EXPECT_EQ(result.FaceCount, c.FaceCount);
        EXPECT_EQ(font.FullName, "");
        EXPECT_EQ(CountFaces(path), c.FaceCount);
    }
    // A single font has only face 0.
    TFontInfo font;
    font.FaceIndex = 1;
    EXPECT_EQ(ReadNamingTable(font, Sandbox::DejaVuSans(), 0x0409).Status, TNameReadStatus::Failed);
}

TEST_F(CatalogueFormats, AFaceThatFailsDoesNotHideTheOthers)
{
    const std::vector<uint8_t> broken = TTtfBuilder().Name(4, "Broken").NameTableOffset(0x7FFF0000).Build();
    const std::vector<uint8_t> good = TTtfBuilder().Name(4, "Good Face").Build();
    Temp.MakeFolder("c");
    const std::string path = WriteBytes(Temp / "c/mixed.ttc", Bytes(CollectionBytes({broken, good})));
    auto list = ListFolder(Temp / "c");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Fonts(0)->FullName, "Good Face");
    EXPECT_EQ(list->Fonts(0)->FaceIndex, 1);
    ASSERT_EQ(list->Problems().size(), 1u);
    EXPECT_EQ(list->Problems()[0].Path, path);
    EXPECT_EQ(list->Problems()[0].FaceIndex, 0);
    EXPECT_EQ(list->Problems()[0].Reason, "Invalid Font(1)!");
}

// A name that is no valid UTF-8 (from an old archive or a FAT medium) is walked, listed,
// registered and read like any other, byte for byte.
TEST_F(CatalogueFormats, FileNamesThatAreNotUtf8AreListedAndRegistered)
{
    const std::string folder = Temp.MakeFolder("caf\xE9");
    const std::string latin1 = Temp.CopyFile(Sandbox::DejaVuSans(), "caf\xE9/r\xE9sum\xE9.ttf");
    const std::string broken = Temp.CopyFile(Sandbox::DejaVuSerif(), "caf\xE9/\xFF\xFE.TTF");
    auto list = ListFolder(folder);
    ASSERT_EQ(list->Count(), 2);
    std::set<std::string> paths = {list->Fonts(0)->FileName, list->Fonts(1)->FileName};
    EXPECT_EQ(paths, (std::set<std::string>{latin1, broken}));
    EXPECT_EQ(list->Fonts(0)->FullName, "DejaVu Sans");
    EXPECT_EQ(list->Fonts(1)->FullName, "DejaVu Serif");
    EXPECT_EQ(list->Fonts(0)->FileSize, static_cast<int64_t>(fs::file_size(latin1)));

    // Drawn from the file, as the preview draws every file-backed record.
    TRawFontCache cache;
    for (const std::string& path : {latin1, broken}) {
        std::string reason;
        EXPECT_NE(cache.Face(path, 0, &reason), nullptr) << reason;
    }

    TQtFontTable qtTable;
    Platform.FontTable = &qtTable;
    auto real = ListFolder(folder);
    for (int i = 0; i < real->Count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(real->EnsureRegistered(i));
        const std::string& path = real->Fonts(i)->FileName;
        EXPECT_EQ(qtTable.Families(path),
                  std::vector<std::string>{path == latin1 ? "DejaVu Sans" : "DejaVu Serif"});
    }
    real.reset();
    EXPECT_FALSE(qtTable.IsRegistered(latin1));
    EXPECT_FALSE(qtTable.IsRegistered(broken));
}

// Links: a symbolic link and its target, two links, hard links: one font, under the path
// the walk meets first.
TEST_F(CatalogueFormats, EachFileIsListedOnceWhateverLinksLeadToIt)
{
    const std::string folder = Temp.MakeFolder("links");
    const std::string target = Temp.CopyFile(Sandbox::DejaVuSans(), "links/target.ttf");
    fs::create_symlink("target.ttf", folder + "/soft.ttf");
    fs::create_symlink(target, folder + "/absolute.otf");
    fs::create_hard_link(target, folder + "/hard.ttf");
    Temp.MakeFolder("links/sub");
    fs::create_hard_link(target, folder + "/sub/deeper-hard.TTF");
    const std::string other = Temp.CopyFile(Sandbox::DejaVuSerif(), "links/other.ttf");
    fs::create_directory_symlink(folder, folder + "/sub/loop");

    // The first of the linked names in the order the file system lists them, going into
    // "sub" when it is met.
    std::string first;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == "sub" && first.empty())
            first = folder + "/sub/deeper-hard.TTF";
        else if (name != "other.ttf" && name != "sub" && first.empty())
            first = entry.path().string();
    }

    auto list = ListFolder(folder);
    ASSERT_EQ(list->Count(), 2);
    const int sans = list->Find("DejaVu Sans");
    ASSERT_GE(sans, 0);
    EXPECT_EQ(list->Fonts(sans)->FileName, first);
    EXPECT_EQ(list->Fonts(1 - sans)->FileName, other);
    EXPECT_EQ(CountFontFiles(folder), 2);

    // The installed listing reads each file once too.
    Store.Files = {target, folder + "/soft.ttf", folder + "/hard.ttf", other};
    list->SetMode(flmInstalled);
    list->Refresh();
    EXPECT_EQ(list->Count(), 2);
}

TEST_F(CatalogueFormats, RegistrationWaitsUntilSomethingDrawsByFamily)
{
    std::vector<std::string> log;
    Table.Log = &log;
    const std::string folder = Temp.MakeFolder("lazy");
    const std::string sans = Temp.CopyFile(Sandbox::DejaVuSans(), "lazy/sans.ttf");
    const std::string pair = MakeCollection(folder + "/pair.ttc", {Sandbox::DejaVuSerif(), Sandbox::DejaVuSansBold()});
    const std::string installed = Temp.CopyFile(Sandbox::NanumGothic(), "lazy/nanum.ttf");
    const std::string refused = Temp.CopyFile(Sandbox::DejaVuSansBold(), "lazy/refused.ttf");
    Table.Refused.insert(refused);
    Store.Files = {installed};

    auto list = ListFolder(folder);
    ASSERT_EQ(list->Count(), 5);
    EXPECT_TRUE(log.empty());
    auto index = [&](const std::string& path, int face) {
        for (int i = 0; i < list->Count(); ++i) {
            if (list->Fonts(i)->FileName == path && list->Fonts(i)->FaceIndex == face)
                return i;
        }
        return -1;
    };

    EXPECT_TRUE(list->EnsureRegistered(index(sans, 0)));
    EXPECT_TRUE(list->EnsureRegistered(index(sans, 0)));
    EXPECT_TRUE(list->EnsureRegistered(index(pair, 1)));
    EXPECT_TRUE(list->EnsureRegistered(index(pair, 0)));  // the file has both faces already
    EXPECT_TRUE(list->EnsureRegistered(index(installed, 0)));
    EXPECT_FALSE(list->EnsureRegistered(index(refused, 0)));
    EXPECT_FALSE(list->EnsureRegistered(-1));
    EXPECT_EQ(log, (std::vector<std::string>{"register " + sans, "register " + pair}));
    EXPECT_TRUE(list->Fonts(index(sans, 0))->Temporary);
    EXPECT_TRUE(list->Fonts(index(pair, 1))->Temporary);
    EXPECT_FALSE(list->Fonts(index(pair, 0))->Temporary);
    EXPECT_FALSE(list->Fonts(index(installed, 0))->Temporary);

    // The preview's copies ask the source list, which registers through its own record.
    TFontList preview(Platform, false);
    preview.Assign(*list);
    const TFontInfo* copy = preview.Fonts(index(sans, 0));
    EXPECT_TRUE(preview.EnsureRegistered(index(sans, 0)));
    EXPECT_TRUE(list->EnsureRegistered(*copy));
    TFontInfo stranger;
    stranger.FileName = Temp / "elsewhere.ttf";
    EXPECT_FALSE(list->EnsureRegistered(stranger));
    EXPECT_EQ(log.size(), 2u);

    // Deleting the record that registered gives the file back; another face registers it
    // again, and the list gives back exactly what it took when it goes.
    list->Delete(index(pair, 1));
    EXPECT_FALSE(Table.IsRegistered(pair));
    EXPECT_TRUE(list->EnsureRegistered(index(pair, 0)));
    EXPECT_TRUE(Table.IsRegistered(pair));
    list.reset();
    EXPECT_EQ(Table.Registered(), 0);
    EXPECT_EQ(Table.FailedUnregisters, 0);
}

}  // namespace
