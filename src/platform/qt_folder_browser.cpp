#include "platform/qt_folder_browser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

std::string TQtFolderBrowser::BrowseForFolder(const std::string& title, const std::string& start)
{
    QFileDialog dialog(FOwner ? FOwner : QApplication::activeWindow(),
                       QString::fromStdString(title), QFile::decodeName(start.c_str()));
    dialog.setObjectName(QStringLiteral("FolderBrowser"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted)
        return std::string();
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::string();
    // Paths are bytes in the program; the file system's own encoding names them.
    return QFile::encodeName(chosen.first()).toStdString();
}
