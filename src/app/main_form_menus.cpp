#include "app/main_form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_style.h"

namespace {

// The menu image each entry of the main menu shows.
struct EntryImage {
    const char* Name;
    int Image;
};
constexpr EntryImage EntryImages[] = {
    {"InstallFont1", 0}, {"UninstallFont1", 1}, {"mCharTable", 2},     {"Properties1", 3},
    {"Print1", 4},       {"Exit1", 5},          {"SelectAll1", 6},     {"InvertSelection1", 7},
    {"Find1", 8},        {"FindNext1", 10},     {"AddFavorites1", 11}, {"Contents1", 12},
};

}  // namespace

void TMainForm::ApplyMenuLook()
{
    // The menu bar and its five menus take the flat look; the pop-up menus keep the
    // desktop's. Entries added to those menus later are drawn the same way.
    FMenuStyle = new TMenuStyle;
    FMenuStyle->setParent(this);
    FMenuStyle->Apply(menuBar());
    for (const EntryImage& entry : EntryImages)
        if (auto* action = menuBar()->findChild<QAction*>(QString::fromLatin1(entry.Name)))
            action->setIcon(MenuImage(entry.Image));
}
