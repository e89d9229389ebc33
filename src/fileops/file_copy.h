#pragma once

#include "fileops/file_function.h"

class ICopyProgress;

// Copies font files into a folder and registers each copy with the process font table.
//
// No half file ever bears a font's name: each file is written to a hidden temporary file in
// the target folder (fontconfig skips dot files), flushed to disk, given the source's mode
// (without set-id bits) and modification time, and only then linked to its name, never over
// an existing one. A failure or Cancel removes the temporary file; a copy the font table
// refuses is removed again. A name that exists already (a dangling link too) is skipped
// silently, that file only. A file the run did not create is never touched.
class TFileCopy : public TFileFunction {
public:
    TFileCopy(const TPlatform& platform, ICopyProgress& progress);

    // Copies every file of FFiles into `folder`. Returns the code of the last file handled;
    // -1 when the volume has too little room for all of them, or ecPathNotFound when the
    // folder is missing (nothing is copied then, and the results stay as they were).
    int Execute(const std::string& folder);

    // The copies the last run made and registered, in order.
    const std::vector<std::string>& Copies() const { return FCopies; }

    static constexpr size_t BufferSize = 65535;

private:
    bool HasFreeSpace(const std::string& folder);
    void BeginProgress(const std::string& title);
    int CopyItem(const std::string& source, const std::string& folder, const std::string& dest);
    int CopyData(int in, int out);
    std::string Separator() const;

    ICopyProgress& FProgress;
    uint64_t FTotalSize = 0;
    int FFileCount = 0;
    // Set by a name conflict: the same file is handled again and skipped.
    bool FSkipping = false;
    // Bytes of the current file added to the gauge so far.
    uint64_t FFileBytes = 0;
    std::vector<std::string> FCopies;
};
