#pragma once

#include <string>

namespace fonzeta::test {

// A fresh folder inside the sandbox, removed with everything in it when the object goes
// (permissions a test took away are given back first).
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    // `relative` joined to the folder.
    std::string operator/(const std::string& relative) const { return FPath + "/" + relative; }
    // Creates a sub-folder (with its parents) and returns its path.
    std::string MakeFolder(const std::string& relative) const;
    // Copies a file into the folder under `relative` and returns the new path.
    std::string CopyFile(const std::string& from, const std::string& relative) const;

private:
    std::string FPath;
};

// While it lives, the calling thread obeys file permissions even when it runs as root
// (its capabilities to override them are dropped), so tests can meet unreadable files.
class TObeyFilePermissions {
public:
    TObeyFilePermissions();
    ~TObeyFilePermissions();
    TObeyFilePermissions(const TObeyFilePermissions&) = delete;
    TObeyFilePermissions& operator=(const TObeyFilePermissions&) = delete;
    // False when the capabilities could not be dropped.
    bool Active() const { return FActive; }

private:
    bool FActive = false;
    bool FChanged = false;
    unsigned FSaved[2] = {};
};

}  // namespace fonzeta::test
