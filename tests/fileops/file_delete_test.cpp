#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>

#include "fileops/deleting_form.h"
#include "fileops/file_delete.h"
#include "platform/error_codes.h"
#include "platform/xdg_trash.h"
#include "support/fakes.h"
#include "support/fileops_fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

const char* const kQuestion = "Do you want to process the rest of files?";

// The .trashinfo files of the sandbox's trash, by name, with their contents.
std::map<std::string, std::string> TrashInfos()
{
    std::map<std::string, std::string> infos;
    for (const auto& name : Listing(Sandbox::TrashFolder() + "/info"))
        infos[name] = Bytes(Sandbox::TrashFolder() + "/info/" + name);
    return infos;
}

class FileDeleteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(Sandbox::TrashFolder());
        trash.Real = &realTrash;
        platform.FontTable = &table;
        platform.Dialogs = &dialogs;
        platform.Trash = &trash;
        owner.resize(640, 480);
        owner.show();
        window.SetOwner(&owner);
    }

    // Three registered fonts, as a folder listing leaves them.
    std::vector<std::string> ThreeListedFonts()
    {
        std::vector<std::string> files = {folder.CopyFile(Sandbox::DejaVuSans(), "one.ttf"),
                                          folder.CopyFile(Sandbox::DejaVuSansBold(), "two.ttf"),
                                          folder.CopyFile(Sandbox::DejaVuSerif(), "three.ttf")};
        for (const auto& file : files)
            table.Register(file);
        return files;
    }

    TTempFolder folder;
    TFakeFontTable table;
    TScriptedDialogs dialogs;
    TXdgTrash realTrash;
    TFakeTrash trash;
    QWidget owner;
    TfDeleting window{&owner};
    TPlatform platform;
};

TEST_F(FileDeleteTest, RefusedFileIsReportedKeptAndRegisteredAgain)
{
    const auto files = ThreeListedFonts();
    const std::string secondBytes = Bytes(files[1]);
    trash.Refusals[files[1]] = ecSharingViolation;
    dialogs.Answers = {TMsgAnswer::Yes};
    TFileDelete remove(platform, window);
    remove.FFiles = files;
    EXPECT_EQ(remove.Execute(), 0);

    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text,
              std::string("There has been sharing violation. File or Folder is being used by "
                          "another program\n\n") + kQuestion);
    EXPECT_EQ(dialogs.Shown[0].Caption, kQuestion);
    EXPECT_EQ(dialogs.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_FALSE(remove.GetResult(1));
    EXPECT_TRUE(remove.GetResult(2));
    EXPECT_EQ(Listing(folder.Path()), (std::vector<std::string>{"two.ttf"}));
    EXPECT_EQ(Bytes(files[1]), secondBytes);
    EXPECT_FALSE(table.IsRegistered(files[0]));
    EXPECT_TRUE(table.IsRegistered(files[1]));
    EXPECT_FALSE(table.IsRegistered(files[2]));
    EXPECT_EQ(Listing(Sandbox::TrashFolder() + "/files"),
              (std::vector<std::string>{"one.ttf", "three.ttf"}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(FileDeleteTest, LastFileFailingGetsOkOnlyAndUnknownCodesTheirNumber)
{
    const auto files = ThreeListedFonts();
    trash.Refusals[files[2]] = 87;
    TFileDelete remove(platform, window);
    remove.FFiles = files;
    remove.Execute();
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text,
              "Error Occured. Error Code : 87\n\nPlease mail me an error code and situation error occured.");
    EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgButtons::Ok);
}

TEST_F(FileDeleteTest, NamesakesFromTwoFoldersBothReachTheTrash)
{
    const std::string a = folder.CopyFile(Sandbox::DejaVuSans(), "a/same.ttf");
    const std::string b = folder.CopyFile(Sandbox::DejaVuSerif(), "b/same.ttf");
    TFileDelete remove(platform, window);
    remove.FFiles = {a, b};
    remove.Execute();
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_TRUE(remove.GetResult(1));
    EXPECT_TRUE(dialogs.Shown.empty());
    const auto infos = TrashInfos();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_NE(infos.at("same.ttf.trashinfo").find("Path=" + a + "\n"), std::string::npos);
    EXPECT_NE(infos.at("same.2.ttf.trashinfo").find("Path=" + b + "\n"), std::string::npos);
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/same.ttf"), Bytes(Sandbox::DejaVuSans()));
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/same.2.ttf"), Bytes(Sandbox::DejaVuSerif()));
}

TEST_F(FileDeleteTest, NamesThatAreNoUtf8ReachTheTrashByteForByte)
{
    const std::string latin1 = folder / "caf\xE9 font.ttf";
    WriteBytes(latin1, "bytes");
    TFileDelete remove(platform, window);
    remove.FFiles = {latin1};
    remove.Execute();
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_FALSE(fs::exists(latin1));
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/caf\xE9 font.ttf"), "bytes");
    const auto infos = TrashInfos();
    ASSERT_EQ(infos.count("caf\xE9 font.ttf.trashinfo"), 1u);
    EXPECT_NE(infos.at("caf\xE9 font.ttf.trashinfo").find("Path=" + folder.Path() + "/caf%E9%20font.ttf\n"),
              std::string::npos);
}

TEST_F(FileDeleteTest, ReadOnlyFolderKeepsFileRegistrationAndTrashClean)
{
    const std::string file = folder.CopyFile(Sandbox::DejaVuSans(), "locked/font.ttf");
    table.Register(file);
    ASSERT_EQ(chmod(fs::path(file).parent_path().c_str(), 0555), 0);
    TObeyFilePermissions obey;
    ASSERT_TRUE(obey.Active());
    TFileDelete remove(platform, window);
    remove.FFiles = {file};
    remove.Execute();
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, "Access is denied.");
    EXPECT_FALSE(remove.GetResult(0));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(table.IsRegistered(file));
    EXPECT_TRUE(TrashInfos().empty());
}

TEST_F(FileDeleteTest, CancelAfterTheFirstFileLeavesTheRestUntouched)
{
    const auto files = ThreeListedFonts();
    QPushButton* cancel = window.findChild<QPushButton*>(QStringLiteral("bCancel"));
    QLabel* item = window.findChild<QLabel*>(QStringLiteral("Item"));
    const auto watcher = RunWhen([&] { return item->text() == "one.ttf"; },
                                 [&] { QTest::mouseClick(cancel, Qt::LeftButton); });
    TFileDelete remove(platform, window);
    remove.FFiles = files;
    EXPECT_EQ(remove.Execute(), ecCancelled);
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_FALSE(remove.GetResult(1));
    EXPECT_EQ(Listing(folder.Path()), (std::vector<std::string>{"three.ttf", "two.ttf"}));
    EXPECT_TRUE(table.IsRegistered(files[1]));
    EXPECT_TRUE(table.IsRegistered(files[2]));
    EXPECT_FALSE(table.IsRegistered(files[0]));
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_EQ(trash.Calls, (std::vector<std::string>{files[0]}));
}

TEST_F(FileDeleteTest, FontHeldOpenByAnotherProgramGoesToTheTrashIntact)
{
    const std::string file = folder.CopyFile(Sandbox::DejaVuSans(), "busy.ttf");
    table.Register(file);
    QProcess holder;
    holder.setStandardInputFile(QString::fromStdString(file));
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    TFileDelete remove(platform, window);
    remove.FFiles = {file};
    remove.Execute();
    holder.kill();
    holder.waitForFinished();
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_EQ(Bytes(Sandbox::TrashFolder() + "/files/busy.ttf"), Bytes(Sandbox::DejaVuSans()));
    EXPECT_FALSE(table.IsRegistered(file));
    EXPECT_EQ(table.FailedUnregisters, 0);
}

TEST_F(FileDeleteTest, InstalledFontsAreNotUnregisteredAndMissingOnesReported)
{
    // Never registered by this program, as an installed font: no unregistering, no error.
    const std::string installed = folder.CopyFile(Sandbox::DejaVuSans(), "installed.ttf");
    const std::string missing = folder / "missing.ttf";
    TFileDelete remove(platform, window);
    remove.FFiles = {installed, missing};
    remove.Execute();
    EXPECT_TRUE(remove.GetResult(0));
    EXPECT_FALSE(remove.GetResult(1));
    EXPECT_EQ(table.FailedUnregisters, 0);
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, "The system cannot find the file/folder specified");
}

}  // namespace
