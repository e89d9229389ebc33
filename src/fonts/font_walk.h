#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

// A TrueType file met by WalkFontFiles.
struct TFontFileEntry {
    const std::string& Path;  // the walked folder joined with the file's name
    // Identity of the file (of its target for a symbolic link), whatever path spells it.
    dev_t Device;
    ino_t Inode;
};

// Walks `folder` depth first, in the order the file system lists each folder, going into a
// sub-folder at the moment it is met, and calls `onFile` for every regular file whose
// extension is ".ttf" in any letter case. Symbolic links are followed, but no folder is
// entered twice, so link loops end; folders that cannot be read are skipped. `skipFolder`
// (when not empty), and so everything below it, is never entered, by whatever path the
// walk reaches it.
void WalkFontFiles(const std::string& folder, const std::string& skipFolder,
                   const std::function<void(const TFontFileEntry&)>& onFile);

// Number of files WalkFontFiles meets: the total of a folder scan's progress. Pass the
// listing font list's SysFontFolder() as `skipFolder` so the count matches its scan.
int CountFontFiles(const std::string& folder, const std::string& skipFolder = std::string());

// True when the text from the last dot of the file-name part of `path` is ".ttf",
// ignoring letter case.
bool HasTtfExtension(const std::string& path);
