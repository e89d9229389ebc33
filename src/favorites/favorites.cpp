#include "favorites/favorites.h"

#include <algorithm>

#include "platform/ini_file.h"

TFavorites::TFavorites(std::string fileName) : FFileName(std::move(fileName)) {}

TFavResult TFavorites::Fail(const std::string& error)
{
    FError = error;
    return TFavResult::Failed;
}

bool TFavorites::Load()
{
    FItems.clear();
    FError.clear();
    TIniFile ini(FFileName);
    std::vector<TIniDocument::TEntry> entries;
    if (!ini.ReadEntries(entries)) {
        FError = ini.LastError();
        return false;
    }
    FItems.reserve(entries.size());
    for (auto& entry : entries)
        FItems.push_back(TFavItem{std::move(entry.Name), entry.IsSection ? fikGroup : fikFont,
                                  entry.Line, std::move(entry.Text)});
    return true;
}

std::vector<std::string> TFavorites::Groups() const
{
    std::vector<std::string> groups;
    for (const auto& item : FItems)
        if (item.Kind == fikGroup)
            groups.push_back(item.Text);
    return groups;
}

int TFavorites::GroupIndexOfItem(int index) const
{
    if (index >= Count())
        return -1;
    for (int i = index; i >= 0; --i)
        if (FItems[static_cast<size_t>(i)].Kind == fikGroup)
            return i;
    return -1;
}

std::string TFavorites::GroupOfItem(int index) const
{
    const int group = GroupIndexOfItem(index);
    return group < 0 ? std::string() : FItems[static_cast<size_t>(group)].Text;
}

int TFavorites::FindGroup(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const TFavItem& item = FItems[static_cast<size_t>(i)];
        if (item.Kind == fikGroup && TIniDocument::SameName(item.Text, name))
            return i;
    }
    return -1;
}

int TFavorites::GroupItem(int ordinal) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].Kind == fikGroup && ordinal-- == 0)
            return i;
    return -1;
}

std::vector<std::string> TFavorites::FontsOfGroup(int groupIndex) const
{
    std::vector<std::string> fonts;
    if (groupIndex < 0 || groupIndex >= Count() ||
        FItems[static_cast<size_t>(groupIndex)].Kind != fikGroup)
        return fonts;
    for (size_t i = static_cast<size_t>(groupIndex) + 1; i < FItems.size() && FItems[i].Kind == fikFont; ++i)
        fonts.push_back(FItems[i].Text);
    return fonts;
}

std::string TFavorites::NameProblem(const std::string& name)
{
    if (TIniDocument::CleanName(name).empty())
        return "a font name may not be empty";
    return TIniDocument::KeyProblem(name);
}

TFavResult TFavorites::AddFonts(const std::string& group, const std::vector<std::string>& names,
                                const std::vector<std::string>& files,
                                std::vector<std::string>& leftOut)
{
    leftOut.clear();
    TIniFile ini(FFileName);
    ini.SetAutoFlush(false);
    bool any = false;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!NameProblem(names[i]).empty()) {
            leftOut.push_back(names[i]);
            continue;
        }
        if (!ini.WriteString(group, names[i], i < files.size() ? files[i] : std::string()))
            return Fail(ini.LastError());
        any = true;
    }
    if (!any)
        return TFavResult::Nothing;
    return ini.UpdateFile() ? TFavResult::Done : Fail(ini.LastError());
}

bool TFavorites::StillHolds(const std::vector<TIniDocument::TEntry>& entries, int index) const
{
    const auto holds = [&entries](const TFavItem& item, size_t& at) {
        const auto it = std::lower_bound(
            entries.begin(), entries.end(), item.Line,
            [](const TIniDocument::TEntry& entry, size_t line) { return entry.Line < line; });
        if (it == entries.end() || it->Line != item.Line || it->Text != item.LineText ||
            it->IsSection != (item.Kind == fikGroup))
            return false;
        at = static_cast<size_t>(it - entries.begin());
        return true;
    };
    if (index < 0 || index >= Count())
        return false;
    const TFavItem& item = FItems[static_cast<size_t>(index)];
    size_t at = 0;
    if (!holds(item, at))
        return false;
    if (item.Kind == fikGroup)
        return true;
    // A font must still belong to the group it was shown in.
    const int group = GroupIndexOfItem(index);
    size_t header = 0;
    if (group < 0 || !holds(FItems[static_cast<size_t>(group)], header))
        return false;
    for (size_t i = header + 1; i < at; ++i)
        if (entries[i].IsSection)
            return false;
    return true;
}

TFavResult TFavorites::DeleteItem(int index)
{
    TIniFile ini(FFileName);
    ini.SetAutoFlush(false);
    std::vector<TIniDocument::TEntry> entries;
    if (!ini.ReadEntries(entries))
        return Fail(ini.LastError());
    if (!StillHolds(entries, index))
        return TFavResult::Stale;
    const TFavItem& item = FItems[static_cast<size_t>(index)];
    const bool changed = item.Kind == fikGroup ? ini.EraseSectionAt(item.Line) : ini.DeleteKeyAt(item.Line);
    if (!changed)
        return TFavResult::Stale;
    return ini.UpdateFile() ? TFavResult::Done : Fail(ini.LastError());
}

TFavResult TFavorites::RenameGroup(int index, const std::string& name)
{
    const std::string clean = TIniDocument::CleanName(name);
    if (clean.empty())
        return TFavResult::Nothing;
    TIniFile ini(FFileName);
    ini.SetAutoFlush(false);
    std::vector<TIniDocument::TEntry> entries;
    if (!ini.ReadEntries(entries))
        return Fail(ini.LastError());
    if (!StillHolds(entries, index) || FItems[static_cast<size_t>(index)].Kind != fikGroup)
        return TFavResult::Stale;
    const TFavItem& item = FItems[static_cast<size_t>(index)];
    for (const auto& entry : entries)
        if (entry.IsSection && entry.Line != item.Line && TIniDocument::SameName(entry.Name, clean))
            return TFavResult::NameInUse;
    if (item.LineText == "[" + clean + "]")
        return TFavResult::Nothing;
    if (!ini.RenameSectionAt(item.Line, clean))
        return TFavResult::Stale;
    return ini.UpdateFile() ? TFavResult::Done : Fail(ini.LastError());
}

TFavResult TFavorites::NewGroup(const std::string& name)
{
    const std::string clean = TIniDocument::CleanName(name);
    if (clean.empty())
        return TFavResult::Nothing;
    TIniFile ini(FFileName);
    ini.SetAutoFlush(false);
    std::vector<TIniDocument::TEntry> entries;
    if (!ini.ReadEntries(entries))
        return Fail(ini.LastError());
    for (const auto& entry : entries)
        if (entry.IsSection && TIniDocument::SameName(entry.Name, clean))
            return TFavResult::NameInUse;
    ini.AppendSection(clean);
    return ini.UpdateFile() ? TFavResult::Done : Fail(ini.LastError());
}
