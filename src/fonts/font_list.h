#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fonts/font_info.h"
#include "platform/platform.h"

// Where the fonts of a list come from.
enum TFontListMode : uint8_t {
    flmScreen = 0,     // the font families the toolkit offers
    flmInstalled = 1,  // the installed TrueType files that fontconfig lists
    flmFolder = 2,     // the TrueType files of a folder tree
    flmCustom = 3,     // filled by the owner; Refresh keeps the records
};

// An ordered list of fonts that owns its records: no record is ever shared between two
// lists, fonts move between lists as copies (Assign, CopyFontInfo). Changes can be batched
// with BeginUpdate/EndUpdate; the outermost EndUpdate raises OnChange once.
//
// Registrations with the process font table. A folder listing registers each TrueType file
// it lists, so the program can draw it, except a file that is installed already (the same
// file as an entry of InstalledFiles, by device and inode, whatever path reaches it):
// fontconfig offers that one anyway. Exactly the files the list registered carry the
// Temporary flag, and a list built with `autoRemove` gives each such registration back when
// the record goes (Clear, Delete, SetFonts, destruction), so registration counts stay
// balanced. Records that an autoRemove list gets by Assign are copies whose registration
// belongs to the other list, so their flag is cleared there. A list without autoRemove
// never unregisters anything: it is meant to hold copies (the preview's list), not to scan.
//
// The user font folder (SysFontFolder) is never listed as a folder: choosing it, or a
// folder inside it, changes nothing, and a walk never enters it.
class TFontList {
public:
    TFontList(const TPlatform& platform, bool autoRemove);
    virtual ~TFontList();
    TFontList(const TFontList&) = delete;
    TFontList& operator=(const TFontList&) = delete;

    // The record at `index`; null when out of range.
    TFontInfo* Fonts(int index) const;
    // Puts `font` at `index` in place of the record there, which is destroyed; nothing
    // happens when `index` is out of range or `font` is null.
    void SetFonts(int index, std::unique_ptr<TFontInfo> font);
    int Count() const { return static_cast<int>(FFontItems.size()); }

    TFontListMode Mode() const { return FMode; }
    // Stores the source; nothing is reloaded until Refresh.
    void SetMode(TFontListMode value);
    const std::string& Folder() const { return FFolder; }
    void SetFolder(const std::string& value);

    bool Updating() const { return FUpdateCount != 0; }
    int UpdateCount() const { return FUpdateCount; }
    bool AutoRemove() const { return FAutoRemove; }
    // The user font folder; empty when there is none.
    const std::string& SysFontFolder() const { return FSysFontFolder; }
    // Full paths of the installed TrueType files, loaded at construction by an autoRemove
    // list and again by every installed-font listing.
    const std::vector<std::string>& InstalledFiles() const { return FInstalledFiles; }

    void BeginUpdate();
    // Closes one level (never below 0) and calls Change, which raises OnChange once the
    // last level is closed.
    void EndUpdate();
    virtual void Change();

    // Appends a record the list takes over; a null one is ignored.
    void Add(std::unique_ptr<TFontInfo> font);
    // Appends a name-only record.
    void Add(const std::string& name);
    void Delete(int index);
    // Destroys every record (giving back the registrations, see above), then tells
    // everyone that the fonts changed, whatever the list held.
    void Clear();
    // Copies of the records of `source` (unselected), with its Mode and Folder, in one batch.
    void Assign(const TFontList& source);
    // Name-only records in the given order; Mode becomes flmScreen, Folder stays.
    void Assign(const std::vector<std::string>& names);
    // Orders the records by FullName with the collation of the user's locale, letter case
    // counting.
    void Sort();
    // Reloads from Mode and Folder (not in flmCustom), then raises OnRefresh.
    void Refresh();
    // Index of the first record whose FullName equals `name` as a whole, ignoring letter
    // case; -1 when there is none.
    int Find(const std::string& name) const;

    // Loads the list from `mode` in one batch, sorted, with the wait cursor shown. Folder is
    // cleared first and set again by a folder listing. Mode itself is not changed.
    void GetFontList(TFontListMode mode, std::string folder);
    void GetScreenFonts();
    // Reads the installed files afresh and lists each with its names (not registered).
    void GetInstalledFonts();
    // Lists the TrueType files of `folder` and its sub-folders, registering them; nothing
    // at all happens for the user font folder or a folder inside it.
    void GetFontsInFolder(const std::string& folder);
    // Replaces `list` with the installed TrueType files; leaves it when there is no store.
    void GetInstalledFontFiles(std::vector<std::string>& list);
    // True when `path` is the user font folder or lies below it, comparing whole path
    // components (after resolving "." and ".." and symbolic links), with letter case
    // counting as file names do here. False for everything when there is no such folder.
    bool IsInSysFolder(const std::string& path) const;

    std::function<void(TFontList* Sender)> OnRefresh;
    std::function<void(TFontList* Sender)> OnChange;
    // Text: the folder of a folder scan, or the number of installed files in decimal.
    std::function<void(TFontList* Sender, const std::string& Text)> OnScanBegin;
    std::function<void(TFontList* Sender)> OnScanEnd;
    std::function<void(TFontList* Sender, const std::string& FullName)> OnFontFound;

private:
    void ScanFolder(const std::string& folder);
    // Gives back the registration of a record that is about to go.
    void Release(const TFontInfo& font);
    void BroadcastFontChange();

    TPlatform FPlatform;
    std::vector<std::unique_ptr<TFontInfo>> FFontItems;
    std::vector<std::string> FInstalledFiles;
    int FUpdateCount = 0;
    TFontListMode FMode = flmScreen;
    std::string FFolder;
    bool FAutoRemove;
    std::string FSysFontFolder;
};

// The faces the toolkit reports, as the screen-font listing takes them: names beginning
// with "@" (vertical writing) left out, and a name equal to the one taken before it
// (ignoring letter case) taken once.
std::vector<std::string> ScreenFaceNames(const std::vector<std::string>& reported);

// True when two UTF-8 texts are equal ignoring letter case.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
