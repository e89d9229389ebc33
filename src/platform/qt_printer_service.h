#pragma once

#include <memory>
#include <string>

#include "platform/printer_service.h"

// The system's printers through Qt: the default CUPS printer at its high resolution, else a
// PDF file at 600 dpi (fonzeta-fonts.pdf in the Documents folder, else in the home folder),
// and QPrintDialog without page range and copies. The printer is made on first use, so a
// program that never prints never asks CUPS for its printers.
class TQtPrinterService : public IPrinterService {
public:
    TQtPrinterService();
    ~TQtPrinterService() override;

    QPrinter& Printer() override;
    bool Setup(QWidget* parent) override;

    // Where a PDF goes when no file was chosen.
    static std::string DefaultPdfFile();

private:
    std::unique_ptr<QPrinter> FPrinter;
};

// Makes `printer` write a PDF file at 600 dpi; `file` is kept when it names one already.
void UsePdfOutput(QPrinter& printer, const std::string& file);
