#include <gtest/gtest.h>

#include <memory>

#include "fonts/font_list.h"
#include "support/fakes.h"
#include "support/font_fakes.h"

using namespace fonzeta::test;

namespace {

std::unique_ptr<TFontInfo> FileFont(const std::string& path, const std::string& name, bool temporary)
{
    auto font = std::make_unique<TFontInfo>();
    font->FileName = path;
    font->FullName = name;
    font->Temporary = temporary;
    return font;
}

std::vector<std::string> Names(const TFontList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Fonts(i)->FullName);
    return names;
}

class FontList : public ::testing::Test {
protected:
    FontList()
    {
        Store.Folder = "/fonts/of/the/user";
        Store.Files = {"/usr/share/fonts/a.ttf", "/usr/share/fonts/b.TTF", "/usr/share/fonts/c.otf"};
        Platform.FontTable = &Table;
        Platform.FontChange = &Change;
        Platform.InstalledFonts = &Store;
        Platform.Locale = &Locale;
        Platform.Dialogs = &Dialogs;
    }

    // A list that counts its OnChange events in `changes`.
    std::unique_ptr<TFontList> MakeList(bool autoRemove, int& changes)
    {
        auto list = std::make_unique<TFontList>(Platform, autoRemove);
        list->OnChange = [&changes](TFontList*) { ++changes; };
        return list;
    }

    TFakeFontTable Table;
    TFakeFontChange Change;
    TFakeInstalledStore Store;
    TFakeLocale Locale;
    TScriptedDialogs Dialogs;
    TPlatform Platform;
};

TEST(FontInfo, CopyLeavesTheMarkAndThePreferredLanguage)
{
    TFontInfo source;
    source.FileName = "/f/a.ttf";
    source.LangID = 0x0412;
    source.Copyright = "c";
    source.FamilyName = "fam";
    source.SubfamilyName = "sub";
    source.UniqueID = "uid";
    source.FullName = "full";
    source.Version = "v";
    source.PostScriptName = "ps";
    source.Trademark = "tm";
    source.Selected = true;
    source.Temporary = true;
    source.PreferredLangID = 0x0409;
    source.FileSize = 5'000'000'000;
    source.FaceIndex = 3;

    TFontInfo copy;
    CopyFontInfo(copy, source);
    EXPECT_EQ(copy.FileName, "/f/a.ttf");
    EXPECT_EQ(copy.LangID, 0x0412);
    EXPECT_EQ(copy.Copyright + copy.FamilyName + copy.SubfamilyName + copy.UniqueID + copy.FullName +
                  copy.Version + copy.PostScriptName + copy.Trademark,
              "cfamsubuidfullvpstm");
    EXPECT_TRUE(copy.Temporary);
    EXPECT_EQ(copy.FileSize, 5'000'000'000);
    EXPECT_EQ(copy.FaceIndex, 3);
    EXPECT_FALSE(copy.Selected);
    EXPECT_EQ(copy.PreferredLangID, 0);
    EXPECT_EQ(copy.NameText(4), &copy.FullName);
    EXPECT_EQ(copy.NameText(8), nullptr);
}

TEST_F(FontList, StartsEmptyWithTheUserFontFolderAndInstalledFilesWhenAutoRemoving)
{
    TFontList plain(Platform, false);
    EXPECT_EQ(plain.Count(), 0);
    EXPECT_EQ(plain.Mode(), flmScreen);
    EXPECT_EQ(plain.Folder(), "");
    EXPECT_FALSE(plain.Updating());
    EXPECT_EQ(plain.SysFontFolder(), "/fonts/of/the/user");
    EXPECT_TRUE(plain.InstalledFiles().empty());
    EXPECT_EQ(Store.Queries, 0);

    TFontList source(Platform, true);
    EXPECT_EQ(source.InstalledFiles(),
              (std::vector<std::string>{"/usr/share/fonts/a.ttf", "/usr/share/fonts/b.TTF",
                                        "/usr/share/fonts/c.otf"}));
}

TEST_F(FontList, BatchRaisesOneChangeAtTheOutermostEnd)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->Add("A");
    EXPECT_EQ(changes, 1);

    list->BeginUpdate();
    list->BeginUpdate();
    list->Add("B");
    list->Add(FileFont("/x.ttf", "C", false));
    list->Delete(0);
    list->EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(list->Updating());
    list->EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"B", "C"}));

    // An unmatched end keeps the counter at zero and still reports a change.
    list->EndUpdate();
    EXPECT_EQ(list->UpdateCount(), 0);
    EXPECT_EQ(changes, 3);
    list->BeginUpdate();
    EXPECT_EQ(list->UpdateCount(), 1);
}

TEST_F(FontList, IndexesOutOfRangeDoNothing)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->Add("A");
    changes = 0;
    EXPECT_EQ(list->Fonts(-1), nullptr);
    EXPECT_EQ(list->Fonts(1), nullptr);
    list->Delete(1);
    list->Delete(-1);
    list->SetFonts(1, FileFont("", "X", false));
    list->SetFonts(0, nullptr);
    list->Add(std::unique_ptr<TFontInfo>());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Names(*list), std::vector<std::string>{"A"});

    list->SetFonts(0, FileFont("", "Z", false));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Names(*list), std::vector<std::string>{"Z"});
}

TEST_F(FontList, ClearGivesBackTheRegistrationsOfAnAutoRemovingList)
{
    int changes = 0;
    auto list = MakeList(true, changes);
    Table.Register("/f/temp.ttf");
    Table.Register("/f/kept.ttf");
    list->Add(FileFont("/f/temp.ttf", "Temp", true));
    list->Add(FileFont("/f/kept.ttf", "Kept", false));
    list->Add("Screen");
    changes = 0;

    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(Table.Counts["/f/temp.ttf"], 0);
    EXPECT_EQ(Table.Counts["/f/kept.ttf"], 1);
    EXPECT_EQ(Change.Count, 1);
    EXPECT_EQ(changes, 1);

    // An empty list still tells everyone.
    list->Clear();
    EXPECT_EQ(Change.Count, 2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Table.FailedUnregisters, 0);
}

TEST_F(FontList, ListWithoutAutoRemoveNeverUnregisters)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    Table.Register("/f/temp.ttf");
    list->Add(FileFont("/f/temp.ttf", "Temp", true));
    list->Delete(0);
    list->Add(FileFont("/f/temp.ttf", "Temp", true));
    list.reset();
    EXPECT_EQ(Table.Counts["/f/temp.ttf"], 1);
    EXPECT_EQ(Change.Count, 1);
}

TEST_F(FontList, RecordsThatGoOneByOneGiveBackTheirRegistrationToo)
{
    int changes = 0;
    auto list = MakeList(true, changes);
    for (const char* path : {"/f/1.ttf", "/f/2.ttf", "/f/3.ttf"}) {
        Table.Register(path);
        list->Add(FileFont(path, path, true));
    }
    list->Delete(0);
    EXPECT_EQ(Table.Counts["/f/1.ttf"], 0);
    list->SetFonts(0, FileFont("/f/other.ttf", "Other", false));
    EXPECT_EQ(Table.Counts["/f/2.ttf"], 0);

    // Destroying the list gives back the rest, broadcasts, and calls no one.
    changes = 0;
    const int broadcasts = Change.Count;
    list.reset();
    EXPECT_EQ(Table.Registered(), 0);
    EXPECT_EQ(Table.FailedUnregisters, 0);
    EXPECT_EQ(Change.Count, broadcasts + 1);
    EXPECT_EQ(changes, 0);
}

TEST_F(FontList, AssignFromAListMakesUnselectedCopiesInOneBatch)
{
    int sourceChanges = 0;
    auto source = MakeList(true, sourceChanges);
    auto font = FileFont("/f/a.ttf", "Alpha", true);
    font->Selected = true;
    font->PreferredLangID = 0x0409;
    font->FileSize = 1234;
    source->Add(std::move(font));
    source->Add("Beta");
    source->SetMode(flmFolder);
    source->SetFolder("/f");

    int changes = 0;
    auto preview = MakeList(false, changes);
    preview->Add("Old");
    changes = 0;
    preview->Assign(*source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Names(*preview), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(preview->Mode(), flmFolder);
    EXPECT_EQ(preview->Folder(), "/f");
    const TFontInfo* copy = preview->Fonts(0);
    EXPECT_NE(copy, source->Fonts(0));
    EXPECT_FALSE(copy->Selected);
    EXPECT_TRUE(copy->Temporary);
    EXPECT_EQ(copy->FileSize, 1234);
    EXPECT_EQ(copy->PreferredLangID, 0);

    // An auto-removing list does not own the registrations of copies.
    auto other = MakeList(true, changes);
    other->Assign(*source);
    EXPECT_FALSE(other->Fonts(0)->Temporary);

    // Assigning a list to itself loses nothing.
    preview->Assign(*preview);
    EXPECT_EQ(preview->Count(), 2);
}

TEST_F(FontList, AssignFromNamesMakesNameOnlyScreenRecords)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->SetMode(flmFolder);
    list->SetFolder("/kept");
    list->Add(FileFont("/f/a.ttf", "Old", false));
    changes = 0;
    list->Assign(std::vector<std::string>{"One", "Two"});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(list->Fonts(1)->FileName, "");
    EXPECT_EQ(list->Mode(), flmScreen);
    EXPECT_EQ(list->Folder(), "/kept");
}

TEST_F(FontList, SortUsesTheLocaleCollationWithLetterCaseCounting)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->Assign(std::vector<std::string>{"banana", "Zebra", "\xC3\xA9" "clair", "Apple", "cherry", "apple"});
    list->Sort();
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"apple", "Apple", "banana", "cherry",
                                                       "\xC3\xA9" "clair", "Zebra"}));
}

TEST_F(FontList, FindMatchesWholeNamesIgnoringCase)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->Assign(std::vector<std::string>{"DejaVu Sans Bold", "DejaVu Sans", "\xC3\x89" "clair",
                                          "dejavu sans"});
    EXPECT_EQ(list->Find("DEJAVU SANS"), 1);
    EXPECT_EQ(list->Find("DejaVu"), -1);
    EXPECT_EQ(list->Find("DejaVu Sans Bold "), -1);
    EXPECT_EQ(list->Find("\xC3\xA9" "CLAIR"), 2);
    EXPECT_EQ(list->Find(""), -1);
}

TEST_F(FontList, RefreshOfACustomListKeepsItsRecords)
{
    int changes = 0;
    auto list = MakeList(false, changes);
    list->Assign(std::vector<std::string>{"b", "a"});
    list->SetMode(flmCustom);
    int refreshes = 0;
    list->OnRefresh = [&](TFontList* sender) {
        EXPECT_EQ(sender, list.get());
        ++refreshes;
    };
    changes = 0;
    list->Refresh();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"b", "a"}));
}

TEST(ScreenFaceNames, LeavesOutVerticalFacesAndRepeatsInARow)
{
    EXPECT_EQ(ScreenFaceNames({"@Gulim", "Arial", "arial", "ARIAL", "Gulim", "@Gulim", "Gulim", "",
                               "Arial"}),
              (std::vector<std::string>{"Arial", "Gulim", "Arial"}));
}

}  // namespace
