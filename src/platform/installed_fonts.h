#pragma once

#include <string>
#include <vector>

// The fonts installed for the user and the system, as fontconfig knows them, and the user
// font folder that installing copies into.
class IInstalledFontStore {
public:
    virtual ~IInstalledFontStore() = default;
    // The user font folder ($XDG_DATA_HOME/fonts), created when missing. Empty when it
    // cannot be created.
    virtual std::string UserFontFolder() = 0;
    // Full paths of the installed font files (.ttf, .otf, .ttc, .otc in any letter case),
    // each once, however many faces fontconfig lists of it.
    virtual std::vector<std::string> InstalledFiles() = 0;
    // Makes a file that was copied into the user font folder known at once.
    virtual bool MakeKnown(const std::string& path) = 0;
    // Makes fontconfig forget a file that was removed from the user font folder.
    virtual bool Forget(const std::string& path) = 0;
    // Brings fontconfig's knowledge of `folder` up to date in one scan: the files copied into
    // it become known and the removed ones are forgotten, however many there were. False
    // when the folder cannot be scanned.
    virtual bool RescanFolder(const std::string& folder)
    {
        (void)folder;
        return false;
    }
};
