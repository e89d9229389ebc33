#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/statvfs.h>
#include <unistd.h>

#include "fileops/file_utils.h"
#include "platform/document_opener.h"
#include "platform/error_codes.h"

namespace {

class TRecordingOpener : public IDocumentOpener {
public:
    bool Open(const std::string& target) override
    {
        Opened.push_back(target);
        return Answer;
    }
    std::vector<std::string> Opened;
    bool Answer = true;
};

void WriteFile(const std::string& path, size_t bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << std::string(bytes, 'x');
}

TEST(AddToPath, JoinsWithOneSlash)
{
    EXPECT_EQ(AddToPath("/usr/share/fonts", "arial.ttf"), "/usr/share/fonts/arial.ttf");
    EXPECT_EQ(AddToPath("/", "arial.ttf"), "/arial.ttf");
    EXPECT_EQ(AddToPath("", "arial.ttf"), "arial.ttf");
    EXPECT_EQ(AddToPath("/fonts", ""), "/fonts");
    EXPECT_EQ(AddToPath("/fonts/", "a.ttf"), "/fonts/a.ttf");
    EXPECT_EQ(AddToPath("/fonts", "/a.ttf"), "/fonts//a.ttf") << "a leading slash is not special";
    EXPECT_EQ(AddToPath("C:", "b.ttf"), "C:/b.ttf") << "a colon is an ordinary character";
}

TEST(AddToPath, NeverCutsALongPath)
{
    const std::string folder = "/" + std::string(300, 'f');
    const std::string joined = AddToPath(folder, "name.ttf");
    EXPECT_EQ(joined.size(), folder.size() + 1 + 8);
    EXPECT_EQ(joined.substr(joined.size() - 9), "/name.ttf");
}

TEST(ExtractFileName, TakesThePartAfterTheLastSlash)
{
    EXPECT_EQ(ExtractFileName("/a/b.ttf"), "b.ttf");
    EXPECT_EQ(ExtractFileName("C:b.ttf"), "C:b.ttf");
    EXPECT_EQ(ExtractFileName("b.ttf"), "b.ttf");
    EXPECT_EQ(ExtractFileName("/a/folder/"), "");
}

TEST(FileSize, IsSixtyFourBitAndZeroWhenUnreadable)
{
    QTemporaryDir dir;
    const std::string big = (dir.path() + "/big.ttf").toStdString();
    const int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const off_t five_gib = off_t(5) << 30;
    ASSERT_EQ(ftruncate(fd, five_gib), 0);  // sparse: takes no room on disk
    close(fd);
    EXPECT_EQ(GetFileSize(big), uint64_t(5) << 30);
    EXPECT_EQ(GetFileSize((dir.path() + "/missing").toStdString()), 0u);
    EXPECT_EQ(GetFileSize(dir.path().toStdString()), 0u) << "a folder is not a file";
}

TEST(SelectedFiles, CountOnlyExistingFiles)
{
    QTemporaryDir dir;
    const std::string a = (dir.path() + "/a.ttf").toStdString();
    const std::string b = (dir.path() + "/b.ttf").toStdString();
    WriteFile(a, 1000);
    WriteFile(b, 234);
    const std::vector<std::string> list{a, (dir.path() + "/missing.ttf").toStdString(), b};
    EXPECT_EQ(GetSelectedCount(list), 2);
    int count = -1;
    EXPECT_EQ(GetSelectedSize(list, &count), 1234u);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(GetSelectedSize(list), 1234u);
    EXPECT_EQ(GetSelectedCount({}), 0);
}

TEST(SelectedFiles, AFolderCountsTheFilesBelowIt)
{
    QTemporaryDir dir;
    std::filesystem::create_directories((dir.path() + "/sub/deeper").toStdString());
    WriteFile((dir.path() + "/sub/x.ttf").toStdString(), 10);
    WriteFile((dir.path() + "/sub/deeper/y.ttf").toStdString(), 5);
    int count = 0;
    EXPECT_EQ(GetSelectedSize({(dir.path() + "/sub").toStdString()}, &count), 15u);
    EXPECT_EQ(count, 2);
}

TEST(RootPath, GivesTheMountRootWithATrailingSlash)
{
    EXPECT_EQ(RootPath("/"), "/");
    EXPECT_EQ(RootPath("/proc/self/status"), "/proc/");
    EXPECT_EQ(RootPath("/proc"), "/proc/");
    QTemporaryDir dir;
    const std::string root = RootPath(dir.path().toStdString());
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.back(), '/');
    EXPECT_EQ((dir.path().toStdString() + "/").rfind(root, 0), 0u);
    EXPECT_EQ(RootPath(dir.path().toStdString() + "/not/yet/there.ttf"), root);
}

TEST(DiskFreeSpace, IsTheVolumesFreeBytes)
{
    QTemporaryDir dir;
    struct statvfs vfs;
    ASSERT_EQ(statvfs(dir.path().toLocal8Bit().constData(), &vfs), 0);
    const uint64_t expected = uint64_t(vfs.f_bfree) * vfs.f_frsize;
    const uint64_t got = GetDiskFreeSpace(dir.path().toStdString());
    EXPECT_GT(got, 0u);
    // Other programs may write meanwhile; the two readings stay close.
    const uint64_t diff = got > expected ? got - expected : expected - got;
    EXPECT_LT(diff, uint64_t(64) << 20);
    EXPECT_EQ(GetDiskFreeSpace(""), 0u);
}

TEST(PathLength, TooLongPathsAreAnErrorNeverCut)
{
    EXPECT_EQ(CheckPathLength("/usr/share/fonts/a.ttf"), ecSuccess);
    EXPECT_EQ(CheckPathLength("/tmp/" + std::string(256, 'n')), ecInvalidName);
    EXPECT_EQ(CheckPathLength("/tmp/" + std::string(255, 'n')), ecSuccess);
    std::string deep;
    for (int i = 0; i < 30; ++i)
        deep += "/" + std::string(200, 'd');
    EXPECT_EQ(CheckPathLength(deep), ecInvalidName);

    const std::string longName = "/tmp/" + std::string(300, 'n');
    EXPECT_EQ(GetFileSize(longName), 0u);
    errno = 0;
    EXPECT_NE(access(longName.c_str(), F_OK), 0);
    EXPECT_EQ(ErrnoToCode(errno), ecInvalidName);
}

TEST(ExecuteFile, OpensExistingDocumentsRelativeToTheFolder)
{
    QTemporaryDir dir;
    WriteFile((dir.path() + "/help.html").toStdString(), 3);
    TRecordingOpener opener;
    EXPECT_TRUE(ExecuteFile(opener, "help.html", "", dir.path().toStdString()));
    ASSERT_EQ(opener.Opened.size(), 1u);
    EXPECT_EQ(opener.Opened[0], (dir.path() + "/help.html").toStdString());

    EXPECT_FALSE(ExecuteFile(opener, "missing.html", "", dir.path().toStdString()));
    EXPECT_EQ(opener.Opened.size(), 1u) << "a missing document is not handed on";

    EXPECT_TRUE(ExecuteFile(opener, "https://example.org/fonzeta", "", ""));
    EXPECT_EQ(opener.Opened.back(), "https://example.org/fonzeta");
    opener.Answer = false;
    EXPECT_FALSE(ExecuteFile(opener, "mailto:someone@example.org", "", ""));
}

}  // namespace
