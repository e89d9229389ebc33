#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <functional>

#include "platform/qt_folder_browser.h"
#include "support/temp_folder.h"

namespace {

using fonzeta::test::TTempFolder;

// Runs `drive` on the folder dialog once it is shown modally.
void WhenShown(std::function<void(QFileDialog&)> drive)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, drive] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            poll->stop();
            poll->deleteLater();
            drive(*dialog);
            return;
        }
        if (++*tries > 500) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "the folder dialog never came up";
        }
    });
    poll->start();
}

TEST(QtFolderBrowser, OffersFoldersOnlyFromTheStartFolderAndGivesTheChoice)
{
    TTempFolder root;
    const std::string start = root.MakeFolder("start here");
    const std::string chosen = root.MakeFolder("start here/Schriften \xC3\xA4");
    QWidget owner;
    owner.show();
    TQtFolderBrowser browser;
    browser.SetOwner(&owner);

    QString title;
    QString directory;
    bool foldersOnly = false;
    QWidget* parent = nullptr;
    WhenShown([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        directory = dialog.directory().absolutePath();
        foldersOnly = dialog.fileMode() == QFileDialog::Directory &&
                      dialog.testOption(QFileDialog::ShowDirsOnly);
        parent = dialog.parentWidget();
        dialog.selectFile(QString::fromStdString(chosen));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(browser.BrowseForFolder("Select Folder contains font files ", start), chosen);
    EXPECT_EQ(title, QStringLiteral("Select Folder contains font files "));
    EXPECT_EQ(directory.toStdString(), start);
    EXPECT_TRUE(foldersOnly);
    EXPECT_EQ(parent, &owner);

    WhenShown([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(browser.BrowseForFolder("Title", start), "");
}

}  // namespace
