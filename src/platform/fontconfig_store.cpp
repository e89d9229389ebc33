#include "platform/fontconfig_store.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// TrueType and OpenType files and their collections; Type 1 and bitmap fonts stay out.
bool HasFontExtension(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".ttf" || ext == ".otf" || ext == ".ttc" || ext == ".otc";
}

// A fontconfig configuration loaded for one query and destroyed with it.
class TConfig {
public:
    TConfig() : FConfig(FcInitLoadConfigAndFonts()) {}
    ~TConfig()
    {
        if (FConfig)
            FcConfigDestroy(FConfig);
    }
    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;
    FcConfig* get() const { return FConfig; }

private:
    FcConfig* FConfig;
};

bool CacheFolder(const std::string& folder)
{
    TConfig config;
    if (!config.get())
        return false;
    FcCache* cache = FcDirCacheRead(reinterpret_cast<const FcChar8*>(folder.c_str()), FcTrue,
                                    config.get());
    if (!cache)
        return false;
    FcDirCacheUnload(cache);
    return true;
}

bool IsListed(TFontconfigStore& store, const std::string& path)
{
    const auto files = store.InstalledFiles();
    return std::find(files.begin(), files.end(), path) != files.end();
}

}  // namespace

std::string TFontconfigStore::UserFontFolder()
{
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        base = data;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        return std::string();
    const std::string folder = base + "/fonts";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec))
        return std::string();
    return folder;
}

std::vector<std::string> TFontconfigStore::InstalledFiles()
{
    std::vector<std::string> result;
    TConfig config;
    if (!config.get())
        return result;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(config.get(), pattern, objects);
    std::set<std::string> seen;
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            std::string path(reinterpret_cast<const char*>(file));
            if (HasFontExtension(path) && seen.insert(path).second)
                result.push_back(std::move(path));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(result.begin(), result.end());
    return result;
}

bool TFontconfigStore::RefreshUserFolderCache()
{
    const std::string folder = UserFontFolder();
    struct stat st;
    if (folder.empty() || stat(folder.c_str(), &st) != 0)
        return false;
    const int64_t changed = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (changed == FCachedFolderTime)
        return true;
    if (!CacheFolder(folder))
        return false;
    FCachedFolderTime = changed;
    return true;
}

bool TFontconfigStore::RescanFolder(const std::string& folder)
{
    struct stat before;
    if (folder.empty() || stat(folder.c_str(), &before) != 0)
        return false;
    if (!CacheFolder(folder))
        return false;
    // The folder's time is taken before the scan: a change made during it is seen next time.
    struct stat user;
    const std::string userFolder = UserFontFolder();
    if (!userFolder.empty() && stat(userFolder.c_str(), &user) == 0 && user.st_dev == before.st_dev &&
        user.st_ino == before.st_ino)
        FCachedFolderTime = int64_t(before.st_mtim.tv_sec) * 1000000000 + before.st_mtim.tv_nsec;
    return true;
}

bool TFontconfigStore::MakeKnown(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const std::string folder = fs::path(path).parent_path().string();
    return CacheFolder(folder) && IsListed(*this, path);
}

bool TFontconfigStore::Forget(const std::string& path)
{
    const std::string folder = fs::path(path).parent_path().string();
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        CacheFolder(folder);
    return !IsListed(*this, path);
}
