#include "fileops/file_delete.h"

#include <cerrno>
#include <sys/stat.h>

#include "app/string_table.h"
#include "fileops/file_errors.h"
#include "fileops/file_utils.h"
#include "fileops/progress.h"
#include "platform/error_codes.h"
#include "platform/font_table.h"
#include "platform/trash.h"

TFileDelete::TFileDelete(const TPlatform& platform, IDeleteProgress& progress)
    : TFileFunction(platform), FProgress(progress)
{
}

int TFileDelete::Execute()
{
    FProgress.Begin(GetSelectedCount(FFiles));
    struct TEnd {
        IDeleteProgress& progress;
        ~TEnd() { progress.End(); }
    } end{FProgress};

    FResults.assign(FFiles.size(), 0);
    int code = 0;
    const int count = static_cast<int>(FFiles.size());
    for (int i = 0; i < count; ++i) {
        struct stat st;
        if (lstat(FFiles[i].c_str(), &st) != 0)
            code = ErrnoToCode(errno);
        else
            code = DeleteItem(FFiles[i]);
        FResults[i] = code == ecSuccess ? 1 : 0;
        if (code == ecCancelled)
            break;
        if (code > 0 && (!FPlatform.Dialogs ||
                         !ShowFileError(*FPlatform.Dialogs, code, LoadStr(503), i == count - 1)))
            break;
    }
    return code;
}

int TFileDelete::DeleteItem(const std::string& path)
{
    // Looked at before anything is done to the file, so a cancelled file stays as it was.
    if (FProgress.Cancelled())
        return ecCancelled;
    FProgress.SetItem(ExtractFileName(path));
    int code = CheckPathLength(path);
    if (code == ecSuccess) {
        IFontTable* table = FPlatform.FontTable;
        const bool registered = table && table->IsRegistered(path);
        if (registered)
            table->Unregister(path);
        code = FPlatform.Trash ? FPlatform.Trash->MoveToTrash(path) : ecAccessDenied;
        if (code != ecSuccess && registered)
            table->Register(path);
    }
    FProgress.StepFile();
    return code;
}
