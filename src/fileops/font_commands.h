#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

class ICopyProgress;
class IDeleteProgress;
class TFontList;

// One font a command acts on: its file, its name and its index in the list it came from.
struct TChosenFont {
    std::string FileName;
    std::string FullName;
    int Index = -1;
};

// The fonts a command acts on: the marked records of `items` in list order or, when none
// is marked, the record at `itemIndex` alone (nothing when that is -1 or out of range).
std::vector<TChosenFont> ChosenFonts(const TFontList& items, int itemIndex);

// Installs the chosen fonts of `items` into `folder` (the user font folder): copies and
// registers each file, makes the run's copies known to fontconfig with one rescan of the
// folder, then broadcasts the font change (which finds nothing left to rescan). Nothing
// happens for an empty list. Returns the copies made.
std::vector<std::string> InstallFonts(const TPlatform& platform, ICopyProgress& progress,
                                      const TFontList& items, int itemIndex,
                                      const std::string& folder);

// True when uninstalling may move `path`: it lies in the user font folder, or in the home
// folder in a folder the user owns. Fonts installed for all users by the system (package
// folders such as /usr/share/fonts) are left alone, also when the program runs as root.
bool IsUserFont(const std::string& path, const std::string& userFontFolder);

// Sends the chosen fonts of `items` to the trash and takes the removed ones out of `items`
// and `sourceList` (matched by file, see below), in one update of `items`. In uninstall
// mode fonts that are not the user's (IsUserFont) are kept, with one message naming them,
// and fontconfig forgets the removed files with one rescan per folder. The font change is
// broadcast at the end in either mode. Returns the removed files.
//
// A removed file's records are those with its FileName (every face of a collection); a
// record without one is matched by FullName, ignoring case, when its file no longer exists.
std::vector<std::string> RemoveFonts(const TPlatform& platform, IDeleteProgress& progress,
                                     TFontList& items, int itemIndex, TFontList& sourceList,
                                     bool uninstall, const std::string& userFontFolder);
