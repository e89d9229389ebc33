#pragma once

class IColorDialog;
class IDialogs;
class IDocumentOpener;
class IFontChangeNotifier;
class IFolderBrowser;
class IFontTable;
class IFreeSpace;
class IInstalledFontStore;
class ILocaleInfo;
class IPrinterService;
class ITrash;

// The platform services one part of the program uses, handed to it by whoever builds it.
// The pointers are not owned; the composition root (or a test) keeps the services alive.
struct TPlatform {
    IFontTable* FontTable = nullptr;
    IFontChangeNotifier* FontChange = nullptr;
    IInstalledFontStore* InstalledFonts = nullptr;
    ITrash* Trash = nullptr;
    IDocumentOpener* Opener = nullptr;
    ILocaleInfo* Locale = nullptr;
    IDialogs* Dialogs = nullptr;
    IColorDialog* ColorDialog = nullptr;
    IFreeSpace* FreeSpace = nullptr;
    IFolderBrowser* FolderBrowser = nullptr;
    IPrinterService* Printer = nullptr;
};
