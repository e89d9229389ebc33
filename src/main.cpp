#include <QApplication>
#include <QIcon>

#include <csignal>

#include "app/main_form.h"
#include "fileops/copying_form.h"
#include "fileops/deleting_form.h"
#include "fonts/scan_window.h"
#include "platform/app_folder.h"
#include "platform/linux_platform.h"
#include "platform/qt_color_dialog.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_folder_browser.h"
#include "platform/quit_signals.h"

// Wires the program together: the application, its platform services and its windows.
int main(int argc, char** argv)
{
    // A copy that outgrows the file-size limit must fail with an error the program reports,
    // not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fonzeta 1.0"));
    // The desktop entry's name ties the windows to the menu entry and its icon (Wayland).
    QApplication::setDesktopFileName(QString::fromLatin1(AppId));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QString::fromLatin1(AppId), QIcon(QStringLiteral(":/fonzeta.png"))));

    TLinuxPlatform platform;
    TMainForm form(platform.Services(), SettingsFolder());
    platform.Dialogs().SetOwner(&form);
    platform.ColorDialog().SetOwner(&form);
    platform.FolderBrowser().SetOwner(&form);

    // The scan and progress windows live hidden until a scan or a file operation shows them.
    form.SetScanWindow(new TfScan(&form));
    fCopying = new TfCopying(&form);
    fDeleting = new TfDeleting(&form);

    // Log-out or a task manager ends the program as closing its window does: the settings
    // are saved, and any open dialog is closed with the rest.
    TQuitSignals quitSignals([&form] {
        form.close();
        QCoreApplication::quit();
    });

    form.show();
    // A quit signal taken during the start-up scan has closed the window already.
    const int result = form.isVisible() ? app.exec() : 0;
    fCopying = nullptr;
    fDeleting = nullptr;
    return result;
}
