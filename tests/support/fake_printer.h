#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPageSize>

#include "platform/printer_service.h"

namespace fonzeta::test {

// A printer that writes a PDF file of the test's choosing and never reaches a real
// printer. The setup dialog is answered by OnSetup, which may change the printer (paper,
// resolution, file) and returns the answer; without it the dialog is cancelled.
class TFakePrinterService : public IPrinterService {
public:
    TFakePrinterService(const std::string& pdfFile, int dpi = 600,
                        QPageSize paper = QPageSize(QPageSize::A4));
    ~TFakePrinterService() override;

    QPrinter& Printer() override { return *FPrinter; }
    bool Setup(QWidget* parent) override;

    std::function<bool(QPrinter&)> OnSetup;
    int SetupCalls = 0;

private:
    std::unique_ptr<QPrinter> FPrinter;
};

}  // namespace fonzeta::test
