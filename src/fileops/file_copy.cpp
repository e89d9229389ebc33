#include "fileops/file_copy.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "app/string_table.h"
#include "fileops/file_errors.h"
#include "fileops/file_utils.h"
#include "fileops/progress.h"
#include "platform/dialogs.h"
#include "platform/error_codes.h"
#include "platform/font_table.h"
#include "platform/free_space.h"
#include "platform/locale_info.h"
#include "platform/rename_no_replace.h"

namespace {

// The last component of a folder path ("/a/b/" gives "b"); empty for the root.
std::string LastComponent(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder == "/")
        return std::string();
    return ExtractFileName(folder);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

TFileCopy::TFileCopy(const TPlatform& platform, ICopyProgress& progress)
    : TFileFunction(platform), FProgress(progress)
{
}

std::string TFileCopy::Separator() const
{
    return FPlatform.Locale ? FPlatform.Locale->ThousandsSeparator() : std::string(",");
}

bool TFileCopy::HasFreeSpace(const std::string& folder)
{
    const uint64_t free = FPlatform.FreeSpace ? FPlatform.FreeSpace->FreeBytes(folder) : 0;
    return FTotalSize <= free;
}

void TFileCopy::BeginProgress(const std::string& title)
{
    std::string source = FFiles.empty() ? std::string() : LastComponent(FolderOf(FFiles.front()));
    if (source.empty()) {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            source = LastComponent(cwd);
    }
    if (source.empty())
        source = "/";
    FProgress.SetSource(source);
    if (FFileCount == 0)
        FFileCount = static_cast<int>(FFiles.size());
    FProgress.SetMaxBytes(FTotalSize);
    FProgress.SetTotalSizeText(FormatBytes(FTotalSize, Separator()));
    FProgress.SetTotal(FFileCount);
    FProgress.SetCurrent(0);
    FProgress.Begin(title);
}

int TFileCopy::Execute(const std::string& folder)
{
    FCopies.clear();
    IDialogs* dialogs = FPlatform.Dialogs;
    struct stat st;
    // Without a folder the copies would land wherever the program happens to run.
    if (folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        if (dialogs)
            dialogs->MessageBox(GetErrorText(ecPathNotFound), LoadStr(504), TMsgIcon::Error,
                                TMsgButtons::Ok);
        return ecPathNotFound;
    }
    FTotalSize = GetSelectedSize(FFiles);
    if (!HasFreeSpace(folder)) {
        if (dialogs)
            dialogs->MessageBox(LoadStr(525), LoadStr(504), TMsgIcon::Error, TMsgButtons::Ok);
        return -1;
    }
    std::string dest = LastComponent(folder);
    if (dest.empty())
        dest = "/";
    FFileCount = GetSelectedCount(FFiles);

    BeginProgress(LoadStr(534));
    struct TEnd {
        ICopyProgress& progress;
        ~TEnd() { progress.End(); }
    } end{FProgress};
    FProgress.SetDest(dest);
    FProgress.StartEstimate();

    FResults.assign(FFiles.size(), 0);
    FSkipping = false;
    int code = 0;
    const int count = static_cast<int>(FFiles.size());
    for (int i = 0; i < count; ++i) {
        const std::string target = AddToPath(folder, ExtractFileName(FFiles[i]));
        code = CopyItem(FFiles[i], folder, target);
        if (code == ecSuccess && FPlatform.FontTable && !FPlatform.FontTable->Register(target)) {
            // The copy is this run's own file: nothing else can have taken its name since.
            unlink(target.c_str());
            code = ecInvalidFont;
        }
        if (code == ecSuccess)
            FCopies.push_back(target);
        FResults[i] = code == ecSuccess ? 1 : 0;
        if (code == ecCancelled)
            break;
        if (code <= 0)
            continue;
        if (code == ecFileExists || code == ecAlreadyExists) {
            // Handled again in skip state: counted once, its bytes added to the gauge.
            FSkipping = true;
            --i;
            continue;
        }
        if (!dialogs || !ShowFileError(*dialogs, code, LoadStr(503), i == count - 1))
            break;
    }
    return code;
}

int TFileCopy::CopyItem(const std::string& source, const std::string& folder,
                        const std::string& dest)
{
    if (FProgress.Cancelled())
        return ecCancelled;
    const uint64_t size = GetFileSize(source);
    FProgress.SetFileText(FormatStr("%s (%s bytes)", ExtractFileName(source).c_str(),
                                    FormatBytes(size, Separator()).c_str()));
    if (FSkipping) {
        // Only this file is skipped; the next one is copied as usual.
        FSkipping = false;
        if (size > FFileBytes)
            FProgress.AddBytes(size - FFileBytes);
        FFileBytes = size;
        return -1;
    }
    FProgress.SetCurrent(FProgress.Current() + 1);
    FFileBytes = 0;

    if (const int code = CheckPathLength(dest))
        return code;
    struct stat existing;
    if (lstat(dest.c_str(), &existing) == 0)
        return ecFileExists;

    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (in < 0)
        return ErrnoToCode(errno);
    struct stat st;
    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(in);
        return ecAccessDenied;
    }

    std::string temporary = AddToPath(folder, ".fonzeta-XXXXXX");
    const int out = mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        const int code = ErrnoToCode(errno);
        close(in);
        return code;
    }
    int code = CopyData(in, out);
    if (code == ecSuccess && fsync(out) != 0)
        code = ErrnoToCode(errno);
    if (code == ecSuccess && fchmod(out, st.st_mode & 0777) != 0)
        code = ErrnoToCode(errno);
    if (code == ecSuccess) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
        if (futimens(out, times) != 0)
            code = ErrnoToCode(errno);
    }
    if (close(out) != 0 && code == ecSuccess)
        code = ErrnoToCode(errno);
    close(in);
    if (code == ecSuccess) {
        const int err = RenameNoReplace(temporary, dest);
        if (err != 0)
            code = err == EEXIST ? ecFileExists : ErrnoToCode(err);
    }
    if (code != ecSuccess)
        unlink(temporary.c_str());
    return code;
}

int TFileCopy::CopyData(int in, int out)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[BufferSize]);
    if (!buffer)
        return ecNotEnoughMemory;
    for (;;) {
        const ssize_t got = read(in, buffer.get(), BufferSize);
        if (got < 0 && errno == EINTR)
            continue;
        // A failed read is no end of file: the copy would be cut short.
        if (got < 0)
            return ecReadFault;
        if (got == 0)
            return ecSuccess;
        size_t written = 0;
        while (written < static_cast<size_t>(got)) {
            const ssize_t n = write(out, buffer.get() + written, static_cast<size_t>(got) - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return ErrnoToCode(errno);
            if (n == 0)
                return ecDiskFull;
            written += static_cast<size_t>(n);
        }
        if (FProgress.Cancelled())
            return ecCancelled;
        FProgress.AddBytes(static_cast<uint64_t>(got));
        FFileBytes += static_cast<uint64_t>(got);
    }
}
