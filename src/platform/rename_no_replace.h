#pragma once

#include <string>

// Gives the file at `from` the name `to` unless `to` already exists (a dangling symbolic
// link counts as existing). Returns 0, or the errno of the failure: EEXIST when the name is
// taken. File systems without renameat2's RENAME_NOREPLACE get a hard link followed by the
// removal of the old name, which refuses a taken name just the same.
int RenameNoReplace(const std::string& from, const std::string& to);
