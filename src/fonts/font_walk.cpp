#include "fonts/font_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "fileops/file_utils.h"
#include "fonts/naming_table.h"

namespace {

class TFolderWalker {
public:
    explicit TFolderWalker(const std::function<void(const TFontFileEntry&)>& onFile)
        : FOnFile(onFile)
    {
    }

    void Exclude(const std::string& folder)
    {
        struct stat st {};
        if (!folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            FVisited.insert({st.st_dev, st.st_ino});
    }

    void Walk(const std::string& folder)
    {
        struct TEntry {
            std::string Name;
            unsigned char Type;
            ino_t Inode;
        };
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat st {};
        if (fstat(fd, &st) != 0 || !FVisited.insert({st.st_dev, st.st_ino}).second) {
            close(fd);
            return;
        }
        DIR* dir = fdopendir(fd);
        if (!dir) {
            close(fd);
            return;
        }
        // The entries are taken first and the folder closed before going deeper, so one
        // folder is open at a time however deep the tree.
        std::vector<TEntry> entries;
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                entries.push_back({name, entry->d_type, entry->d_ino});
        }
        closedir(dir);

        for (const TEntry& entry : entries) {
            const std::string path = AddToPath(folder, entry.Name);
            unsigned char type = entry.Type;
            dev_t device = st.st_dev;
            ino_t inode = entry.Inode;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                struct stat target {};
                if (stat(path.c_str(), &target) != 0)
                    continue;
                type = S_ISDIR(target.st_mode) ? DT_DIR : S_ISREG(target.st_mode) ? DT_REG : DT_UNKNOWN;
                device = target.st_dev;
                inode = target.st_ino;
            }
            if (type == DT_DIR)
                Walk(path);
            else if (type == DT_REG && HasFontExtension(entry.Name) &&
                     FFiles.insert({device, inode}).second)
                FOnFile(TFontFileEntry{path, device, inode});
        }
    }

private:
    const std::function<void(const TFontFileEntry&)>& FOnFile;
    std::set<std::pair<dev_t, ino_t>> FVisited;
    std::set<std::pair<dev_t, ino_t>> FFiles;
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The extension of the file-name part of `path` in lower case, without its dot, when it
// has three letters; empty otherwise.
std::string Extension3(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        path.size() - dot != 4)
        return std::string();
    return {AsciiLower(path[dot + 1]), AsciiLower(path[dot + 2]), AsciiLower(path[dot + 3])};
}

}  // namespace

bool HasFontExtension(const std::string& path)
{
    const std::string ext = Extension3(path);
    return ext == "ttf" || ext == "otf" || ext == "ttc" || ext == "otc";
}

bool HasCollectionExtension(const std::string& path)
{
    const std::string ext = Extension3(path);
    return ext == "ttc" || ext == "otc";
}

void WalkFontFiles(const std::string& folder, const std::string& skipFolder,
                   const std::function<void(const TFontFileEntry&)>& onFile)
{
    if (folder.empty())
        return;
    TFolderWalker walker(onFile);
    walker.Exclude(skipFolder);
    walker.Walk(folder);
}

int CountFontFiles(const std::string& folder, const std::string& skipFolder)
{
    int count = 0;
    WalkFontFiles(folder, skipFolder, [&count](const TFontFileEntry& file) {
        count += HasCollectionExtension(file.Path) ? CountFaces(file.Path) : 1;
    });
    return count;
}

int CountFontFaces(const std::vector<std::string>& files)
{
    int count = 0;
    for (const std::string& file : files)
        count += HasCollectionExtension(file) ? CountFaces(file) : 1;
    return count;
}
