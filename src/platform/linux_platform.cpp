#include "platform/linux_platform.h"

#include "platform/desktop_opener.h"
#include "platform/fontconfig_store.h"
#include "platform/fontconfig_notifier.h"
#include "platform/free_space.h"
#include "platform/qt_color_dialog.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_folder_browser.h"
#include "platform/qt_font_table.h"
#include "platform/qt_printer_service.h"
#include "platform/system_locale.h"
#include "platform/xdg_trash.h"

TLinuxPlatform::TLinuxPlatform()
    : FFontTable(std::make_unique<TQtFontTable>()),
      FInstalledFonts(std::make_unique<TFontconfigStore>()),
      FFontChange(std::make_unique<TFontconfigNotifier>(*FInstalledFonts)),
      FTrash(std::make_unique<TXdgTrash>()),
      FOpener(std::make_unique<TDesktopOpener>()),
      FLocale(std::make_unique<TSystemLocale>()),
      FDialogs(std::make_unique<TQtDialogs>()),
      FColorDialog(std::make_unique<TQtColorDialog>()),
      FFreeSpace(std::make_unique<TVolumeFreeSpace>()),
      FFolderBrowser(std::make_unique<TQtFolderBrowser>()),
      FPrinter(std::make_unique<TQtPrinterService>())
{
    FServices.FontTable = FFontTable.get();
    FServices.FontChange = FFontChange.get();
    FServices.InstalledFonts = FInstalledFonts.get();
    FServices.Trash = FTrash.get();
    FServices.Opener = FOpener.get();
    FServices.Locale = FLocale.get();
    FServices.Dialogs = FDialogs.get();
    FServices.ColorDialog = FColorDialog.get();
    FServices.FreeSpace = FFreeSpace.get();
    FServices.FolderBrowser = FFolderBrowser.get();
    FServices.Printer = FPrinter.get();
}

TLinuxPlatform::~TLinuxPlatform() = default;
