#include "platform/error_codes.h"

#include <cerrno>

int ErrnoToCode(int err)
{
    switch (err) {
    case 0: return ecSuccess;
    case ENOENT: return ecFileNotFound;
    case ENOTDIR: return ecPathNotFound;
    case EACCES:
    case EPERM: return ecAccessDenied;
    case ENOMEM: return ecNotEnoughMemory;
    case EROFS: return ecWriteProtect;
    case ENODEV:
    case ENXIO: return ecNotReady;
    case EIO: return ecReadFault;
    case EBUSY:
    case ETXTBSY: return ecSharingViolation;
    case EEXIST: return ecFileExists;
    case EINVAL: return ecInvalidParameter;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return ecDiskFull;
    case ENAMETOOLONG: return ecInvalidName;
    case ENOTEMPTY: return ecDirNotEmpty;
    case ECANCELED: return ecCancelled;
    default: return (1 << 29) | err;
    }
}
