#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>

#include "print/print_job.h"
#include "support/pdf_tools.h"
#include "support/fake_printer.h"
#include "support/temp_folder.h"

namespace {

using namespace fonzeta::test;
namespace fs = std::filesystem;

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void PaintNumber(QPainter& painter, int page)
{
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 30));
    painter.drawText(QPoint(300, 600), QStringLiteral("Sheet number %1").arg(page + 1));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PrintJob, WritesTheWholePdfUnderItsNameAndNothingElse)
{
    TTempFolder folder;
    const std::string target = folder / "fonts.pdf";
    {
        std::ofstream old(target);
        old << "an older file";
    }
    ::chmod(target.c_str(), 0640);
    TFakePrinterService service(target);
    ASSERT_EQ(PrintPages(service.Printer(), {0, 2, 4}, PaintNumber), "");

    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"fonts.pdf"});
    EXPECT_EQ(PdfPages(target), 3);
    const std::string text = RunTool("pdftotext", {QString::fromStdString(target), "-"});
    EXPECT_NE(text.find("Sheet number 1"), std::string::npos);
    EXPECT_NE(text.find("Sheet number 5"), std::string::npos);
    EXPECT_EQ(text.find("Sheet number 2"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file's mode is kept";
    // The printer is left as it was, so the next job lays out the same pages.
    EXPECT_EQ(service.Printer().outputFileName().toStdString(), target);
    EXPECT_EQ(service.Printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(service.Printer().resolution(), 600);
}

TEST(PrintJob, NothingToPrintStartsNoJob)
{
    TTempFolder folder;
    TFakePrinterService service(folder / "fonts.pdf");
    EXPECT_EQ(PrintPages(service.Printer(), {}, PaintNumber), "There is no page to print.");
    EXPECT_TRUE(Entries(folder.Path()).empty());
}

TEST(PrintJob, UnwritableTargetsAreNamedAndLeaveNoFile)
{
    TTempFolder folder;
    const std::string missing = folder / "gone/fonts.pdf";
    TFakePrinterService intoMissing(missing);
    EXPECT_EQ(PrintPages(intoMissing.Printer(), {0}, PaintNumber),
              "The PDF file " + missing + " could not be written: the folder " +
                  folder / "gone" + " does not exist.");
    EXPECT_TRUE(Entries(folder.Path()).empty());

    const std::string taken = folder.MakeFolder("fonts.pdf");
    TFakePrinterService ontoFolder(taken);
    EXPECT_EQ(PrintPages(ontoFolder.Printer(), {0}, PaintNumber),
              "The PDF file " + taken + " could not be written: a folder of that name exists.");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"fonts.pdf"});
    EXPECT_TRUE(fs::is_empty(taken));
}

TEST(PrintJob, ReadOnlyFolderIsReported)
{
    TObeyFilePermissions obey;
    if (!obey.Active())
        GTEST_SKIP() << "permissions cannot be enforced here";
    TTempFolder folder;
    const std::string locked = folder.MakeFolder("locked");
    ::chmod(locked.c_str(), 0555);
    TFakePrinterService service(locked + "/fonts.pdf");
    const std::string message = PrintPages(service.Printer(), {0}, PaintNumber);
    EXPECT_EQ(message.rfind("The PDF file " + locked + "/fonts.pdf could not be written: ", 0), 0u)
        << message;
    EXPECT_TRUE(fs::is_empty(locked));
}

// A disk that fills up while the file is written: Qt's writer does not notice, the check
// of the finished file does.
TEST(PrintJob, AFileCutShortKeepsTheOlderFile)
{
    TTempFolder folder;
    const std::string target = folder / "fonts.pdf";
    {
        std::ofstream old(target);
        old << "an older file";
    }
    TFakePrinterService service(target);
    std::string message;
    {
        struct sigaction ignore {};
        struct sigaction saved {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &saved);
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{4096, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        message = PrintPages(service.Printer(), {0, 1, 2, 3, 4, 5, 6, 7}, PaintNumber);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::sigaction(SIGXFSZ, &saved, nullptr);
    }
    EXPECT_EQ(message, "The PDF file " + target +
                           " could not be written: it could not be written completely (is the "
                           "disk full?).");
    EXPECT_EQ(ReadAll(target), "an older file");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"fonts.pdf"});
}

}  // namespace
