#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// A font file met by WalkFontFiles.
struct TFontFileEntry {
    const std::string& Path;  // the walked folder joined with the file's name
    // Identity of the file (of its target for a symbolic link), whatever path spells it.
    dev_t Device;
    ino_t Inode;
};

// Walks `folder` depth first, in the order the file system lists each folder, going into a
// sub-folder at the moment it is met, and calls `onFile` for every regular font file (see
// HasFontExtension). Each file is met once: a symbolic link to a file met before, a hard
// link of one, or a file met before through a linked folder is passed over, so the first
// path met is the one reported. Symbolic links are followed, but no folder is entered
// twice, so link loops end; folders that cannot be read are skipped. `skipFolder` (when
// not empty), and so everything below it, is never entered, by whatever path the walk
// reaches it. Names are bytes: any name the kernel holds is walked.
void WalkFontFiles(const std::string& folder, const std::string& skipFolder,
                   const std::function<void(const TFontFileEntry&)>& onFile);

// Number of fonts a folder scan reads: every face of the files WalkFontFiles meets (the
// count a collection's header gives, 1 for any other file). The total of a folder scan's
// progress; pass the listing font list's SysFontFolder() as `skipFolder` so the count
// matches its scan.
int CountFontFiles(const std::string& folder, const std::string& skipFolder = std::string());

// Faces of the given files: a collection's count for each .ttc or .otc file, 1 for any
// other.
int CountFontFaces(const std::vector<std::string>& files);

// True when the text from the last dot of the file-name part of `path` is ".ttf", ".otf",
// ".ttc" or ".otc", ignoring letter case: TrueType and OpenType fonts and their
// collections. Type 1 and bitmap fonts are not listed.
bool HasFontExtension(const std::string& path);
// True for ".ttc" and ".otc" in any letter case.
bool HasCollectionExtension(const std::string& path);
