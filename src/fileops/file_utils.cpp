#include "fileops/file_utils.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "platform/document_opener.h"
#include "platform/error_codes.h"

namespace fs = std::filesystem;

namespace {

// Mount points in /proc/self/mountinfo escape blanks and backslashes as octal.
std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (oct.size() == 3 && oct.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

bool IsUnder(const fs::path& path, const fs::path& root)
{
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (r->empty())
            continue;
        if (p == path.end() || *p != *r)
            return false;
    }
    return true;
}

uint64_t FolderSize(const fs::path& folder, int& count)
{
    uint64_t total = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code fec;
        if (it->is_regular_file(fec) && !it->is_symlink(fec)) {
            ++count;
            total += GetFileSize(it->path().string());
        }
    }
    return total;
}

}  // namespace

std::string ExtractFileName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AddToPath(const std::string& folder, const std::string& name)
{
    if (name.empty())
        return folder;
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

uint64_t GetFileSize(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

int GetSelectedCount(const std::vector<std::string>& paths)
{
    int count = 0;
    GetSelectedSize(paths, &count);
    return count;
}

uint64_t GetSelectedSize(const std::vector<std::string>& paths, int* count)
{
    uint64_t total = 0;
    int files = 0;
    for (const auto& path : paths) {
        std::error_code ec;
        const auto status = fs::status(path, ec);
        if (ec)
            continue;
        if (fs::is_regular_file(status)) {
            ++files;
            total += GetFileSize(path);
        } else if (fs::is_directory(status)) {
            total += FolderSize(path, files);
        }
    }
    if (count)
        *count = files;
    return total;
}

std::string RootPath(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), ec);
    if (ec)
        return "/";
    absolute = fs::weakly_canonical(absolute, ec).lexically_normal();
    std::ifstream info("/proc/self/mountinfo");
    std::string line;
    std::string best = "/";
    while (std::getline(info, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        if (!(fields >> id >> parent >> device >> root >> mountPoint))
            continue;
        mountPoint = Unescape(mountPoint);
        if (mountPoint.size() > best.size() && IsUnder(absolute, fs::path(mountPoint)))
            best = mountPoint;
    }
    if (best.back() != '/')
        best += '/';
    return best;
}

uint64_t GetDiskFreeSpace(const std::string& path)
{
    if (path.empty())
        return 0;
    struct statvfs vfs;
    if (statvfs(RootPath(path).c_str(), &vfs) != 0)
        return 0;
    return static_cast<uint64_t>(vfs.f_bfree) * static_cast<uint64_t>(vfs.f_frsize);
}

int CheckPathLength(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return ecInvalidName;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end - start > NAME_MAX)
            return ecInvalidName;
        start = end + 1;
    }
    return ecSuccess;
}

bool ExecuteFile(IDocumentOpener& opener, const std::string& file, const std::string& parameters,
                 const std::string& folder)
{
    // The desktop's open service takes no parameters; a document opens on its own.
    (void)parameters;
    if (file.empty())
        return false;
    if (file.find("://") != std::string::npos || file.rfind("mailto:", 0) == 0)
        return opener.Open(file);
    fs::path target(file);
    if (target.is_relative()) {
        std::error_code ec;
        target = (folder.empty() ? fs::current_path(ec) : fs::path(folder)) / target;
    }
    std::error_code ec;
    if (!fs::exists(target, ec))
        return false;
    return opener.Open(target.lexically_normal().string());
}
