#include "platform/xdg_trash.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

#include "platform/error_codes.h"

int TXdgTrash::MoveToTrash(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return ecFileNotFound;
    const std::string folder = std::filesystem::path(path).parent_path().string();
    // Moving a file out of a folder needs write access to that folder.
    if (access(folder.empty() ? "." : folder.c_str(), W_OK) != 0)
        return ErrnoToCode(errno);
    if (QFile::moveToTrash(QString::fromStdString(path)))
        return ecSuccess;
    return ecAccessDenied;
}
