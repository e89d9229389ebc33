#include "app/main_form.h"

#include <QAction>
#include <QMenu>

#include "preview/font_list_view.h"

void TMainForm::CreateTextMenuItems(QMenu* view)
{
    ShowBorrowedGlyphs1 = view->addAction(QStringLiteral("Show Borro&wed Glyphs"));
    ShowBorrowedGlyphs1->setObjectName(QStringLiteral("ShowBorrowedGlyphs1"));
    ShowBorrowedGlyphs1->setCheckable(true);
    connect(ShowBorrowedGlyphs1, &QAction::triggered, this, [this] { ShowBorrowedGlyphs1Click(); });
}

void TMainForm::ShowBorrowedGlyphs1Click()
{
    FontView->SetShowBorrowedGlyphs(!FontView->ShowBorrowedGlyphs());
    ShowBorrowedGlyphs1->setChecked(FontView->ShowBorrowedGlyphs());
}
