#include "platform/app_folder.h"

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* HelpDocument = "help.html";

std::string InstalledDataFolder(const std::string& executableFolder)
{
    return (fs::path(executableFolder) / ".." / "share" / "fonzeta").lexically_normal().string();
}

bool HasHelp(const std::string& folder)
{
    std::error_code ec;
    return !folder.empty() && fs::is_regular_file(fs::path(folder) / HelpDocument, ec);
}

std::string ExecutableFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace

bool IsInstalledLayout(const std::string& executableFolder)
{
    return !executableFolder.empty() && !HasHelp(executableFolder) &&
           HasHelp(InstalledDataFolder(executableFolder));
}

std::string SettingsFolderFor(const std::string& executableFolder)
{
    if (!executableFolder.empty() && !IsInstalledLayout(executableFolder) &&
        access(executableFolder.c_str(), W_OK | X_OK) == 0)
        return executableFolder;
    std::string base;
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    const std::string folder = base + "/fonzeta";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

std::string SettingsFolder()
{
    return SettingsFolderFor(ExecutableFolder());
}

std::string HelpFolderFor(const std::string& executableFolder)
{
    return IsInstalledLayout(executableFolder) ? InstalledDataFolder(executableFolder)
                                               : executableFolder;
}

std::string HelpFolder()
{
    return HelpFolderFor(ExecutableFolder());
}
