#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "controls/xp_gauge.h"
#include "fileops/copying_form.h"
#include "fileops/file_copy.h"
#include "fileops/progress.h"
#include "platform/error_codes.h"
#include "platform/qt_font_table.h"
#include "support/fakes.h"
#include "support/fileops_fakes.h"
#include "support/font_fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace fonzeta::test;

namespace {

const char* const kQuestion = "Do you want to process the rest of files?";

class FileCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.FontTable = &table;
        platform.Dialogs = &dialogs;
        platform.FreeSpace = &space;
        platform.Locale = &locale;
        owner.resize(640, 480);
        owner.show();
        window.SetOwner(&owner);
    }

    // Three fonts of different sizes in the source folder: Sans, Bold (the largest? no:
    // Sans 759,720 > Bold 708,920 > Serif 380,660).
    std::vector<std::string> ThreeFonts()
    {
        return {src.CopyFile(Sandbox::DejaVuSansBold(), "b-bold.ttf"),
                src.CopyFile(Sandbox::DejaVuSans(), "a-sans.ttf"),
                src.CopyFile(Sandbox::DejaVuSerif(), "c-serif.ttf")};
    }

    std::string Label(const char* name) const
    {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text().toStdString();
    }

    TTempFolder src;
    TTempFolder dst;
    TFakeFontTable table;
    TScriptedDialogs dialogs;
    TFakeFreeSpace space;
    TFakeLocale locale;
    QWidget owner;
    TfCopying window{&owner};
    TPlatform platform;
};

TEST_F(FileCopyTest, CopiesKeepBytesModeAndTimeAndAreRegistered)
{
    auto files = ThreeFonts();
    // A set-id bit must not travel into the font folder; the rest of the mode does.
    ASSERT_EQ(chmod(files[0].c_str(), 04750), 0);
    const struct timespec old[2] = {{1000000000, 0}, {1234567890, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, files[1].c_str(), old, 0), 0);

    TFileCopy copy(platform, window);
    copy.FFiles = files;
    EXPECT_EQ(copy.Execute(dst.Path()), 0);

    EXPECT_EQ(Listing(dst.Path()), (std::vector<std::string>{"a-sans.ttf", "b-bold.ttf", "c-serif.ttf"}));
    for (int i = 0; i < 3; ++i) {
        const std::string copied = dst / fs::path(files[i]).filename().string();
        EXPECT_TRUE(copy.GetResult(i));
        EXPECT_EQ(Bytes(copied), Bytes(files[i])) << copied;
        EXPECT_TRUE(table.IsRegistered(copied));
    }
    struct stat st;
    ASSERT_EQ(stat((dst / "b-bold.ttf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    ASSERT_EQ(stat((dst / "a-sans.ttf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1234567890);
    EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_EQ(copy.Copies().size(), 3u);
    // The window is gone and the owner usable again; the counter ended at 3/3.
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(Label("lCount"), "3/3");
    EXPECT_EQ(Label("TotalSize"), "1,849,300");
    EXPECT_EQ(window.windowTitle().toStdString(), "Installing...");
    EXPECT_FALSE(copy.GetResult(3));
}

TEST_F(FileCopyTest, FreeSpaceOneByteShortCopiesNothing)
{
    const auto files = ThreeFonts();
    space.Bytes = 759720 + 708920 + 380660 - 1;
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    EXPECT_EQ(copy.Execute(dst.Path()), -1);
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, "There is no enough space in disk");
    EXPECT_EQ(dialogs.Shown[0].Caption, "Error");
    EXPECT_EQ(dialogs.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgButtons::Ok);
    EXPECT_TRUE(Listing(dst.Path()).empty());
    EXPECT_EQ(table.Registered(), 0);
    EXPECT_FALSE(copy.GetResult(0));

    // With exactly enough room the run goes ahead.
    space.Bytes += 1;
    EXPECT_EQ(copy.Execute(dst.Path()), 0);
    EXPECT_EQ(Listing(dst.Path()).size(), 3u);
}

TEST_F(FileCopyTest, WriteFailingMidFileLeavesNoTraceOfIt)
{
    const auto files = ThreeFonts();
    // The largest file (the second) cannot be written whole; the others fit.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 740000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);

    dialogs.Answers = {TMsgAnswer::Yes};
    TFileCopy copy(platform, window);
    copy.FFiles = {files[0], files[1], files[2]};
    copy.Execute(dst.Path());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, std::string("There is no enough space in disk\n\n") + kQuestion);
    EXPECT_EQ(dialogs.Shown[0].Caption, kQuestion);
    EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgButtons::YesNo);
    EXPECT_TRUE(copy.GetResult(0));
    EXPECT_FALSE(copy.GetResult(1));
    EXPECT_TRUE(copy.GetResult(2));
    // No half copy under the name, and no temporary file either.
    EXPECT_EQ(Listing(dst.Path()), (std::vector<std::string>{"b-bold.ttf", "c-serif.ttf"}));
    EXPECT_FALSE(table.IsRegistered(dst / "a-sans.ttf"));
    EXPECT_EQ(Bytes(files[1]), Bytes(Sandbox::DejaVuSans()));
}

TEST_F(FileCopyTest, ReadOnlyTargetIsReportedAndNoStopsTheRun)
{
    const auto files = ThreeFonts();
    ASSERT_EQ(chmod(dst.Path().c_str(), 0555), 0);
    TObeyFilePermissions obey;
    ASSERT_TRUE(obey.Active());
    dialogs.Answers = {TMsgAnswer::No};
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    copy.Execute(dst.Path());
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, std::string("Access is denied.\n\n") + kQuestion);
    EXPECT_TRUE(Listing(dst.Path()).empty());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(copy.GetResult(i));
    EXPECT_EQ(table.Registered(), 0);
}

TEST_F(FileCopyTest, SourceRemovedDuringTheRunIsReportedAndYesGoesOn)
{
    const auto files = ThreeFonts();
    // Removed while the first file is being copied (at the gauge's first event pump).
    const auto watcher = RunWhen([] { return true; }, [&] { fs::remove(files[1]); });
    dialogs.Answers = {TMsgAnswer::Yes};
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    copy.Execute(dst.Path());
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text,
              std::string("The system cannot find the file/folder specified\n\n") + kQuestion);
    EXPECT_TRUE(copy.GetResult(0));
    EXPECT_FALSE(copy.GetResult(1));
    EXPECT_TRUE(copy.GetResult(2));
    EXPECT_EQ(Listing(dst.Path()), (std::vector<std::string>{"b-bold.ttf", "c-serif.ttf"}));
}

TEST_F(FileCopyTest, TakenNamesAreSkippedSilentlyOneByOne)
{
    const auto files = ThreeFonts();
    // A file of the same name with other bytes, and a dangling link under the second name.
    WriteBytes(dst / "b-bold.ttf", "someone else's font");
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dst / "b-bold.ttf").c_str(), old, 0), 0);
    fs::create_symlink(dst / "nowhere", dst / "a-sans.ttf");

    TFileCopy copy(platform, window);
    copy.FFiles = files;
    copy.Execute(dst.Path());
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_FALSE(copy.GetResult(0));
    EXPECT_FALSE(copy.GetResult(1));
    EXPECT_TRUE(copy.GetResult(2));
    EXPECT_EQ(Bytes(dst / "b-bold.ttf"), "someone else's font");
    struct stat st;
    ASSERT_EQ(stat((dst / "b-bold.ttf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
    EXPECT_TRUE(fs::is_symlink(dst / "a-sans.ttf"));
    EXPECT_EQ(Bytes(dst / "c-serif.ttf"), Bytes(files[2]));
    EXPECT_EQ(Listing(dst.Path()), (std::vector<std::string>{"a-sans.ttf", "b-bold.ttf", "c-serif.ttf"}));
    EXPECT_FALSE(table.IsRegistered(dst / "b-bold.ttf"));
    // Skipped files are counted once each: the third is file 3 of 3.
    EXPECT_EQ(Label("lCount"), "3/3");
}

TEST_F(FileCopyTest, CancelMidSecondFileRemovesItsTemporaryFile)
{
    const auto files = ThreeFonts();
    std::vector<std::string> seenInTarget;
    QPushButton* cancel = window.findChild<QPushButton*>(QStringLiteral("XPButton1"));
    const uint64_t firstSize = fs::file_size(files[0]);
    const auto watcher = RunWhen(
        [&] { return window.Gauge()->Progress() > firstSize + 65535; },
        [&] {
            seenInTarget = Listing(dst.Path());
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    EXPECT_EQ(copy.Execute(dst.Path()), ecCancelled);

    // Mid-file the second copy existed only as a hidden temporary file.
    ASSERT_EQ(seenInTarget.size(), 2u);
    EXPECT_EQ(seenInTarget[1], "b-bold.ttf");
    EXPECT_EQ(seenInTarget[0].rfind(".fonzeta-", 0), 0u) << seenInTarget[0];
    EXPECT_EQ(Listing(dst.Path()), (std::vector<std::string>{"b-bold.ttf"}));
    EXPECT_TRUE(copy.GetResult(0));
    EXPECT_FALSE(copy.GetResult(1));
    EXPECT_FALSE(copy.GetResult(2));
    EXPECT_TRUE(table.IsRegistered(dst / "b-bold.ttf"));
    EXPECT_EQ(table.Registered(), 1);
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(FileCopyTest, ClosingTheWindowStopsTheRunButOnlyTheRunFreesTheOwner)
{
    const auto files = ThreeFonts();
    bool ownerEnabledAfterClose = true;
    const auto watcher = RunWhen([&] { return window.Gauge()->Progress() > 0; },
                                 [&] {
                                     window.close();
                                     ownerEnabledAfterClose = owner.isEnabled();
                                 });
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    EXPECT_EQ(copy.Execute(dst.Path()), ecCancelled);
    EXPECT_FALSE(ownerEnabledAfterClose);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(copy.GetResult(0));
    EXPECT_TRUE(Listing(dst.Path()).empty());
}

// Counts the blocks the engine reports.
class TBlockCounter : public ICopyProgress {
public:
    void Begin(const std::string&) override {}
    void End() override {}
    bool Cancelled() const override { return false; }
    void SetSource(const std::string&) override {}
    void SetDest(const std::string&) override {}
    int Current() const override { return 0; }
    void SetCurrent(int) override {}
    void SetTotal(int) override {}
    void SetFileText(const std::string&) override {}
    void SetTotalSizeText(const std::string&) override {}
    void SetMaxBytes(uint64_t) override {}
    void AddBytes(uint64_t count) override { Blocks.push_back(count); }
    void StartEstimate() override {}
    std::vector<uint64_t> Blocks;
};

TEST_F(FileCopyTest, BlocksAreAtMost65535Bytes)
{
    WriteBytes(src / "exact.ttf", std::string(65535, 'e'));
    WriteBytes(src / "over.ttf", std::string(65536, 'o'));
    TBlockCounter blocks;
    TFileCopy copy(platform, blocks);
    copy.FFiles = {src / "exact.ttf", src / "over.ttf"};
    copy.Execute(dst.Path());
    EXPECT_EQ(blocks.Blocks, (std::vector<uint64_t>{65535, 65535, 1}));
    EXPECT_EQ(Bytes(dst / "over.ttf"), std::string(65536, 'o'));
}

TEST_F(FileCopyTest, GarbageFontIsRefusedAndItsCopyRemoved)
{
    TQtFontTable qtTable;
    platform.FontTable = &qtTable;
    const std::string garbage = src / "garbage.ttf";
    WriteBytes(garbage, std::string(5000, '\x5A'));
    TFileCopy copy(platform, window);
    copy.FFiles = {garbage};
    copy.Execute(dst.Path());
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, "Invalid TrueType Font!");
    EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgButtons::Ok);
    EXPECT_FALSE(copy.GetResult(0));
    EXPECT_TRUE(Listing(dst.Path()).empty());
    EXPECT_TRUE(copy.Copies().empty());
    EXPECT_EQ(Bytes(garbage), std::string(5000, '\x5A'));
}

TEST_F(FileCopyTest, MissingTargetFolderCopiesNowhere)
{
    const auto files = ThreeFonts();
    const std::string cwd = fs::current_path();
    fs::current_path(src.Path());
    TFileCopy copy(platform, window);
    copy.FFiles = files;
    const int code = copy.Execute("");
    EXPECT_EQ(copy.Execute(dst / "missing"), ecPathNotFound);
    fs::current_path(cwd);
    EXPECT_EQ(code, ecPathNotFound);
    EXPECT_EQ(Listing(src.Path()).size(), 3u);
    ASSERT_EQ(dialogs.Shown.size(), 2u);
    EXPECT_EQ(dialogs.Shown[0].Text, "The system cannot find the file/folder specified");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FileCopyTest, LabelsShowSizesWithThousandsSeparators)
{
    const std::string million = src / "million.ttf";
    WriteBytes(million, std::string(1000000, 'm'));
    std::vector<std::string> shown;
    const auto watcher = RunWhen([&] { return window.isVisible() && !Label("FileName").empty(); },
                                 [&] {
                                     shown = {Label("FileName"), Label("lCount"), Label("Path"),
                                              Label("TotalSize")};
                                 });
    TFileCopy copy(platform, window);
    copy.FFiles = {million};
    copy.Execute(dst.Path());
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], "million.ttf (1,000,000 bytes)");
    EXPECT_EQ(shown[1], "1/1");
    EXPECT_EQ(shown[2], "From '" + fs::path(src.Path()).filename().string() + "'  To '" +
                            fs::path(dst.Path()).filename().string() + "'");
    EXPECT_EQ(shown[3], "1,000,000");
    // The total's right edge stays at 300 whatever its width.
    const QLabel* total = window.findChild<QLabel*>(QStringLiteral("TotalSize"));
    EXPECT_EQ(total->geometry().right() + 1, 300);
}

}  // namespace
