#pragma once

#include <cstdint>

#include "platform/installed_fonts.h"

// Installed fonts as fontconfig lists them. Every query builds a fresh fontconfig
// configuration, so files added or removed since the last query are seen, and the
// configuration that the toolkit holds is never pulled from under it.
class TFontconfigStore : public IInstalledFontStore {
public:
    std::string UserFontFolder() override;
    std::vector<std::string> InstalledFiles() override;
    bool MakeKnown(const std::string& path) override;
    bool Forget(const std::string& path) override;
    // A rescan of the user font folder also counts as its refresh (see below).
    bool RescanFolder(const std::string& folder) override;

    // Rewrites fontconfig's cache of the user font folder so other programs see its
    // current contents. The folder is scanned only when it changed since the last refresh,
    // since lists send font-change notifications far more often than fonts are installed.
    // False when the folder cannot be scanned.
    bool RefreshUserFolderCache();

private:
    int64_t FCachedFolderTime = -1;
};
