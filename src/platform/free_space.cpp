#include "platform/free_space.h"

#include <sys/statvfs.h>

uint64_t TVolumeFreeSpace::FreeBytes(const std::string& folder)
{
    struct statvfs vfs;
    if (folder.empty() || statvfs(folder.c_str(), &vfs) != 0)
        return 0;
    // The blocks reserved for the superuser are no use to a copy made as another user.
    return static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
}
