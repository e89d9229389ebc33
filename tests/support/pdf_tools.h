#pragma once
// Poppler's command-line tools as an independent reader of the PDF files the program prints.
#include <string>

#include <QString>
#include <QStringList>

namespace fonzeta::test {

// Runs `program` and gives its standard output; a run that does not end fails the test.
std::string RunTool(const QString& program, const QStringList& arguments);

// The page count pdfinfo reads from the file; -1 when it reads none.
int PdfPages(const std::string& pdf);

}  // namespace fonzeta::test
