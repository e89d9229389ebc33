#pragma once

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/get_string_form.h"
#include "app/settings.h"
#include "controls/xp_controls.h"
#include "fonts/font_list.h"
#include "platform/platform.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class TBtnStatusBar;
class TColorSwatch;
class TFavorites;
class TFavoritesPane;
class TMenuStyle;
class TFonzetaFontListView;
class TSelectionPane;
class TfProblems;
class TfScan;

// What the preview shows: every font of the source, one favourites group, or the marked fonts.
enum TViewContent : std::uint8_t { vcAll = 0, vcFavorites = 1, vcSelected = 2 };

// The program's main window: the toolbar, the sample-text row with the look controls, the
// side panes and the preview, the menus, the settings file and the caption.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `settingsFolder` holds fonzeta.ini and installed.fav.
    TMainForm(const TPlatform& platform, const std::string& settingsFolder,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // The fonts of the current source; it gives back its folder fonts' registrations when
    // the window goes.
    std::unique_ptr<TFontList> SourceList;
    TViewContent ViewContent = vcAll;
    std::string CurrentGroup;
    std::string FindText;
    std::string FavoritesFile;

    const std::string& SettingsFile() const { return FSettingsFile; }
    // The window that shows the progress of a scan; not owned.
    void SetScanWindow(TfScan* scan) { FScan = scan; }
    // Folder of help.html and shortcut.html; beside the executable or its installed data
    // folder unless set.
    void SetHelpFolder(const std::string& folder) { FHelpFolder = folder; }

    static std::string CaptionFor(TFontListMode mode, const std::string& folder);

    // The preview: every font of the current view drawn in its own face.
    TFonzetaFontListView* FontView = nullptr;
    // The preview's context menu; entries whose commands do not exist yet are disabled.
    QMenu* PopupMenu1 = nullptr;

    void FormShow();
    void FormClose();
    void FormResize();
    // True when the key was taken (the window sees every key before its controls).
    bool FormKeyDown(int key);
    void LoadSettings();
    void SaveSettings();
    void ShadeLines();
    void UpdateCaption(TFontList* sender);
    void ScanBegin(TFontList* sender, const std::string& text);
    void ScanFontFound(TFontList* sender, const std::string& fullName);
    void ScanEnd(TFontList* sender);

    void cbStringChange();
    void cbFontSizeChange();
    void sbBoldClick(int tag);
    void Bold1Click(int tag);
    void sForeColorMouseUp(TColorSwatch* sender);
    void Antialiasing1Click();

    // Text drawing: the View menu's borrowed-glyph marking (main_form_text.cpp).
    void CreateTextMenuItems(QMenu* view);
    void ShowBorrowedGlyphs1Click();
    QAction* ShowBorrowedGlyphs1 = nullptr;
    void FontViewMouseWheel(int wheelDelta);
    void Exit1Click();
    void About1Click();
    void Contents1Click();
    void Shortcut1Click();

    // Sources and contents, status bar, selection pane, find and the text prompt.
    // The text prompt, replaceable so that tests can answer it.
    std::function<int(QWidget*, const std::string&, const std::string&, std::string&)>
        PromptTextFn = PromptText;
    // The View button's menu of sources.
    QMenu* pmViews = nullptr;
    void ScreenFonts1Click();
    void InstalledFonts1Click();
    void FontsinFolder1Click();
    void All1Click();
    void Selected1Click();
    void Refresh1Click();
    void View1Click();
    void pmViewsPopup();
    void N1Click();
    void FontViewChange();
    void FontViewChangeSelected();
    void FontViewKeyDown(int key, Qt::KeyboardModifiers shift);
    void FontViewDblClick();
    void lbSelectedClick();
    void tbSelectedClick();
    void tbFavoritesClick();
    void sbSelPaneCloseClick();
    void SelectAll1Click();
    void InvertSelection1Click();
    void NextSelected1Click();
    void Find1Click();
    void FindNext1Click();
    // The folder the folder browser starts on: the one listed last.
    const std::string& LastFolder() const { return FLastFolder; }

private:
    void ConnectCommands();
    void ConnectSourceCommands();
    void ConnectSelectionCommands();
    // Claims the window-wide keys that menus would otherwise fight over (Alt+A).
    bool CommandKeyPreview(QEvent* event);
    void RememberFolder();
    // Reloads the source list and shows all its fonts with the first one current.
    void ShowSource();
    // Offers Install for folder fonts and Uninstall for installed fonts.
    void UpdateFontCommands();
    QAction* FindAction(const char* name) const;
    void FindFrom(int start);
    void ShowPanes();
    std::string FLastFolder;

public:
    // Printing (main_form_print.cpp): sample sheets of the preview's fonts; Print1 and
    // tbPrint are enabled and connected when the platform has a printer service.
    void Print1Click();
    void CreatePrintCommands();
    // File commands: install, uninstall (tag 0) and delete (tag 1), the pop-up menu's
    // state and the try-out window. No command starts while a file run is in progress.
    void InstallFont1Click();
    void UninstallFont1Click(int tag);
    void Edit2Click();
    void PopupMenu1Popup();
    bool FileRunActive() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateToolbarRow(QWidget* parent);
    void CreateTextRow(QWidget* parent);
    void CreateClientArea(QWidget* parent);
    void CreateMenus();
    void CreatePopupMenu();
    QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                     const QKeySequence& shortcut, bool enabled);
    // One of the 1-pixel separator lines Shape1 to Shape8.
    QFrame* AddShape(QWidget* parent, int number);
    void ShowFontSize();
    void OpenHelp(const char* document);
    void ConnectFileCommands();

    TPlatform FPlatform;
    std::string FSettingsFile;
    std::string FHelpFolder;
    TfScan* FScan = nullptr;
    bool FShown = false;

    // Font catalogue: the report of the files a scan could not read (created when needed).
    TfProblems* FProblems = nullptr;
    void ShowScanProblems(TFontList* sender);

    QWidget* FTextRow = nullptr;
    QLabel* FTextLabel = nullptr;
    TXPComboBox* cbString = nullptr;
    QWidget* pFontProp = nullptr;
    TColorSwatch* sForeColor = nullptr;
    TColorSwatch* sBackColor = nullptr;
    QToolButton* FStyleButtons[3] = {};
    TXPComboBox* cbFontSize = nullptr;
    QToolButton* tbPrint = nullptr;
    QToolButton* tbFavorites = nullptr;
    QToolButton* tbSelected = nullptr;
    QSplitter* Splitter1 = nullptr;
    TSelectionPane* pSelected = nullptr;
    QWidget* pFavorites = nullptr;
    TBtnStatusBar* StatusBar1 = nullptr;
    QFrame* FShapes[8] = {};
    QAction* FStyleItems[3] = {};
    QAction* Antialiasing1 = nullptr;

    // ---- Favourites: the pane, the Favorites menu, dragging fonts into groups
    // (src/app/main_form_favorites.cpp) ----
public:
    void LoadFavorites();
    void BuildFavoritesMenu();
    std::string GroupOfItem(int index) const;
    int GroupIndexOfItem(int index) const;
    // Shows the fonts of the first group named `group` in the preview.
    void ShowFavoritesGroup(const std::string& group);
    void CollectFontsToAdd(std::vector<std::string>& names, std::vector<std::string>& files) const;
    void AddFontsToGroup(const std::string& group, const std::vector<std::string>& names,
                         const std::vector<std::string>& files);
    void Favorites1Click();
    void AddFavorites1Click();
    void tbNewFolderClick();
    void Rename1Click();
    void Delete1Click();
    void pmFavPopup();
    void lbFavDblClick();
    void lbFavContextPopup(const QPoint& pos);
    void lbFavDragOver(QDragMoveEvent* event, bool& accept);
    void lbFavDragDrop(QDropEvent* event);
    void lbFavEndDrag();
    void FontViewMouseDown(Qt::MouseButton button, int x, int y);
    void FontViewMouseMove(Qt::MouseButtons buttons, int x, int y);
    void FontViewEndDrag();
    void sbFavPaneCloseClick();

    TFavoritesPane* FavPane = nullptr;
    QAction* AddFavorites1 = nullptr;
    QAction* AddtoFavorites1 = nullptr;
    // Runs the drag of the preview's fonts until it ends; tests put their own in its place.
    std::function<void(QMimeData* data)> StartFontDrag;
    // The private type of the data of that drag.
    static const char* const FontDragMimeType;

private:
    TFavoritesPane* CreateFavoritesPane(QWidget* parent);
    void ConnectFavorites();
    // LoadFavorites, telling the user about an unreadable file only when `report`.
    void ReloadFavorites(bool report);
    void ShowFavoritesGroupAt(int groupItem);
    void ShowFavoritesMessage(const std::string& text);
    bool IsFontDrag(const QDropEvent* event) const;
    // Asks for a group name with the one-line prompt; false unless OK with a name.
    bool AskFolderName(const std::string& caption, const std::string& prompt, std::string& name);

    std::unique_ptr<TFavorites> FFavorites;
    QPoint DragStart;
    bool FDragging = false;
    // The header item of the group the preview shows, -1 for none.
    int FShownGroupItem = -1;
    // ---- end of favourites ----

    // Menu look: the flat style of the menu bar and its menus, the menu images.
    void ApplyMenuLook();
    TMenuStyle* FMenuStyle = nullptr;
    // Font detail windows: properties, character map, sample text editor.
public:
    void Properties1Click();
    void mCharTableClick();
    void SetText1Click();
    // The standard context menu of cbString's line edit with "Set Sample Text" below a
    // separator; the caller owns it.
    QMenu* CreateSampleTextMenu();

private:
    void ConnectDetails();
};
