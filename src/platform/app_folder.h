#pragma once

#include <string>

// Folder that holds fonzeta.ini and installed.fav: the executable's folder when the program
// may write there, else $XDG_CONFIG_HOME/fonzeta (created when missing), so that a
// system-wide install still keeps its settings. Ends without a slash.
std::string SettingsFolder();

// The same rule for a given executable folder.
std::string SettingsFolderFor(const std::string& executableFolder);
