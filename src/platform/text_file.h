#pragma once

#include <string>
#include <vector>

// Whole text files, as bytes or as a list of lines. Lines are read up to LF (a CR before it
// is dropped) and written back with CR LF. Bytes are kept as they are: a line the program
// cannot make sense of survives a load and save unchanged. Paths are bytes and may be any
// name the file system holds.

// False when the file cannot be read; `error` then says why, naming the path.
bool LoadTextFile(const std::string& path, std::string& bytes, std::string& error);
bool LoadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error);

// Writes to a temporary file in the same folder and renames it over the old file, so a
// failed write (full disk, read-only folder) leaves the old contents intact. False with
// `error` naming the path and the reason on failure.
bool SaveTextFile(const std::string& path, const std::string& bytes, std::string& error);
bool SaveTextLines(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error);
