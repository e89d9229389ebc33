#include "platform/app_folder.h"

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

std::string SettingsFolderFor(const std::string& executableFolder)
{
    if (!executableFolder.empty() && access(executableFolder.c_str(), W_OK | X_OK) == 0)
        return executableFolder;
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    const std::string folder = base + "/fonzeta";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::string SettingsFolder()
{
    return SettingsFolderFor(QCoreApplication::applicationDirPath().toStdString());
}
