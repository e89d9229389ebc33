// The main window's selection pane, the selection summary in the status bar, the Edit
// commands, find, and the preview's key and double-click handlers.
#include <QAction>
#include <QListView>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

#include <filesystem>

#include "app/main_form.h"
#include "app/selected_model.h"
#include "app/selection_pane.h"
#include "app/string_table.h"
#include "controls/btn_status_bar.h"
#include "platform/dialogs.h"
#include "platform/document_opener.h"
#include "platform/locale_info.h"
#include "preview/font_list_view.h"

void TMainForm::ConnectSelectionCommands()
{
    const auto wire = [this](const char* name, void (TMainForm::*handler)()) {
        QAction* item = FindAction(name);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, handler);
    };
    wire("SelectAll1", &TMainForm::SelectAll1Click);
    wire("InvertSelection1", &TMainForm::InvertSelection1Click);
    wire("NextSelected1", &TMainForm::NextSelected1Click);
    wire("Find1", &TMainForm::Find1Click);
    wire("FindNext1", &TMainForm::FindNext1Click);

    FontView->OnChange = [this](TFonzetaFontListView*) { FontViewChange(); };
    FontView->OnChangeSelected = [this](TFonzetaFontListView*) { FontViewChangeSelected(); };
    FontView->OnKeyDown = [this](TFonzetaFontListView*, int key, Qt::KeyboardModifiers shift) {
        FontViewKeyDown(key, shift);
    };
    FontView->OnDblClick = [this](TFonzetaFontListView*) { FontViewDblClick(); };

    pSelected->OnEntryClick = [this] { lbSelectedClick(); };
    pSelected->OnClose = [this] { sbSelPaneCloseClick(); };
    tbSelected->setEnabled(true);
    connect(tbSelected, &QToolButton::clicked, this, &TMainForm::tbSelectedClick);
    connect(tbFavorites, &QToolButton::clicked, this, &TMainForm::tbFavoritesClick);
}

void TMainForm::FontViewChangeSelected()
{
    const TFontList& items = FontView->Items();
    TSelectedModel& model = pSelected->Model();
    model.Rebuild(items);
    pSelected->pSelTitle->SetCaption(QStringLiteral("  Selected Fonts - %1").arg(model.Count()));
    if (model.Count() > 0) {
        const std::string separator = FPlatform.Locale ? FPlatform.Locale->ThousandsSeparator() : ",";
        StatusBar1->SetItem(StatusBar1->ItemCount() >= 2 ? 1 : StatusBar1->ItemCount(),
                            model.Summary(separator));
        pSelected->SetHintShown(false);
    } else {
        StatusBar1->DeleteItem(1);
        pSelected->SetHintShown(true);
    }
}

void TMainForm::lbSelectedClick()
{
    const int index = pSelected->SelectedEntryIndex();
    if (index >= 0)
        FontView->SetItemIndex(index);
}

void TMainForm::ShowPanes()
{
    // A shown pane goes to the window's left edge, before the other panes.
    for (auto [button, pane] : {std::pair{tbFavorites, pFavorites},
                                std::pair<QToolButton*, QWidget*>{tbSelected, pSelected}}) {
        const bool show = button->isChecked();
        if (show == pane->isVisible())
            continue;
        pane->setVisible(show);
        if (!show)
            continue;
        Splitter1->insertWidget(0, pane);
        // A pane comes back at its own width; the preview gives up the room.
        QList<int> sizes = Splitter1->sizes();
        const int preview = Splitter1->indexOf(FontView);
        const int room = sizes[0] + sizes[preview];
        sizes[0] = std::min(TSelectionPane::PaneWidth, room - 100);
        sizes[preview] = room - sizes[0];
        Splitter1->setSizes(sizes);
    }
}

void TMainForm::tbSelectedClick()
{
    // The two pane buttons form a group that may be all up: at most one pane shows.
    if (tbSelected->isChecked())
        tbFavorites->setChecked(false);
    ShowPanes();
}

void TMainForm::tbFavoritesClick()
{
    if (tbFavorites->isChecked())
        tbSelected->setChecked(false);
    ShowPanes();
}

void TMainForm::sbSelPaneCloseClick()
{
    pSelected->hide();
    tbSelected->setChecked(false);
}

void TMainForm::SelectAll1Click()
{
    FontView->SelectAll();
}

void TMainForm::InvertSelection1Click()
{
    FontView->InvertSelection();
}

void TMainForm::NextSelected1Click()
{
    const TFontList& items = FontView->Items();
    for (int i = FontView->ItemIndex() + 1; i < items.Count(); ++i)
        if (items.Fonts(i)->Selected) {
            FontView->SetItemIndex(i);
            return;
        }
}

void TMainForm::FontViewKeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (!shift.testFlag(Qt::AltModifier)) {
        if (key == Qt::Key_F9)
            Properties1Click();
        return;
    }
    const int before = FontView->FontSize();
    if (key == Qt::Key_Up)
        FontView->SetFontSize(before + 1);
    else if (key == Qt::Key_Down)
        FontView->SetFontSize(before - 1);
    // The size box shows the size the preview has.
    if (FontView->FontSize() != before)
        ShowFontSize();
}

void TMainForm::FontViewDblClick()
{
    const TFontListMode mode = SourceList->Mode();
    if (mode != flmInstalled && mode != flmFolder)
        return;
    const TFontInfo* font = FontView->Items().Fonts(FontView->ItemIndex());
    if (!font || font->FileName.empty() || !FPlatform.Opener)
        return;
    std::error_code error;
    if (!std::filesystem::exists(font->FileName, error)) {
        if (FPlatform.Dialogs)
            FPlatform.Dialogs->MessageBox(
                FormatStr("The font file %s no longer exists.", font->FileName.c_str()),
                std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
        return;
    }
    FPlatform.Opener->Open(font->FileName);
}

void TMainForm::FindFrom(int start)
{
    const TFontList& items = FontView->Items();
    for (int i = std::max(start, 0); i < items.Count(); ++i)
        if (items.Fonts(i)->FullName.find(FindText) != std::string::npos) {
            FontView->SetItemIndex(i);
            return;
        }
}

void TMainForm::Find1Click()
{
    if (FontView->ItemIndex() == -1)
        return;
    std::string text;
    if (PromptTextFn(this, LoadStr(600), LoadStr(601), text) != 1)
        return;
    FindText = text;
    FindFrom(FontView->ItemIndex());
}

void TMainForm::FindNext1Click()
{
    if (FindText.empty() || FontView->ItemIndex() == -1)
        return;
    FindFrom(FontView->ItemIndex() + 1);
}
