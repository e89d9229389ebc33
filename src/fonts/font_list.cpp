#include "fonts/font_list.h"

#include <QCollator>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <set>
#include <sys/stat.h>
#include <utility>

#include "fileops/file_utils.h"
#include "fonts/font_walk.h"
#include "fonts/naming_table.h"
#include "platform/byte_path.h"
#include "platform/dialogs.h"
#include "platform/font_change.h"
#include "platform/font_table.h"
#include "platform/installed_fonts.h"
#include "platform/locale_info.h"

namespace fs = std::filesystem;

namespace {

// Runs a clean-up when the scope ends, however it ends.
template <typename F>
class TFinally {
public:
    explicit TFinally(F action) : FAction(std::move(action)) {}
    ~TFinally() { FAction(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    F FAction;
};

// The wait cursor for the time of a load, when there is a screen to show it on.
class TWaitCursor {
public:
    TWaitCursor() : FShown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    {
        if (FShown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TWaitCursor()
    {
        if (FShown)
            QGuiApplication::restoreOverrideCursor();
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool FShown;
};

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool FileExists(const std::string& path, struct stat& st)
{
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

const char* const kQuietCheck = "Do not show again during this scan";

// The path made absolute and normal, without a trailing separator.
fs::path Normal(const fs::path& path)
{
    std::error_code ec;
    fs::path result = fs::absolute(path, ec);
    if (ec)
        result = path;
    result = result.lexically_normal();
    if (!result.has_filename() && result.has_relative_path())
        result = result.parent_path();
    return result;
}

bool IsWithin(const fs::path& path, const fs::path& folder)
{
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (p == path.end() || *p != *f)
            return false;
    }
    return true;
}

}  // namespace

bool SameTextIgnoringCase(const std::string& a, const std::string& b)
{
    if (IsAscii(a) && IsAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    }
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

std::vector<std::string> ScreenFaceNames(const std::vector<std::string>& reported)
{
    std::vector<std::string> names;
    for (const std::string& face : reported) {
        if (face.empty() || face.front() == '@')
            continue;
        if (!names.empty() && SameTextIgnoringCase(names.back(), face))
            continue;
        names.push_back(face);
    }
    return names;
}

TFontList::TFontList(const TPlatform& platform, bool autoRemove)
    : FPlatform(platform), FAutoRemove(autoRemove)
{
    if (FPlatform.InstalledFonts)
        FSysFontFolder = FPlatform.InstalledFonts->UserFontFolder();
    if (FAutoRemove)
        GetInstalledFontFiles(FInstalledFiles);
}

TFontList::~TFontList()
{
    // A list that is going tells no one about it: its owner may be half gone already.
    OnRefresh = nullptr;
    OnChange = nullptr;
    OnScanBegin = nullptr;
    OnScanEnd = nullptr;
    OnFontFound = nullptr;
    Clear();
}

TFontInfo* TFontList::Fonts(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FFontItems[static_cast<size_t>(index)].get();
}

void TFontList::SetFonts(int index, std::unique_ptr<TFontInfo> font)
{
    if (index < 0 || index >= Count() || !font)
        return;
    std::unique_ptr<TFontInfo>& slot = FFontItems[static_cast<size_t>(index)];
    Release(*slot);
    slot = std::move(font);
    Change();
}

void TFontList::SetMode(TFontListMode value)
{
    FMode = value;
}

void TFontList::SetFolder(const std::string& value)
{
    FFolder = value;
}

void TFontList::BeginUpdate()
{
    ++FUpdateCount;
}

void TFontList::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    Change();
}

void TFontList::Change()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TFontList::Add(std::unique_ptr<TFontInfo> font)
{
    if (!font)
        return;
    FFontItems.push_back(std::move(font));
    Change();
}

void TFontList::Add(const std::string& name)
{
    auto font = std::make_unique<TFontInfo>();
    font->FullName = name;
    Add(std::move(font));
}

void TFontList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    const auto it = FFontItems.begin() + index;
    Release(**it);
    FFontItems.erase(it);
    Change();
}

void TFontList::Clear()
{
    // Taken out first, so that a listener called below sees an empty list.
    std::vector<std::unique_ptr<TFontInfo>> items = std::move(FFontItems);
    FFontItems.clear();
    for (auto& font : items) {
        Release(*font);
        font.reset();
    }
    FRefusedFiles.clear();
    BroadcastFontChange();
    Change();
}

void TFontList::Assign(const TFontList& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    FFontItems.reserve(source.FFontItems.size());
    for (const auto& font : source.FFontItems) {
        auto copy = std::make_unique<TFontInfo>();
        CopyFontInfo(*copy, *font);
        if (FAutoRemove)
            copy->Temporary = false;
        Add(std::move(copy));
    }
    FFolder = source.FFolder;
    FMode = source.FMode;
    EndUpdate();
}

void TFontList::Assign(const std::vector<std::string>& names)
{
    BeginUpdate();
    Clear();
    for (const std::string& name : names)
        Add(name);
    FMode = flmScreen;
    EndUpdate();
}

void TFontList::Sort()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(FFontItems.size());
    for (const auto& font : FFontItems)
        keys.push_back(collator.sortKey(QString::fromStdString(font->FullName)));
    std::vector<size_t> order(FFontItems.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<std::unique_ptr<TFontInfo>> sorted;
    sorted.reserve(FFontItems.size());
    for (const size_t i : order)
        sorted.push_back(std::move(FFontItems[i]));
    FFontItems = std::move(sorted);
}

void TFontList::Refresh()
{
    if (FMode != flmCustom)
        GetFontList(FMode, FFolder);
    if (OnRefresh)
        OnRefresh(this);
}

int TFontList::Find(const std::string& name) const
{
    for (size_t i = 0; i < FFontItems.size(); ++i) {
        if (SameTextIgnoringCase(FFontItems[i]->FullName, name))
            return static_cast<int>(i);
    }
    return -1;
}

void TFontList::GetFontList(TFontListMode mode, std::string folder)
{
    BeginUpdate();
    TFinally endUpdate([this] { EndUpdate(); });
    {
        TWaitCursor cursor;
        SetFolder(std::string());
        switch (mode) {
        case flmScreen: GetScreenFonts(); break;
        case flmFolder: GetFontsInFolder(folder); break;
        case flmInstalled: GetInstalledFonts(); break;
        case flmCustom: break;
        }
        Sort();
    }
}

void TFontList::GetScreenFonts()
{
    BeginUpdate();
    Clear();
    std::vector<std::string> reported;
    for (const QString& family : QFontDatabase::families())
        reported.push_back(family.toStdString());
    for (const std::string& name : ScreenFaceNames(reported))
        Add(name);
    EndUpdate();
}

void TFontList::GetInstalledFonts()
{
    BeginUpdate();
    Clear();
    GetInstalledFontFiles(FInstalledFiles);
    // A listener may reload the list while the scan runs; walk a copy.
    const std::vector<std::string> files = FInstalledFiles;
    StartProblems();
    if (OnScanBegin)
        OnScanBegin(this, std::to_string(files.size()));
    TFinally endScan([this] {
        EndUpdate();
        if (OnScanEnd)
            OnScanEnd(this);
    });
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const std::string& entry : files) {
        struct stat st {};
        const std::string path = FileExists(entry, st) ? entry : AddToPath(FSysFontFolder, entry);
        if (!FileExists(path, st) || !seen.insert({st.st_dev, st.st_ino}).second)
            continue;
        ReadFontFile(path, true);
    }
}

void TFontList::GetFontsInFolder(const std::string& folder)
{
    if (IsInSysFolder(folder))
        return;
    SetFolder(folder);
    BeginUpdate();
    Clear();
    StartProblems();
    if (OnScanBegin)
        OnScanBegin(this, folder);
    TFinally endScan([this] {
        EndUpdate();
        if (OnScanEnd)
            OnScanEnd(this);
    });
    ScanFolder(folder);
    if (!FFontItems.empty())
        BroadcastFontChange();
}

void TFontList::ScanFolder(const std::string& folder)
{
    WalkFontFiles(folder, FSysFontFolder,
                  [&](const TFontFileEntry& file) { ReadFontFile(file.Path, false); });
}

void TFontList::ReadFontFile(const std::string& path, bool listUnreadable)
{
    const uint16_t userLangID = FPlatform.Locale ? FPlatform.Locale->UserLangID() : 0x0409;
    int faceCount = 1;
    for (int face = 0; face < faceCount; ++face) {
        auto font = std::make_unique<TFontInfo>();
        font->FaceIndex = face;
        const TNameReadResult result = ReadNamingTable(*font, path, userLangID);
        if (face == 0)
            faceCount = result.FaceCount;
        if (result.Status == TNameReadStatus::Missing)
            return;
        const bool failed = result.Status == TNameReadStatus::Failed;
        if (result.Status != TNameReadStatus::Done)
            ReportProblem(*font, failed, result.Message);
        if (failed && !listUnreadable)
            continue;
        if (OnFontFound)
            OnFontFound(this, font->FullName);
        font->Temporary = false;
        Add(std::move(font));
    }
}

void TFontList::StartProblems()
{
    FProblems.clear();
    FProblemsQuiet = false;
}

void TFontList::ReportProblem(const TFontInfo& font, bool failed, const std::string& reason)
{
    FProblems.push_back(TFontProblem{font.FileName, font.FaceIndex, reason});
    if (FProblemsQuiet || !FPlatform.Dialogs)
        return;
    // A failure names the file; a stop in the middle of the names is only its text.
    const std::string text = failed ? DisplayPathUtf8(font.FileName) + "\n" + reason : reason;
    bool quiet = false;
    FPlatform.Dialogs->MessageBoxWithCheck(text, std::string(), TMsgIcon::None, TMsgButtons::Ok,
                                           kQuietCheck, quiet);
    FProblemsQuiet = quiet;
}

void TFontList::GetInstalledFontFiles(std::vector<std::string>& list)
{
    if (!FPlatform.InstalledFonts)
        return;
    std::vector<std::string> files = FPlatform.InstalledFonts->InstalledFiles();
    list.clear();
    for (std::string& file : files) {
        if (HasFontExtension(file))
            list.push_back(std::move(file));
    }
    if (&list == &FInstalledFiles)
        FInstalledIds.reset();
}

bool TFontList::IsInstalledFile(const std::string& path)
{
    if (!FInstalledIds) {
        FInstalledIds.emplace();
        for (const std::string& file : FInstalledFiles) {
            struct stat st {};
            if (stat(file.c_str(), &st) == 0)
                FInstalledIds->insert({st.st_dev, st.st_ino});
        }
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && FInstalledIds->count({st.st_dev, st.st_ino}) != 0;
}

bool TFontList::EnsureRegistered(int index)
{
    TFontInfo* font = Fonts(index);
    if (!font || font->FileName.empty())
        return false;
    const std::string& path = font->FileName;
    if (FRegisteredFiles.count(path) || IsInstalledFile(path))
        return true;
    if (!FPlatform.FontTable)
        return false;
    if (!FAutoRemove)
        return FPlatform.FontTable->IsRegistered(path);
    if (FRefusedFiles.count(path) || !FPlatform.FontTable->Register(path)) {
        FRefusedFiles.insert(path);
        return false;
    }
    font->Temporary = true;
    FRegisteredFiles.insert(path);
    return true;
}

bool TFontList::EnsureRegistered(const TFontInfo& font)
{
    if (font.FileName.empty())
        return false;
    for (size_t i = 0; i < FFontItems.size(); ++i) {
        if (FFontItems[i]->FileName == font.FileName)
            return EnsureRegistered(static_cast<int>(i));
    }
    return IsInstalledFile(font.FileName) ||
           (FPlatform.FontTable && FPlatform.FontTable->IsRegistered(font.FileName));
}

bool TFontList::IsInSysFolder(const std::string& path) const
{
    if (FSysFontFolder.empty() || path.empty())
        return false;
    if (IsWithin(Normal(path), Normal(FSysFontFolder)))
        return true;
    std::error_code pathError;
    std::error_code folderError;
    const fs::path realPath = fs::weakly_canonical(Normal(path), pathError);
    const fs::path realFolder = fs::weakly_canonical(Normal(FSysFontFolder), folderError);
    return !pathError && !folderError && IsWithin(Normal(realPath), Normal(realFolder));
}

void TFontList::Release(const TFontInfo& font)
{
    if (!FAutoRemove || !font.Temporary)
        return;
    // Only the record that registered its file is flagged, so the file is free again.
    if (FPlatform.FontTable)
        FPlatform.FontTable->Unregister(font.FileName);
    FRegisteredFiles.erase(font.FileName);
}

void TFontList::BroadcastFontChange()
{
    if (FPlatform.FontChange)
        FPlatform.FontChange->Broadcast();
}
