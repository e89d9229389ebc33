// The main window's source and content commands, the menu states that follow them and the
// font count in the status bar.
#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/main_form.h"
#include "app/string_table.h"
#include "controls/btn_status_bar.h"
#include "platform/dialogs.h"
#include "platform/folder_browser.h"
#include "preview/font_list_view.h"

QAction* TMainForm::FindAction(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TMainForm::ConnectCommands()
{
    ConnectSourceCommands();
    ConnectSelectionCommands();
}

void TMainForm::ConnectSourceCommands()
{
    const auto wire = [this](const char* name, void (TMainForm::*handler)()) {
        QAction* item = FindAction(name);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    wire("ScreenFonts1", &TMainForm::ScreenFonts1Click);
    wire("InstalledFonts1", &TMainForm::InstalledFonts1Click);
    wire("FontsinFolder1", &TMainForm::FontsinFolder1Click);
    wire("All1", &TMainForm::All1Click);
    wire("Selected1", &TMainForm::Selected1Click);
    wire("Refresh1", &TMainForm::Refresh1Click);
    connect(findChild<QMenu*>(QStringLiteral("View1")), &QMenu::aboutToShow, this,
            &TMainForm::View1Click);
    connect(findChild<QMenu*>(QStringLiteral("N1")), &QMenu::aboutToShow, this, &TMainForm::N1Click);

    // The View button's menu repeats the three sources.
    pmViews = new QMenu(this);
    pmViews->setObjectName(QStringLiteral("pmViews"));
    auto* sources = new QActionGroup(pmViews);
    static constexpr const char* names[3] = {"ScreenFonts2", "InstalledFonts2", "FontsinFolder2"};
    static constexpr const char* captions[3] = {"&Screen Fonts", "Insta&lled Fonts",
                                                "Fonts in &Folder..."};
    static constexpr void (TMainForm::*handlers[3])() = {
        &TMainForm::ScreenFonts1Click, &TMainForm::InstalledFonts1Click,
        &TMainForm::FontsinFolder1Click};
    for (int i = 0; i < 3; ++i) {
        QAction* item = pmViews->addAction(QString::fromUtf8(captions[i]));
        item->setObjectName(QString::fromLatin1(names[i]));
        item->setCheckable(true);
        sources->addAction(item);
        connect(item, &QAction::triggered, this, handlers[i]);
    }
    connect(pmViews, &QMenu::aboutToShow, this, &TMainForm::pmViewsPopup);
    auto* view = findChild<QToolButton*>(QStringLiteral("tbView"));
    view->setMenu(pmViews);
    view->setPopupMode(QToolButton::InstantPopup);
    view->setEnabled(true);
}

void TMainForm::RememberFolder()
{
    if (!SourceList->Folder().empty())
        FLastFolder = SourceList->Folder();
}

void TMainForm::ShowSource()
{
    SourceList->Refresh();
    RememberFolder();
    TFontList& items = FontView->Items();
    items.BeginUpdate();
    items.Assign(*SourceList);
    FontView->SetItemIndex(0);
    items.EndUpdate();
    ViewContent = vcAll;
    UpdateFontCommands();
}

void TMainForm::ScreenFonts1Click()
{
    RememberFolder();
    SourceList->SetMode(flmScreen);
    ShowSource();
}

void TMainForm::InstalledFonts1Click()
{
    RememberFolder();
    SourceList->SetMode(flmInstalled);
    ShowSource();
}

void TMainForm::FontsinFolder1Click()
{
    RememberFolder();
    if (!FPlatform.FolderBrowser)
        return;
    const std::string path = FPlatform.FolderBrowser->BrowseForFolder(LoadStr(507), FLastFolder);
    if (path.empty())
        return;
    // The user font folder's fonts are the installed ones: listing them as folder fonts
    // would offer to install or delete installed fonts.
    if (SourceList->IsInSysFolder(path)) {
        if (FPlatform.Dialogs)
            FPlatform.Dialogs->MessageBox(
                FormatStr("%s is in the user font folder: its fonts are the installed fonts.\n"
                          "Use Installed Fonts to list them.",
                          path.c_str()),
                std::string(), TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    SourceList->SetFolder(path);
    SourceList->SetMode(flmFolder);
    ShowSource();
}

void TMainForm::All1Click()
{
    TFontList& items = FontView->Items();
    items.BeginUpdate();
    items.Assign(*SourceList);
    FontView->SetItemIndex(0);
    items.EndUpdate();
    ViewContent = vcAll;
}

void TMainForm::Selected1Click()
{
    TFontList& items = FontView->Items();
    TFontList scratch(FPlatform, false);
    scratch.SetMode(items.Mode());
    scratch.SetFolder(items.Folder());
    for (int i = 0; i < items.Count(); ++i) {
        const TFontInfo* font = items.Fonts(i);
        if (!font->Selected)
            continue;
        auto copy = std::make_unique<TFontInfo>();
        CopyFontInfo(*copy, *font);
        scratch.Add(std::move(copy));
    }
    if (scratch.Count() == 0)
        return;
    items.Assign(scratch);
    ViewContent = vcSelected;
}

void TMainForm::Refresh1Click()
{
    // A favourites group as large as the source is still a group, not the source.
    if (ViewContent == vcFavorites)
        return;
    if (SourceList->Count() != FontView->Items().Count())
        return;
    SourceList->Refresh();
    FontView->Items().Assign(*SourceList);
}

void TMainForm::View1Click()
{
    const TFontListMode mode = FontView->Items().Mode();
    const char* source = mode == flmInstalled ? "InstalledFonts1"
                         : mode == flmScreen  ? "ScreenFonts1"
                                              : "FontsinFolder1";
    FindAction(source)->setChecked(true);
    static constexpr TFontStyle styles[3] = {fsBold, fsItalic, fsUnderline};
    static constexpr const char* styleItems[3] = {"Bold1", "Italic1", "Underline1"};
    for (int i = 0; i < 3; ++i)
        FindAction(styleItems[i])->setChecked(FontView->FontStyle().testFlag(styles[i]));
    const bool all = SourceList->Count() == FontView->Items().Count();
    FindAction(all ? "All1" : "Selected1")->setChecked(true);
    FindAction("Antialiasing1")->setChecked(FontView->AntiAlias());
}

void TMainForm::pmViewsPopup()
{
    const TFontListMode mode = FontView->Items().Mode();
    const char* source = mode == flmInstalled ? "InstalledFonts2"
                         : mode == flmScreen  ? "ScreenFonts2"
                                              : "FontsinFolder2";
    FindAction(source)->setChecked(true);
}

void TMainForm::N1Click()
{
    UpdateFontCommands();
}

void TMainForm::UpdateFontCommands()
{
    // Also run on every source change: the shortcuts work with the menu closed.
    FindAction("InstallFont1")->setEnabled(SourceList->Mode() == flmFolder);
    FindAction("UninstallFont1")->setEnabled(SourceList->Mode() == flmInstalled);
}

void TMainForm::FontViewChange()
{
    StatusBar1->SetItem(0, FormatStr(LoadStr(541).c_str(), FontView->Items().Count()));
    // The start-up listing reaches the preview without a source command.
    UpdateFontCommands();
}

bool TMainForm::CommandKeyPreview(QEvent* event)
{
    // Alt+A is both "&All Fonts" and the mnemonic of "F&avorites"; Qt runs neither of an
    // ambiguous pair, so the window claims the key for All Fonts. Favorites still opens by
    // F10 or a click.
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers chord =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key->key() != Qt::Key_A || chord != Qt::AltModifier)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (!key->isAutoRepeat())
        All1Click();
    return true;
}
