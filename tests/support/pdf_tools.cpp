#include "support/pdf_tools.h"

#include <gtest/gtest.h>

#include <regex>

#include <QProcess>

namespace fonzeta::test {

std::string RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return process.readAllStandardOutput().toStdString();
}

int PdfPages(const std::string& pdf)
{
    const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
    std::smatch match;
    if (!std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)\\n")))
        return -1;
    return std::stoi(match[1]);
}

}  // namespace fonzeta::test
