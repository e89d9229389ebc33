#include "support/temp_folder.h"

#include <filesystem>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

#include "support/sandbox.h"

namespace fs = std::filesystem;

namespace fonzeta::test {

TTempFolder::TTempFolder()
{
    std::string pattern = Sandbox::Root() + "/tmp-XXXXXX";
    if (Sandbox::Root().empty() || !mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder in the sandbox");
    FPath = pattern;
}

TTempFolder::~TTempFolder()
{
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(FPath, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code pec;
        if (!it->is_symlink(pec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, pec);
    }
    fs::remove_all(FPath, ec);
}

std::string TTempFolder::MakeFolder(const std::string& relative) const
{
    const std::string path = *this / relative;
    fs::create_directories(path);
    return path;
}

std::string TTempFolder::CopyFile(const std::string& from, const std::string& relative) const
{
    const std::string path = *this / relative;
    fs::create_directories(fs::path(path).parent_path());
    fs::copy_file(from, path, fs::copy_options::overwrite_existing);
    return path;
}

namespace {

constexpr unsigned kOverrides = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH;

bool CapGet(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

bool CapSet(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

TObeyFilePermissions::TObeyFilePermissions()
{
    __user_cap_data_struct data[2] = {};
    if (!CapGet(data))
        return;
    FSaved[0] = data[0].effective;
    FSaved[1] = data[1].effective;
    if ((data[0].effective & kOverrides) == 0) {
        FActive = true;
        return;
    }
    data[0].effective &= ~kOverrides;
    FActive = FChanged = CapSet(data);
}

TObeyFilePermissions::~TObeyFilePermissions()
{
    if (!FChanged)
        return;
    __user_cap_data_struct data[2] = {};
    if (CapGet(data)) {
        data[0].effective = FSaved[0];
        data[1].effective = FSaved[1];
        CapSet(data);
    }
}

}  // namespace fonzeta::test
