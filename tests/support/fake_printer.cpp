#include "support/fake_printer.h"

#include <QPrinter>

namespace fonzeta::test {

TFakePrinterService::TFakePrinterService(const std::string& pdfFile, int dpi, QPageSize paper)
    : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(QString::fromStdString(pdfFile));
    FPrinter->setResolution(dpi);
    FPrinter->setPageSize(paper);
}

TFakePrinterService::~TFakePrinterService() = default;

bool TFakePrinterService::Setup(QWidget*)
{
    ++SetupCalls;
    return OnSetup ? OnSetup(*FPrinter) : false;
}

}  // namespace fonzeta::test
