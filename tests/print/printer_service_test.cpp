#include <gtest/gtest.h>

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

#include "platform/qt_printer_service.h"

namespace {

// Runs in the sandbox, whose home folder is a temporary one.
TEST(QtPrinterService, WithoutAPrinterItPrintsToAPdfInDocumentsOrHome)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer";
    const std::filesystem::path home = QDir::homePath().toStdString();
    const std::filesystem::path documents = home / "Documents";
    std::filesystem::remove_all(documents);
    {
        TQtPrinterService service;
        QPrinter& printer = service.Printer();
        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        EXPECT_EQ(printer.resolution(), 600);
        EXPECT_EQ(printer.outputFileName().toStdString(), (home / "fonzeta-fonts.pdf").string());
        EXPECT_EQ(PrinterDisplayName(printer), "PDF file " + (home / "fonzeta-fonts.pdf").string());
        EXPECT_EQ(&service.Printer(), &printer) << "one printer for the service's life";
    }
    std::filesystem::create_directory(documents);
    {
        TQtPrinterService service;
        EXPECT_EQ(service.Printer().outputFileName().toStdString(),
                  (documents / "fonzeta-fonts.pdf").string());
    }
    std::filesystem::remove_all(documents);
    EXPECT_FALSE(std::filesystem::exists(home / "fonzeta-fonts.pdf")) << "nothing printed";
}

}  // namespace
