#include "platform/qt_printer_service.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

// Dots per inch of PDF output: the sheet's pixel offsets suit a laser printer's resolution.
constexpr int PdfResolution = 600;

bool PrintsToFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

}  // namespace

std::string PrinterDisplayName(const QPrinter& printer)
{
    if (PrintsToFile(printer))
        return "PDF file " + QDir::toNativeSeparators(printer.outputFileName()).toStdString();
    return printer.printerName().toStdString();
}

void UsePdfOutput(QPrinter& printer, const std::string& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(PdfResolution);
    if (printer.outputFileName().isEmpty())
        printer.setOutputFileName(QString::fromStdString(file));
}

TQtPrinterService::TQtPrinterService() = default;
TQtPrinterService::~TQtPrinterService() = default;

std::string TQtPrinterService::DefaultPdfFile()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("fonzeta-fonts.pdf")).toStdString();
}

QPrinter& TQtPrinterService::Printer()
{
    if (!FPrinter) {
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer Qt falls back to PDF output, which needs a file name, else
        // QPainter::begin fails without a word.
        if (FPrinter->printerName().isEmpty() || PrintsToFile(*FPrinter))
            UsePdfOutput(*FPrinter, DefaultPdfFile());
    }
    return *FPrinter;
}

bool TQtPrinterService::Setup(QWidget* parent)
{
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (PrintsToFile(printer))
        UsePdfOutput(printer, DefaultPdfFile());
    return true;
}
