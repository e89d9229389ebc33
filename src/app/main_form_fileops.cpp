// The main window's file commands: install, uninstall and delete, the preview's pop-up
// menu state and the try-out window.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <memory>

#include "app/main_form.h"
#include "app/window_place.h"
#include "fileops/copying_form.h"
#include "fileops/del_warning_form.h"
#include "fileops/deleting_form.h"
#include "fileops/edit_form.h"
#include "fileops/font_commands.h"
#include "preview/font_list_view.h"

namespace {

QAction* Item(const QObject& owner, const char* name)
{
    return owner.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

void TMainForm::ConnectFileCommands()
{
    const auto connectItem = [this](const char* name, auto handler) {
        if (QAction* item = Item(*this, name))
            connect(item, &QAction::triggered, this, handler);
    };
    connectItem("InstallFont1", [this] { InstallFont1Click(); });
    connectItem("InstallFonts1", [this] { InstallFont1Click(); });
    connectItem("UninstallFont1", [this] { UninstallFont1Click(0); });
    connectItem("Uninstall1", [this] { UninstallFont1Click(0); });
    connectItem("DeleteFonts1", [this] { UninstallFont1Click(1); });
    connectItem("Edit2", [this] { Edit2Click(); });
    // Always offered; it does nothing without a current font.
    if (QAction* edit = Item(*PopupMenu1, "Edit2"))
        edit->setEnabled(true);
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
}

bool TMainForm::FileRunActive() const
{
    return (fCopying && fCopying->Running()) || (fDeleting && fDeleting->Running());
}

void TMainForm::InstallFont1Click()
{
    TFontList& items = FontView->Items();
    // A shortcut may fire whatever the menu showed last: the listing itself decides.
    if (items.Count() == 0 || items.Mode() != flmFolder || FileRunActive())
        return;
    std::unique_ptr<TfCopying> own;
    TfCopying* window = fCopying;
    if (!window) {
        own = std::make_unique<TfCopying>(this);
        window = own.get();
    }
    window->SetOwner(this);
    InstallFonts(FPlatform, *window, items, FontView->ItemIndex(), SourceList->SysFontFolder());
}

void TMainForm::UninstallFont1Click(int tag)
{
    TFontList& items = FontView->Items();
    const bool uninstall = tag == 0;
    if (items.Count() == 0 || items.Mode() != (uninstall ? flmInstalled : flmFolder) ||
        FileRunActive())
        return;
    {
        TfDelWarning warning(this);
        CenterOver(warning, *this);
        if (warning.exec() != TfDelWarning::ResultYes)
            return;
    }
    std::unique_ptr<TfDeleting> own;
    TfDeleting* window = fDeleting;
    if (!window) {
        own = std::make_unique<TfDeleting>(this);
        window = own.get();
    }
    window->SetOwner(this);
    RemoveFonts(FPlatform, *window, items, FontView->ItemIndex(), *SourceList, uninstall,
                SourceList->SysFontFolder());
}

void TMainForm::PopupMenu1Popup()
{
    const TFontListMode mode = FontView->Items().Mode();
    const auto show = [this](const char* name, bool visible) {
        if (QAction* item = Item(*PopupMenu1, name)) {
            item->setVisible(visible);
            item->setEnabled(visible);
        }
    };
    show("InstallFonts1", mode == flmFolder);
    show("Uninstall1", mode == flmInstalled);
    show("DeleteFonts1", mode == flmFolder);
    show("Edit2", true);
}

void TMainForm::Edit2Click()
{
    const TFontInfo* font = FontView->Items().Fonts(FontView->ItemIndex());
    if (!font)
        return;
    TfEdit edit(this);
    CenterOver(edit, *this);
    edit.SetSample(FontView->RawFontCache(), *font, FontView->FontSize(),
                   FontView->FontColor(), FontView->Color());
    edit.exec();
}
