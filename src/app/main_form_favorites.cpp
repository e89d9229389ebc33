// The favourites of the main window: the pane, the Favorites menu, the add commands and
// dragging fonts from the preview onto a group. The file work is TFavorites'; the handlers
// here only connect it to the controls.
#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QToolButton>

#include <cstdlib>
#include <unistd.h>

#include "app/menu_style.h"
#include "app/string_table.h"
#include "app/window_place.h"
#include "favorites/add_fav_form.h"
#include "favorites/favorites.h"
#include "favorites/favorites_pane.h"
#include "platform/dialogs.h"
#include "preview/font_list_view.h"

const char* const TMainForm::FontDragMimeType = "application/x-fonzeta-preview-fonts";

namespace {

QString Q(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The drag's data names this process, so a drag from another running copy of the program
// (whose preview holds other fonts) is refused.
QByteArray ProcessTag()
{
    return QByteArray::number(static_cast<qlonglong>(getpid()));
}

// A menu caption shows "&" as itself.
QString MenuCaption(const std::string& name)
{
    return Q(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

TFavoritesPane* TMainForm::CreateFavoritesPane(QWidget* parent)
{
    FavPane = new TFavoritesPane(parent);
    return FavPane;
}

void TMainForm::ConnectFavorites()
{
    FFavorites = std::make_unique<TFavorites>(FavoritesFile);
    FavPane->resize(TFavoritesPane::PaneWidth, FavPane->height());

    TFavListBox* list = FavPane->lbFav;
    list->OnDblClick = [this](TFavListBox*) { lbFavDblClick(); };
    list->OnDragOver = [this](TFavListBox*, QDragMoveEvent* event, bool& accept) {
        lbFavDragOver(event, accept);
    };
    list->OnDragDrop = [this](TFavListBox*, QDropEvent* event) { lbFavDragDrop(event); };
    list->OnEndDrag = [this](TFavListBox*) { lbFavEndDrag(); };
    connect(list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { lbFavContextPopup(pos); });
    connect(FavPane->pmFav, &QMenu::aboutToShow, this, [this] { pmFavPopup(); });
    connect(FavPane->Rename1, &QAction::triggered, this, [this] { Rename1Click(); });
    connect(FavPane->Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(FavPane->ToolButton5, &QToolButton::clicked, this, [this] { AddFavorites1Click(); });
    connect(FavPane->tbNewFolder, &QToolButton::clicked, this, [this] { tbNewFolderClick(); });
    connect(FavPane->sbFavPaneClose, &QToolButton::clicked, this, [this] { sbFavPaneCloseClick(); });
    tbFavorites->setEnabled(true);

    auto* favorites = menuBar()->findChild<QMenu*>(QStringLiteral("Favorites1"));
    AddFavorites1 = favorites->findChild<QAction*>(QStringLiteral("AddFavorites1"));
    connect(favorites, &QMenu::aboutToShow, this, [this] { Favorites1Click(); });
    connect(AddFavorites1, &QAction::triggered, this, [this] { AddFavorites1Click(); });
    AddtoFavorites1 = PopupMenu1->findChild<QAction*>(QStringLiteral("AddtoFavorites1"));
    connect(AddtoFavorites1, &QAction::triggered, this, [this] { AddFavorites1Click(); });
    // The preview's context menu offers the entry only while installed fonts are shown.
    connect(PopupMenu1, &QMenu::aboutToShow, this,
            [this] { AddtoFavorites1->setEnabled(FontView->Items().Mode() == flmInstalled); });

    FontView->OnMouseDown = [this](TFonzetaFontListView*, Qt::MouseButton button,
                                   Qt::KeyboardModifiers, int x, int y) {
        FontViewMouseDown(button, x, y);
    };
    FontView->OnMouseMove = [this](TFonzetaFontListView*, Qt::MouseButtons buttons,
                                   Qt::KeyboardModifiers, int x, int y) {
        FontViewMouseMove(buttons, x, y);
    };
    StartFontDrag = [this](QMimeData* data) {
        const QPointer<QDrag> drag = new QDrag(FontView);
        drag->setMimeData(data);
        drag->setPixmap(FavPane->lbFav->FontGlyph());
        drag->exec(Qt::CopyAction);
        if (drag)
            drag->deleteLater();
    };
}

void TMainForm::ShowFavoritesMessage(const std::string& text)
{
    if (FPlatform.Dialogs && !text.empty())
        FPlatform.Dialogs->MessageBox(text, std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
}

void TMainForm::LoadFavorites()
{
    ReloadFavorites(true);
}

void TMainForm::ReloadFavorites(bool report)
{
    const bool loaded = FFavorites->Load();
    FavPane->ShowItems(*FFavorites);
    BuildFavoritesMenu();
    if (!loaded && report)
        ShowFavoritesMessage(FFavorites->Error());
}

void TMainForm::BuildFavoritesMenu()
{
    auto* favorites = menuBar()->findChild<QMenu*>(QStringLiteral("Favorites1"));
    const QList<QAction*> entries = favorites->actions();
    for (qsizetype i = 2; i < entries.size(); ++i) {
        favorites->removeAction(entries[i]);
        delete entries[i];
    }
    const QIcon folder = MenuImage(9);
    const std::vector<std::string> groups = FFavorites->Groups();
    for (size_t i = 0; i < groups.size(); ++i) {
        QAction* entry = favorites->addAction(folder, MenuCaption(groups[i]));
        const int ordinal = static_cast<int>(i);
        connect(entry, &QAction::triggered, this,
                [this, ordinal] { ShowFavoritesGroupAt(FFavorites->GroupItem(ordinal)); });
    }
}

std::string TMainForm::GroupOfItem(int index) const
{
    return FFavorites->GroupOfItem(index);
}

int TMainForm::GroupIndexOfItem(int index) const
{
    return FFavorites->GroupIndexOfItem(index);
}

void TMainForm::ShowFavoritesGroup(const std::string& group)
{
    ShowFavoritesGroupAt(FFavorites->FindGroup(group));
}

void TMainForm::ShowFavoritesGroupAt(int groupItem)
{
    if (groupItem < 0)
        return;
    const std::string group = FFavorites->Items()[static_cast<size_t>(groupItem)].Text;
    const std::vector<std::string> fonts = FFavorites->FontsOfGroup(groupItem);
    if (SourceList->Mode() != flmInstalled) {
        SourceList->SetMode(flmInstalled);
        SourceList->Refresh();
    }
    TFontList& items = FontView->Items();
    items.BeginUpdate();
    items.Clear();
    for (const auto& name : fonts) {
        const int found = SourceList->Find(name);
        if (found < 0)
            continue;
        auto copy = std::make_unique<TFontInfo>();
        CopyFontInfo(*copy, *SourceList->Fonts(found));
        items.Add(std::move(copy));
    }
    // The group's fonts are installed ones: the preview's commands must treat them so.
    items.SetMode(flmInstalled);
    items.EndUpdate();
    ViewContent = vcFavorites;
    CurrentGroup = group;
    FShownGroupItem = groupItem;
}

void TMainForm::CollectFontsToAdd(std::vector<std::string>& names,
                                  std::vector<std::string>& files) const
{
    names.clear();
    files.clear();
    const TFontList& items = FontView->Items();
    for (int i = 0; i < items.Count(); ++i) {
        const TFontInfo* font = items.Fonts(i);
        if (font->Selected) {
            names.push_back(font->FullName);
            files.push_back(font->FileName);
        }
    }
    if (!names.empty())
        return;
    if (const TFontInfo* current = items.Fonts(FontView->ItemIndex())) {
        names.push_back(current->FullName);
        files.push_back(current->FileName);
    }
}

void TMainForm::AddFontsToGroup(const std::string& group, const std::vector<std::string>& names,
                                const std::vector<std::string>& files)
{
    std::vector<std::string> leftOut;
    const TFavResult result = FFavorites->AddFonts(group, names, files, leftOut);
    ShowFavoritesMessage(LeftOutText(leftOut));
    if (result == TFavResult::Failed)
        ShowFavoritesMessage(FFavorites->Error());
    ReloadFavorites(result != TFavResult::Failed);
}

void TMainForm::Favorites1Click()
{
    AddFavorites1->setEnabled(FontView->Items().Mode() == flmInstalled);
}

void TMainForm::AddFavorites1Click()
{
    if (FontView->ItemIndex() == -1)
        return;
    std::vector<std::string> names;
    std::vector<std::string> files;
    CollectFontsToAdd(names, files);
    if (names.empty())
        return;
    TfAddFav dialog(FPlatform.Dialogs, this);
    dialog.SetPromptText(PromptTextFn);
    CenterOver(dialog, *this);
    if (dialog.Execute(FavoritesFile, names, files) == 1)
        LoadFavorites();
}

bool TMainForm::AskFolderName(const std::string& caption, const std::string& prompt,
                              std::string& name)
{
    std::string text = name;
    if (!PromptTextFn || PromptTextFn(this, caption, prompt, text) != 1 ||
        TIniDocument::CleanName(text).empty())
        return false;
    name = text;
    return true;
}

void TMainForm::tbNewFolderClick()
{
    std::string name = LoadStr(518);
    if (!AskFolderName(LoadStr(518), "\n\n" + LoadStr(518) + ":", name))
        return;
    const TFavResult result = FFavorites->NewGroup(name);
    if (result == TFavResult::Failed) {
        ShowFavoritesMessage(FFavorites->Error());
        ReloadFavorites(false);
        return;
    }
    ReloadFavorites(true);
    FavPane->lbFav->setCurrentRow(FFavorites->FindGroup(name));
}

void TMainForm::Rename1Click()
{
    const int index = FavPane->lbFav->currentRow();
    if (index < 0 || index >= FFavorites->Count() || FFavorites->Items()[static_cast<size_t>(index)].Kind != fikGroup)
        return;
    std::string name = FFavorites->Items()[static_cast<size_t>(index)].Text;
    if (!AskFolderName("Rename", "\n\nNew Favorites Folder Name:", name))
        return;
    switch (FFavorites->RenameGroup(index, name)) {
    case TFavResult::Done:
    case TFavResult::Stale:
        ReloadFavorites(true);
        break;
    case TFavResult::NameInUse:
        ShowFavoritesMessage(FormatStr("A favorites folder named \"%s\" already exists.",
                                       TIniDocument::CleanName(name).c_str()));
        break;
    case TFavResult::Failed:
        ShowFavoritesMessage(FFavorites->Error());
        ReloadFavorites(false);
        break;
    case TFavResult::Nothing:
        break;
    }
}

void TMainForm::Delete1Click()
{
    const int index = FavPane->lbFav->currentRow();
    if (index < 0 || index >= FFavorites->Count() || !FPlatform.Dialogs)
        return;
    const bool group = FFavorites->Items()[static_cast<size_t>(index)].Kind == fikGroup;
    const std::string question = group ? "Are you sure you want to delete this favorites group?"
                                       : "Are you sure you want to delete this font from favorites?";
    if (FPlatform.Dialogs->MessageBox(question, "Confirm Delete", TMsgIcon::Warning,
                                      TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    const TFavResult result = FFavorites->DeleteItem(index);
    if (result == TFavResult::Failed)
        ShowFavoritesMessage(FFavorites->Error());
    ReloadFavorites(result != TFavResult::Failed);
}

void TMainForm::pmFavPopup()
{
    const int index = FavPane->lbFav->currentRow();
    if (index >= 0 && index < FFavorites->Count())
        FavPane->Rename1->setVisible(FFavorites->Items()[static_cast<size_t>(index)].Kind == fikGroup);
    FavPane->Delete1->setVisible(true);
}

void TMainForm::lbFavContextPopup(const QPoint& pos)
{
    TFavListBox* list = FavPane->lbFav;
    if (list->ItemAt(pos) < 0)
        return;
    FavPane->pmFav->popup(list->viewport()->mapToGlobal(pos));
}

void TMainForm::lbFavDblClick()
{
    const int index = FavPane->lbFav->currentRow();
    if (index < 0 || index >= FFavorites->Count())
        return;
    const int group = GroupIndexOfItem(index);
    if (group < 0)
        return;
    if (ViewContent != vcFavorites || FShownGroupItem != group || GroupOfItem(index) != CurrentGroup)
        ShowFavoritesGroupAt(group);
    const TFavItem& item = FFavorites->Items()[static_cast<size_t>(index)];
    if (item.Kind == fikFont)
        FontView->SetItemIndex(FontView->Items().Find(item.Text));
}

bool TMainForm::IsFontDrag(const QDropEvent* event) const
{
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(FontDragMimeType)) ||
        data->data(QString::fromLatin1(FontDragMimeType)) != ProcessTag())
        return false;
    return event->source() == nullptr || event->source() == FontView;
}

void TMainForm::lbFavDragOver(QDragMoveEvent* event, bool& accept)
{
    accept = IsFontDrag(event) && SourceList->Mode() == flmInstalled;
    TFavListBox* list = FavPane->lbFav;
    const int item = list->ItemAt(event->position().toPoint());
    list->SetTag(item < 0 ? -1 : GroupIndexOfItem(item));
}

void TMainForm::lbFavDragDrop(QDropEvent* event)
{
    TFavListBox* list = FavPane->lbFav;
    list->SetTag(-1);
    if (!IsFontDrag(event) || SourceList->Mode() != flmInstalled) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const int group = GroupIndexOfItem(list->ItemAt(event->position().toPoint()));
    if (group < 0) {
        AddFavorites1Click();
        return;
    }
    std::vector<std::string> names;
    std::vector<std::string> files;
    CollectFontsToAdd(names, files);
    if (!names.empty())
        AddFontsToGroup(FFavorites->Items()[static_cast<size_t>(group)].Text, names, files);
}

void TMainForm::lbFavEndDrag()
{
    FavPane->lbFav->SetTag(-1);
}

void TMainForm::FontViewMouseDown(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::LeftButton)
        DragStart = QPoint(x, y);
}

void TMainForm::FontViewMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (!(buttons & Qt::LeftButton) || FDragging || FavPane->isHidden() ||
        SourceList->Mode() != flmInstalled)
        return;
    if (std::abs(x - DragStart.x()) <= 6 && std::abs(y - DragStart.y()) <= 6)
        return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(FontDragMimeType), ProcessTag());
    FDragging = true;
    StartFontDrag(data);
    FDragging = false;
    FontViewEndDrag();
}

void TMainForm::FontViewEndDrag()
{
    FavPane->lbFav->SetTag(-1);
}

void TMainForm::sbFavPaneCloseClick()
{
    pFavorites->hide();
    tbFavorites->setChecked(false);
}
