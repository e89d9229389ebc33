#pragma once

#include <string>
#include <vector>

#include "platform/ini_document.h"

// What a line of the favourites pane is.
enum TFavItemKind : int { fikFont = 0, fikGroup = 1 };

// One line of the pane: a group header or a font of the group above it.
struct TFavItem {
    std::string Text;
    TFavItemKind Kind = fikFont;
    // Where the line is in the file and what it held when read, so that an edit reaches
    // exactly this line, and only while the file still holds it.
    size_t Line = 0;
    std::string LineText;
};

enum class TFavResult {
    Done,       // the file was changed
    Nothing,    // nothing to do (an empty name, the same name, no fonts to write)
    Stale,      // the file no longer holds the item; nothing was written
    NameInUse,  // another group has that name; nothing was written
    Failed,     // the file could not be read or written; Error() says why
};

// The favourites file (installed.fav): one INI section per group, one key per font
// (full name = file path). Users edit this file by hand, so every call reads it afresh, only
// the lines a command changes are touched, and each command writes the file once,
// atomically. No widgets: the pane, the menu and the add dialog are views of this.
class TFavorites {
public:
    explicit TFavorites(std::string fileName);

    const std::string& FileName() const { return FFileName; }
    // Why the last failed call failed, naming the path and the reason.
    const std::string& Error() const { return FError; }

    // Reads the items afresh. A missing file is no groups; false when the file exists but
    // cannot be read (the items are then empty).
    bool Load();
    const std::vector<TFavItem>& Items() const { return FItems; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Group names in file order, also when two groups share a name.
    std::vector<std::string> Groups() const;
    // Index of the group header at or above item `index`; -1 for none (also for -1).
    int GroupIndexOfItem(int index) const;
    // Name of that group; empty when there is none.
    std::string GroupOfItem(int index) const;
    // Item index of the first group whose name matches `name` as the store matches names;
    // -1 when there is none.
    int FindGroup(const std::string& name) const;
    // Item index of the `ordinal`-th group header (0-based); -1 when there are fewer.
    int GroupItem(int ordinal) const;
    // Font names of the group whose header is item `groupIndex`, in file order.
    std::vector<std::string> FontsOfGroup(int groupIndex) const;

    // Why `name` cannot be a favourite's key (empty, holds "=", begins with "[" or ";"):
    // it would read back as another key, a group or a comment. Empty when it can.
    static std::string NameProblem(const std::string& name);

    // Writes names[i] = files[i] into `group` (the first group of that name; the group is
    // appended when missing): an existing key keeps its line and gets the new value, a new
    // one follows the group's last key. Names that cannot be keys are left out and listed
    // in `leftOut`. Nothing when no name is left to write.
    TFavResult AddFonts(const std::string& group, const std::vector<std::string>& names,
                        const std::vector<std::string>& files, std::vector<std::string>& leftOut);
    // Removes item `index` of the last Load: a font's line, or a group's header with every
    // line up to the next header.
    TFavResult DeleteItem(int index);
    // Gives the group header at item `index` the name `name`. A name that another group has
    // (letter case ignored) is refused.
    TFavResult RenameGroup(int index, const std::string& name);
    // Appends an empty group; NameInUse when a group of that name exists.
    TFavResult NewGroup(const std::string& name);

private:
    // True when the file, read by `ini`, still holds item `index` and its group header at
    // the lines where Load found them.
    bool StillHolds(const std::vector<TIniDocument::TEntry>& entries, int index) const;
    TFavResult Fail(const std::string& error);

    std::string FFileName;
    std::string FError;
    std::vector<TFavItem> FItems;
};
