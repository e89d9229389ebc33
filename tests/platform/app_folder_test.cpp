#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/app_folder.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using fonzeta::test::Sandbox;

namespace {

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<html></html>";
}

// The executable of a prefix (bin/) with its documents in share/fonzeta, as installed.
TEST(InstalledLayout, FindsItsDocumentsAndKeepsSettingsOutOfTheBinFolder)
{
    QTemporaryDir prefix;
    const fs::path root(prefix.path().toStdString());
    const std::string bin = (root / "bin").string();
    fs::create_directories(bin);
    Touch(root / "share" / "fonzeta" / "help.html");
    const std::string config = Sandbox::Root() + "/config/fonzeta";
    fs::remove_all(config);

    EXPECT_TRUE(IsInstalledLayout(bin));
    EXPECT_EQ(HelpFolderFor(bin), (root / "share" / "fonzeta").string());
    // The bin folder is writable here (a per-user install), yet no settings go there.
    EXPECT_EQ(SettingsFolderFor(bin), config);
    EXPECT_TRUE(fs::is_directory(config));
    // Reached through a path with "..", the documents are still named plainly.
    EXPECT_EQ(HelpFolderFor((root / "share" / ".." / "bin").string()),
              (root / "share" / "fonzeta").string());
}

// A build folder or a portable copy carries its documents and keeps its settings itself.
TEST(InstalledLayout, DocumentsBesideTheProgramWinOverAnInstalledCopy)
{
    QTemporaryDir prefix;
    const fs::path root(prefix.path().toStdString());
    const std::string bin = (root / "bin").string();
    Touch(root / "bin" / "help.html");
    Touch(root / "share" / "fonzeta" / "help.html");
    EXPECT_FALSE(IsInstalledLayout(bin));
    EXPECT_EQ(HelpFolderFor(bin), bin);
    EXPECT_EQ(SettingsFolderFor(bin), bin);

    // Without documents anywhere the program's own folder is named, so a missing document
    // is reported where a user would look for it.
    QTemporaryDir bare;
    EXPECT_FALSE(IsInstalledLayout(bare.path().toStdString()));
    EXPECT_EQ(HelpFolderFor(bare.path().toStdString()), bare.path().toStdString());
    EXPECT_FALSE(IsInstalledLayout(""));
}

TEST(InstalledLayout, RelativeConfigHomeIsIgnored)
{
    QTemporaryDir prefix;
    const fs::path root(prefix.path().toStdString());
    fs::create_directories(root / "bin");
    Touch(root / "share" / "fonzeta" / "help.html");
    const std::string saved = std::getenv("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    const std::string folder = SettingsFolderFor((root / "bin").string());
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    EXPECT_EQ(folder, Sandbox::Root() + "/home/.config/fonzeta");
    EXPECT_FALSE(fs::exists("relative/config"));
}

}  // namespace
