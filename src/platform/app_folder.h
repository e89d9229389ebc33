#pragma once

#include <string>

// Identifier of the program on the desktop: the name of its desktop entry, its icon in the
// icon theme and its AppStream metadata.
inline constexpr const char* AppId = "org.example.fonzeta";

// Folder that holds fonzeta.ini and installed.fav. A program run from its build folder (or
// a copy that carries its help documents beside it) keeps them beside the executable when
// it may write there. An installed program, and one whose folder is read-only, keeps them
// in $XDG_CONFIG_HOME/fonzeta (created when missing): a bin folder is no place for
// settings, even one the user may write, such as ~/.local/bin. Ends without a slash.
std::string SettingsFolder();

// The same rule for a given executable folder.
std::string SettingsFolderFor(const std::string& executableFolder);

// Folder of help.html and shortcut.html: beside the executable when they are there, else
// the data folder of an installed program, <prefix>/share/fonzeta for <prefix>/bin. Found
// relative to the executable, so an install under any prefix finds its own documents.
std::string HelpFolder();
std::string HelpFolderFor(const std::string& executableFolder);

// True when the executable runs from an installed layout: no help documents beside it, and
// its documents in the data folder of its prefix.
bool IsInstalledLayout(const std::string& executableFolder);
