#include "fileops/font_commands.h"

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "fileops/file_copy.h"
#include "fileops/file_delete.h"
#include "fileops/file_utils.h"
#include "fonts/font_list.h"
#include "platform/dialogs.h"
#include "platform/font_change.h"
#include "platform/installed_fonts.h"

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const std::string& path)
{
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? fs::path(path).lexically_normal() : resolved;
}

// True when `path` is `root` or lies below it, comparing whole components.
bool IsWithin(const fs::path& path, const fs::path& root)
{
    if (root.empty())
        return false;
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (r->empty())
            continue;
        if (p == path.end() || *p != *r)
            return false;
    }
    return true;
}

// Takes the records of a removed file out of `list`. A registration the list made for the
// file is given back by then; the list only forgets it.
void RemoveRecords(TFontList& list, const std::string& path, const std::string& fullName)
{
    bool found = false;
    for (int i = list.Count() - 1; i >= 0; --i) {
        TFontInfo* font = list.Fonts(i);
        if (font->FileName != path)
            continue;
        found = true;
        list.Delete(i);
    }
    if (found)
        return;
    for (int i = 0; i < list.Count(); ++i) {
        TFontInfo* font = list.Fonts(i);
        std::error_code ec;
        if (SameTextIgnoringCase(font->FullName, fullName) &&
            (font->FileName.empty() || !fs::exists(fs::symlink_status(font->FileName, ec)))) {
            list.Delete(i);
            return;
        }
    }
}

std::string SystemFontsMessage(const std::vector<TChosenFont>& fonts)
{
    const std::string tail = " installed for all users by the system and cannot be uninstalled here.";
    if (fonts.size() == 1)
        return "\"" + fonts[0].FullName + "\" is" + tail;
    std::string text = "These fonts are" + tail + "\n";
    for (const auto& font : fonts)
        text += "\n" + font.FullName;
    return text;
}

}  // namespace

std::vector<TChosenFont> ChosenFonts(const TFontList& items, int itemIndex)
{
    std::vector<TChosenFont> chosen;
    for (int i = 0; i < items.Count(); ++i) {
        const TFontInfo* font = items.Fonts(i);
        if (font->Selected)
            chosen.push_back({font->FileName, font->FullName, i});
    }
    if (chosen.empty()) {
        if (const TFontInfo* font = items.Fonts(itemIndex))
            chosen.push_back({font->FileName, font->FullName, itemIndex});
    }
    return chosen;
}

std::vector<std::string> InstallFonts(const TPlatform& platform, ICopyProgress& progress,
                                      const TFontList& items, int itemIndex,
                                      const std::string& folder)
{
    std::vector<std::string> copies;
    if (items.Count() == 0)
        return copies;
    const auto chosen = ChosenFonts(items, itemIndex);
    if (!chosen.empty()) {
        TFileCopy copy(platform, progress);
        for (const auto& font : chosen)
            copy.FFiles.push_back(font.FileName);
        copy.Execute(folder);
        copies = copy.Copies();
        if (!copies.empty() && platform.InstalledFonts)
            platform.InstalledFonts->RescanFolder(folder);
    }
    if (platform.FontChange)
        platform.FontChange->Broadcast();
    return copies;
}

bool IsUserFont(const std::string& path, const std::string& userFontFolder)
{
    // The folder is resolved, not the file: a link in the user's folder is the user's to
    // remove (only the link moves), wherever it points.
    const fs::path given(path);
    const fs::path file = Resolved(given.parent_path().string()) / given.filename();
    if (!userFontFolder.empty() && IsWithin(file, Resolved(userFontFolder)))
        return true;
    const char* home = std::getenv("HOME");
    if (!home || *home != '/' || !IsWithin(file, Resolved(home)))
        return false;
    struct stat st;
    return stat(file.parent_path().c_str(), &st) == 0 && st.st_uid == geteuid();
}

std::vector<std::string> RemoveFonts(const TPlatform& platform, IDeleteProgress& progress,
                                     TFontList& items, int itemIndex, TFontList& sourceList,
                                     bool uninstall, const std::string& userFontFolder)
{
    std::vector<std::string> removed;
    if (items.Count() == 0)
        return removed;
    std::vector<TChosenFont> chosen = ChosenFonts(items, itemIndex);
    if (uninstall) {
        std::vector<TChosenFont> mine;
        std::vector<TChosenFont> system;
        for (auto& font : chosen)
            (IsUserFont(font.FileName, userFontFolder) ? mine : system).push_back(font);
        if (!system.empty() && platform.Dialogs)
            platform.Dialogs->MessageBox(SystemFontsMessage(system), std::string(),
                                         TMsgIcon::Information, TMsgButtons::Ok);
        chosen = std::move(mine);
    }
    if (!chosen.empty()) {
        TFileDelete remove(platform, progress);
        for (const auto& font : chosen)
            remove.FFiles.push_back(font.FileName);
        remove.Execute();

        std::set<std::string> folders;
        items.BeginUpdate();
        for (size_t j = 0; j < chosen.size(); ++j) {
            if (!remove.GetResult(static_cast<int>(j)))
                continue;
            removed.push_back(chosen[j].FileName);
            folders.insert(Resolved(chosen[j].FileName).parent_path().string());
            RemoveRecords(items, chosen[j].FileName, chosen[j].FullName);
            RemoveRecords(sourceList, chosen[j].FileName, chosen[j].FullName);
        }
        items.EndUpdate();
        if (uninstall && platform.InstalledFonts)
            for (const auto& folder : folders)
                platform.InstalledFonts->RescanFolder(folder);
    }
    if (platform.FontChange)
        platform.FontChange->Broadcast();
    return removed;
}
