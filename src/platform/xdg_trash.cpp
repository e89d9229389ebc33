#include "platform/xdg_trash.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/error_codes.h"
#include "platform/rename_no_replace.h"

namespace {

std::string HomeTrash()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return std::string(data) + "/Trash";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/Trash";
    return std::string();
}

bool MakeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) == 0)
        return true;
    struct stat st;
    return errno == EEXIST && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeTrash(const std::string& trash)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(trash).parent_path(), ec);
    return MakeFolder(trash) && MakeFolder(trash + "/files") && MakeFolder(trash + "/info");
}

// The top folder of the mount holding `path`: the last folder upwards on the same device.
std::string TopDir(const std::string& folder, dev_t device)
{
    std::string top = folder;
    while (top.size() > 1) {
        const auto slash = top.find_last_of('/');
        const std::string parent = slash == 0 ? "/" : top.substr(0, slash);
        struct stat st;
        if (stat(parent.c_str(), &st) != 0 || st.st_dev != device)
            break;
        top = parent;
    }
    return top;
}

// The trash for a file on another volume than the home trash, created when needed.
std::string VolumeTrash(const std::string& topDir, std::string& pathBase)
{
    const std::string uid = std::to_string(getuid());
    const std::string shared = topDir + (topDir == "/" ? "" : "/") + ".Trash";
    struct stat st;
    // A shared trash counts only when it is a real folder with the sticky bit.
    if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
        MakeTrash(shared + "/" + uid)) {
        pathBase = topDir;
        return shared + "/" + uid;
    }
    const std::string own = topDir + (topDir == "/" ? "" : "/") + ".Trash-" + uid;
    if (MakeTrash(own)) {
        pathBase = topDir;
        return own;
    }
    return std::string();
}

// The path as the Path key writes it: bytes outside the unreserved set percent-encoded.
std::string EncodePath(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

std::string Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int TXdgTrash::MoveToTrash(const std::string& path)
{
    struct stat st;
    if (path.empty() || lstat(path.c_str(), &st) != 0)
        return path.empty() ? ecFileNotFound : ErrnoToCode(errno);

    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec)
        return ecFileNotFound;
    const auto slash = absolute.find_last_of('/');
    const std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
    const std::string name = absolute.substr(slash + 1);
    // Moving a file out of a folder needs write access to that folder (as this thread's
    // effective rights decide).
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) != 0)
        return ErrnoToCode(errno);

    std::string trash = HomeTrash();
    std::string pathBase;
    struct stat trashStat;
    if (trash.empty() || !MakeTrash(trash) || stat(trash.c_str(), &trashStat) != 0 ||
        trashStat.st_dev != st.st_dev) {
        trash = VolumeTrash(TopDir(folder, st.st_dev), pathBase);
        if (trash.empty())
            return ecAccessDenied;
    }
    std::string shown = absolute;
    if (!pathBase.empty() && pathBase != "/")
        shown = absolute.substr(pathBase.size() + 1);
    else if (pathBase == "/")
        shown = absolute.substr(1);
    const std::string info = "[Trash Info]\nPath=" + EncodePath(shown) + "\nDeletionDate=" + Now() + "\n";

    for (int attempt = 1; attempt < 10000; ++attempt) {
        std::string entry = name;
        if (attempt > 1) {
            // "font.ttf" becomes "font.2.ttf", so the trashed copy keeps its extension.
            const auto dot = name.find_last_of('.');
            const std::string number = "." + std::to_string(attempt);
            entry = dot == std::string::npos || dot == 0 ? name + number
                                                         : name.substr(0, dot) + number + name.substr(dot);
        }
        const std::string infoPath = trash + "/info/" + entry + ".trashinfo";
        const int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return ErrnoToCode(errno);
        }
        const bool written = WriteAll(fd, info);
        if (close(fd) != 0 || !written) {
            const int code = ErrnoToCode(errno ? errno : EIO);
            unlink(infoPath.c_str());
            return code;
        }
        const int err = RenameNoReplace(path, trash + "/files/" + entry);
        if (err == 0)
            return ecSuccess;
        unlink(infoPath.c_str());
        if (err != EEXIST)
            return ErrnoToCode(err);
    }
    return ecAlreadyExists;
}
