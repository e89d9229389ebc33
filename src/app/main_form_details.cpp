// The main window's commands that open the font detail windows.
#include "app/main_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <utility>

#include "app/window_place.h"
#include "details/char_table_form.h"
#include "details/font_info_form.h"
#include "details/set_text_form.h"
#include "preview/font_list_view.h"

namespace {

// The entry `name` of `menu`, or null.
QAction* ActionOf(QMenu* menu, const char* name)
{
    if (!menu)
        return nullptr;
    for (QAction* item : menu->actions())
        if (item->objectName() == QLatin1String(name))
            return item;
    return nullptr;
}

}  // namespace

void TMainForm::ConnectDetails()
{
    const auto wire = [this](QAction* item, void (TMainForm::*handler)()) {
        if (!item)
            return;
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    QMenu* fontMenu = findChild<QMenu*>(QStringLiteral("N1"));
    wire(ActionOf(fontMenu, "Properties1"), &TMainForm::Properties1Click);
    wire(ActionOf(fontMenu, "mCharTable"), &TMainForm::mCharTableClick);
    wire(ActionOf(PopupMenu1, "R1"), &TMainForm::Properties1Click);
    wire(ActionOf(PopupMenu1, "mCharTable"), &TMainForm::mCharTableClick);
    for (auto [name, handler] : {std::pair{"tbProperties", &TMainForm::Properties1Click},
                                 std::pair{"tbCharmap", &TMainForm::mCharTableClick}}) {
        auto* button = findChild<QToolButton*>(QLatin1String(name));
        if (!button)
            continue;
        button->setEnabled(true);
        connect(button, &QToolButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
    }

    QLineEdit* edit = cbString->lineEdit();
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
        QMenu* menu = CreateSampleTextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(edit->mapToGlobal(pos));
    });
}

QMenu* TMainForm::CreateSampleTextMenu()
{
    QMenu* menu = cbString->lineEdit()->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("pmSetText"));
    menu->addSeparator();
    QAction* item = menu->addAction(QStringLiteral("Set Sample Text"));
    item->setObjectName(QStringLiteral("SetText1"));
    connect(item, &QAction::triggered, this, [this] { SetText1Click(); });
    return menu;
}

void TMainForm::Properties1Click()
{
    const int index = FontView->ItemIndex();
    if (index < 0 || index >= FontView->Items().Count())
        return;
    auto* form = new TfFontInfo(FontView->RawFontCache(), FPlatform, this);
    CenterOver(*form, *this);
    form->FillAndShow(*FontView->Items().Fonts(index));
}

void TMainForm::mCharTableClick()
{
    const int index = FontView->ItemIndex();
    if (index < 0 || index >= FontView->Items().Count())
        return;
    auto* form = new TfCharTable(FontView->RawFontCache(), *FontView->Items().Fonts(index), this);
    CenterOver(*form, *this);
    form->exec();
}

void TMainForm::SetText1Click()
{
    TfSetText form(FSettingsFile, FPlatform.Dialogs, this);
    CenterOver(form, *this);
    if (form.exec() != QDialog::Accepted)
        return;
    // Refilling an editable combo box changes its text; the box and the preview keep theirs.
    const QSignalBlocker block(cbString);
    const QString text = cbString->currentText();
    cbString->clear();
    for (const std::string& line : form.Texts())
        cbString->addItem(QString::fromStdString(line));
    cbString->setEditText(text);
}
