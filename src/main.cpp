#include <QApplication>
#include <QIcon>

#include "app/main_form.h"
#include "fileops/copying_form.h"
#include "fileops/deleting_form.h"
#include "fonts/scan_window.h"
#include "platform/app_folder.h"
#include "platform/linux_platform.h"
#include "platform/qt_color_dialog.h"
#include "platform/qt_dialogs.h"

// Wires the program together: the application, its platform services and its windows.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fonzeta 1.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/fonzeta.png")));

    TLinuxPlatform platform;
    TMainForm form(platform.Services(), SettingsFolder());
    platform.Dialogs().SetOwner(&form);
    platform.ColorDialog().SetOwner(&form);

    // The scan and progress windows live hidden until a scan or a file operation shows them.
    form.SetScanWindow(new TfScan(&form));
    fCopying = new TfCopying(&form);
    fDeleting = new TfDeleting(&form);

    form.show();
    const int result = app.exec();
    fCopying = nullptr;
    fDeleting = nullptr;
    return result;
}
