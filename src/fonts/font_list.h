#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "fonts/font_info.h"
#include "platform/platform.h"

// Where the fonts of a list come from.
enum TFontListMode : uint8_t {
    flmScreen = 0,     // the font families the toolkit offers
    flmInstalled = 1,  // the installed font files that fontconfig lists
    flmFolder = 2,     // the font files of a folder tree
    flmCustom = 3,     // filled by the owner; Refresh keeps the records
};

// A font file a scan could not read, or read only in part.
struct TFontProblem {
    std::string Path;   // bytes, as the file system spells it
    int FaceIndex = 0;  // the face of a collection the problem is in
    std::string Reason; // the reader's message
};

// An ordered list of fonts that owns its records: no record is ever shared between two
// lists, fonts move between lists as copies (Assign, CopyFontInfo). Changes can be batched
// with BeginUpdate/EndUpdate; the outermost EndUpdate raises OnChange once.
//
// Scans. Folder and installed listings take TrueType and OpenType files and collections
// (.ttf, .otf, .ttc, .otc), one record per face, and read each file once however many links
// lead to it. A folder file whose names cannot be read at all is left out; an installed one
// is listed with what could be read. Every problem goes to Problems(); the first one of a
// scan is also shown in a box whose check box keeps the rest of the scan quiet.
//
// Registrations with the process font table are made only on demand (EnsureRegistered):
// the preview draws every file-backed record from its file, so a listing needs none. A file
// that is installed already (the same file as an entry of InstalledFiles, by device and
// inode, whatever path reaches it) is never registered: fontconfig offers it anyway. The
// one record through which a list registered a file carries the Temporary flag, and a list
// built with `autoRemove` gives the registration back when that record goes (Clear,
// Delete, SetFonts, destruction), so registration counts stay balanced. Records that an
// autoRemove list gets by Assign are copies whose registration belongs to the other list,
// so their flag is cleared there. A list without autoRemove never registers anything: it
// is meant to hold copies (the preview's list), not to scan.
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
    // Full paths of the installed font files, loaded at construction by an autoRemove list
    // and again by every installed-font listing.
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
    // Lists the font files of `folder` and its sub-folders; nothing at all happens for the
    // user font folder or a folder inside it.
    void GetFontsInFolder(const std::string& folder);
    // Replaces `list` with the installed font files; leaves it when there is no store.
    void GetInstalledFontFiles(std::vector<std::string>& list);
    // True when `path` is the user font folder or lies below it, comparing whole path
    // components (after resolving "." and ".." and symbolic links), with letter case
    // counting as file names do here. False for everything when there is no such folder.
    bool IsInSysFolder(const std::string& path) const;

    // The problems of the last folder or installed-font scan, in the order they were met.
    const std::vector<TFontProblem>& Problems() const { return FProblems; }

    // Makes sure the toolkit's font database has the file of the record at `index` (for
    // drawing by family: printing, name-only fallbacks): true when the file is installed,
    // registered already, or registered now. An autoRemove list registers it through that
    // record (which becomes Temporary); any other list only answers. False for a record
    // without a file, an index out of range, or a file the toolkit refuses.
    bool EnsureRegistered(int index);
    // The same for the record of this list with the file of `font` (a copy held elsewhere,
    // such as the preview's); a file this list does not hold is only answered for.
    bool EnsureRegistered(const TFontInfo& font);

    std::function<void(TFontList* Sender)> OnRefresh;
    std::function<void(TFontList* Sender)> OnChange;
    // Text: the folder of a folder scan, or the number of installed files in decimal.
    std::function<void(TFontList* Sender, const std::string& Text)> OnScanBegin;
    std::function<void(TFontList* Sender)> OnScanEnd;
    std::function<void(TFontList* Sender, const std::string& FullName)> OnFontFound;

private:
    void ScanFolder(const std::string& folder);
    // Reads every face of the file at `path` into new records, raising OnFontFound for each;
    // a face that cannot be read at all is added only when `listUnreadable`.
    void ReadFontFile(const std::string& path, bool listUnreadable);
    void StartProblems();
    void ReportProblem(const TFontInfo& font, bool failed, const std::string& reason);
    bool IsInstalledFile(const std::string& path);
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

    // Catalogue scans: problems, lazy registrations.
    std::vector<TFontProblem> FProblems;
    bool FProblemsQuiet = false;
    std::set<std::string> FRegisteredFiles;
    std::set<std::string> FRefusedFiles;
    std::optional<std::set<std::pair<dev_t, ino_t>>> FInstalledIds;
};

// The faces the toolkit reports, as the screen-font listing takes them: names beginning
// with "@" (vertical writing) left out, and a name equal to the one taken before it
// (ignoring letter case) taken once.
std::vector<std::string> ScreenFaceNames(const std::vector<std::string>& reported);

// True when two UTF-8 texts are equal ignoring letter case.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
