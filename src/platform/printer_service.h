#pragma once

#include <string>

class QPrinter;
class QWidget;

// The printer the program prints on and the platform's printer-setup dialog, behind an
// interface so that tests print into a PDF file of their own and answer the dialog.
class IPrinterService {
public:
    virtual ~IPrinterService() = default;
    // The current printer: the one chosen in Setup, at first the default printer, or a PDF
    // file when there is none. It stays the same object for the service's life.
    virtual QPrinter& Printer() = 0;
    // Runs the setup dialog for Printer(); true when the user confirmed a choice.
    virtual bool Setup(QWidget* parent) = 0;
};

// The name shown for a printer: its own name, or "PDF file" and the file's path when it
// prints into a file.
std::string PrinterDisplayName(const QPrinter& printer);
