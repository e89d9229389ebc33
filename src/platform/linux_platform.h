#pragma once

#include <memory>

#include "platform/platform.h"

class TQtColorDialog;
class TQtDialogs;
class TQtFolderBrowser;

// Owns the real Linux implementations of every platform service.
class TLinuxPlatform {
public:
    TLinuxPlatform();
    ~TLinuxPlatform();
    TLinuxPlatform(const TLinuxPlatform&) = delete;
    TLinuxPlatform& operator=(const TLinuxPlatform&) = delete;

    const TPlatform& Services() const { return FServices; }
    TQtDialogs& Dialogs() { return *FDialogs; }
    TQtColorDialog& ColorDialog() { return *FColorDialog; }
    TQtFolderBrowser& FolderBrowser() { return *FFolderBrowser; }

private:
    std::unique_ptr<IFontTable> FFontTable;
    std::unique_ptr<IInstalledFontStore> FInstalledFonts;
    std::unique_ptr<IFontChangeNotifier> FFontChange;
    std::unique_ptr<ITrash> FTrash;
    std::unique_ptr<IDocumentOpener> FOpener;
    std::unique_ptr<ILocaleInfo> FLocale;
    std::unique_ptr<TQtDialogs> FDialogs;
    std::unique_ptr<TQtColorDialog> FColorDialog;
    std::unique_ptr<IFreeSpace> FFreeSpace;
    std::unique_ptr<TQtFolderBrowser> FFolderBrowser;
    std::unique_ptr<IPrinterService> FPrinter;
    TPlatform FServices;
};
