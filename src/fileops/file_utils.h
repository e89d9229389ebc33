#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IDocumentOpener;

// Path, file and volume helpers. Paths are UTF-8 with "/" as the separator; ":" is an
// ordinary file-name character here.

// The part of `path` after its last "/"; the whole path when it has none.
std::string ExtractFileName(const std::string& path);

// `folder` and `name` joined by one "/" (none is added when `folder` already ends with
// one); `folder` alone when `name` is empty, `name` alone when `folder` is empty.
std::string AddToPath(const std::string& folder, const std::string& name);

// Size of a file in bytes; 0 when it cannot be opened.
uint64_t GetFileSize(const std::string& path);

// Number of existing files in the list (a folder counts the files below it).
int GetSelectedCount(const std::vector<std::string>& paths);
// Total size of those files; `count` (when given) receives their number.
uint64_t GetSelectedSize(const std::vector<std::string>& paths, int* count = nullptr);

// The root of the mounted volume holding `path`, ending with "/".
std::string RootPath(const std::string& path);

// Free bytes on the volume holding `path` (all free blocks, not only those available to
// this user); 0 when the volume cannot be queried.
uint64_t GetDiskFreeSpace(const std::string& path);

// 0 when `path` can name a file here, else ecInvalidName: a path longer than the
// platform's limit, or with a component longer than a file name may be. Paths are never
// cut to fit, since a cut path could name another file.
int CheckPathLength(const std::string& path);

// Opens `file` with the program the user associated with it. A relative `file` is taken
// relative to `folder`, or to the current folder when `folder` is empty.
bool ExecuteFile(IDocumentOpener& opener, const std::string& file, const std::string& parameters,
                 const std::string& folder);
