#pragma once

#include "fileops/file_function.h"

class IDeleteProgress;

// Sends files to the trash. A file this program registered with the process font table is
// unregistered first and registered again when the trash refuses it; installed files were
// never registered and need nothing. Cancel is looked at before a file is touched.
class TFileDelete : public TFileFunction {
public:
    TFileDelete(const TPlatform& platform, IDeleteProgress& progress);

    // Returns the code of the last file handled (0 = success).
    int Execute();

private:
    int DeleteItem(const std::string& path);

    IDeleteProgress& FProgress;
};
