#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

#include "platform/fontconfig_notifier.h"
#include "platform/fontconfig_store.h"
#include "support/fileops_fakes.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

// Each fontconfig cache file of the sandbox with its inode and change time: a rewritten
// cache is a new file renamed into place.
std::map<std::string, std::pair<ino_t, long>> CacheFiles()
{
    std::map<std::string, std::pair<ino_t, long>> files;
    const std::string folder = Sandbox::Root() + "/cache/fontconfig";
    for (const auto& name : Listing(folder)) {
        struct stat st;
        if (stat((folder + "/" + name).c_str(), &st) == 0)
            files[name] = {st.st_ino, st.st_ctim.tv_nsec + st.st_ctim.tv_sec * 1000000000L};
    }
    return files;
}

bool Listed(TFontconfigStore& store, const std::string& path)
{
    const auto files = store.InstalledFiles();
    return std::find(files.begin(), files.end(), path) != files.end();
}

TEST(FontconfigRescan, OneRescanServesTheBroadcastThatFollows)
{
    const std::string user = Sandbox::UserFontFolder();
    const std::string first = user + "/rescan-first.ttf";
    const std::string second = user + "/rescan-second.ttf";
    TFontconfigStore store;
    TFontconfigNotifier notifier(store);
    fs::copy_file(Sandbox::DejaVuSerif(), first);
    ASSERT_TRUE(store.RescanFolder(user));
    EXPECT_TRUE(Listed(store, first));

    const auto before = CacheFiles();
    ASSERT_FALSE(before.empty());
    notifier.Broadcast();
    EXPECT_EQ(CacheFiles(), before) << "the broadcast scanned the folder again";

    // A change the rescan did not see is picked up by the next broadcast.
    fs::copy_file(Sandbox::DejaVuSansBold(), second);
    notifier.Broadcast();
    EXPECT_NE(CacheFiles(), before);
    EXPECT_TRUE(Listed(store, second));

    fs::remove(first);
    fs::remove(second);
    ASSERT_TRUE(store.RescanFolder(user));
    EXPECT_FALSE(Listed(store, first));
    EXPECT_FALSE(Listed(store, second));
}

}  // namespace
