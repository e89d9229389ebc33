#include "print/print_job.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "platform/printer_service.h"

namespace {

std::string Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

// Draws the pages; empty on success, else the reason.
std::string DrawJob(QPrinter& printer, const std::vector<int>& pages,
                    const std::function<void(QPainter&, int)>& paintPage)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return "the job could not be started";
    std::string failure;
    bool first = true;
    for (int page : pages) {
        if (!first && !printer.newPage()) {
            failure = "a new page could not be started";
            break;
        }
        first = false;
        paintPage(painter, page);
        if (printer.printerState() == QPrinter::Error ||
            printer.printerState() == QPrinter::Aborted) {
            failure = "the printer reported an error";
            break;
        }
    }
    if (!failure.empty())
        printer.abort();
    // The job is ended in every case, so the printer is free again.
    const bool ended = painter.end();
    if (failure.empty() && !ended)
        failure = "the job could not be finished";
    if (failure.empty() &&
        (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted))
        failure = "the printer reported an error";
    return failure;
}

// True when the file holds a whole PDF: Qt's writer does not report a failed write, but a
// file cut short (a full disk) lacks the end-of-file marker.
bool CompletePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

// The mode a new file gets: that of the file it replaces, else what the user's umask allows.
mode_t NewFileMode(const QString& target)
{
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string PrintToPdf(QPrinter& printer, const std::vector<int>& pages,
                       const std::function<void(QPainter&, int)>& paintPage)
{
    const QString target = printer.outputFileName();
    const std::string name = "The PDF file " + Native(target);
    const QFileInfo info(target);
    if (info.isDir())
        return name + " could not be written: a folder of that name exists.";
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return name + " could not be written: the folder " + Native(folder) + " does not exist.";

    QTemporaryFile temporary(folder + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return name + " could not be written: " + temporary.errorString().toStdString() + ".";
    const QString partial = temporary.fileName();
    temporary.close();

    printer.setOutputFileName(partial);
    std::string failure = DrawJob(printer, pages, paintPage);
    printer.setOutputFileName(target);
    if (failure.empty() && !CompletePdf(partial))
        failure = "it could not be written completely (is the disk full?)";
    if (failure.empty()) {
        ::chmod(QFile::encodeName(partial).constData(), NewFileMode(target));
        if (std::rename(QFile::encodeName(partial).constData(),
                        QFile::encodeName(target).constData()) != 0)
            failure = std::strerror(errno);
    }
    if (!failure.empty())
        return name + " could not be written: " + failure + ".";
    temporary.setAutoRemove(false);
    return {};
}

}  // namespace

std::string PrintPages(QPrinter& printer, const std::vector<int>& pages,
                       const std::function<void(QPainter&, int)>& paintPage)
{
    if (pages.empty())
        return "There is no page to print.";
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return PrintToPdf(printer, pages, paintPage);
    const std::string failure = DrawJob(printer, pages, paintPage);
    if (failure.empty())
        return {};
    return "Printing on " + PrinterDisplayName(printer) + " failed: " + failure + ".";
}
