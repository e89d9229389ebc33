#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A batch operation on a list of files, one file after the other, with a progress window,
// one error box per failed file and the choice to go on or stop. The caller fills FFiles,
// runs Execute and then asks GetResult for each index.
class TFileFunction {
public:
    explicit TFileFunction(const TPlatform& platform) : FPlatform(platform) {}
    virtual ~TFileFunction() = default;
    TFileFunction(const TFileFunction&) = delete;
    TFileFunction& operator=(const TFileFunction&) = delete;

    // Full paths of the files, in processing order.
    std::vector<std::string> FFiles;

    // True when the file at `index` was handled successfully by the last run; false before
    // any run, for a failed, skipped or never handled file, and for an index out of range.
    bool GetResult(int index) const
    {
        return index >= 0 && index < static_cast<int>(FResults.size()) && FResults[index] == 1;
    }

protected:
    TPlatform FPlatform;
    // One byte per file of the last run: 1 done, 0 not.
    std::vector<uint8_t> FResults;
};
