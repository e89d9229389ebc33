#include "print/print_form.h"

#include <QIcon>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

#include "app/color_swatch.h"
#include "app/resources.h"
#include "app/string_table.h"
#include "controls/xp_controls.h"
#include "platform/color_dialog.h"
#include "platform/dialogs.h"
#include "platform/printer_service.h"

TfPrint::TfPrint(const TPlatform& platform, QWidget* parent) : QDialog(parent), FPlatform(platform)
{
    LoadResources();
    setObjectName(QStringLiteral("fPrint"));
    setWindowTitle(QStringLiteral("Print"));
    setFixedSize(438, 311);
    // The controls are placed for an 8-point face.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QIcon(QStringLiteral(":/print.png")).pixmap(16, 16));
    image->setGeometry(13, 10, 16, 16);
    lPrinter = AddLabel(this, "lPrinter", QStringLiteral("Printer: "), {33, 11});
    lPrinter->setFixedWidth(344 - 33 - 6);

    bPrintSetup = new TXPButton(QStringLiteral("Print Setup..."), this);
    bPrintSetup->setObjectName(QStringLiteral("bPrintSetup"));
    bPrintSetup->setGeometry(344, 8, 81, 22);
    bPrintSetup->setAutoDefault(false);
    connect(bPrintSetup, &QPushButton::clicked, this, [this] { bPrintSetupClick(); });

    TXPGroupBox* options = AddGroup("gbOptions", "Options", {12, 32, 413, 89});
    AddLabel(options, "Label1", QStringLiteral("Title :"), {12, 28});
    eTitle = new TXPEdit(options);
    eTitle->setObjectName(QStringLiteral("eTitle"));
    eTitle->setGeometry(48, 26, 217, 17);
    QLabel* note = AddLabel(options, "Label11", QStringLiteral("Title will be printed top of the page"),
                            {288, 24});
    note->setWordWrap(true);
    note->setFixedSize(105, 49);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    struct TSwatchPlace {
        TColorSwatch** swatch;
        const char* name;
        const char* caption;
        int labelX;
        int swatchX;
        TColor color;
    };
    const TSwatchPlace swatches[] = {
        {&sFontName, "sFontName", "Font name:", 16, 73, clGreen},
        {&sString, "sString", "String:", 120, 155, clBlack},
        {&sTitle, "sTitle", "Title:", 204, 232, clBlack},
    };
    int tag = 0;
    for (const TSwatchPlace& place : swatches) {
        // A face wider than the one the places were made for must not run into the swatch.
        QLabel* label = AddLabel(options, "", QString::fromLatin1(place.caption), {place.labelX, 60});
        label->move(std::min(place.labelX, place.swatchX - label->width() - 3), 60);
        auto* swatch = new TColorSwatch(tag++, options);
        swatch->setObjectName(QString::fromLatin1(place.name));
        swatch->setGeometry(place.swatchX, 61, 38, 14);
        swatch->SetBrushColor(place.color);
        swatch->OnMouseUp = [this](TColorSwatch* sender) { sFontNameMouseUp(sender); };
        *place.swatch = swatch;
    }

    TXPGroupBox* range = AddGroup("gbRange", "Page range", {12, 128, 205, 110});
    // The two range buttons are the group box's only radio group (group index 0): one tab
    // stop, the arrows move between them. "Pages" stops short of its edit.
    rbAll = new TXPRadioButton(QStringLiteral("A&ll"), range);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbAll->setGeometry(10, 21, 60, 17);
    rbAll->setChecked(true);
    rbPages = new TXPRadioButton(QStringLiteral("Pa&ges :"), range);
    rbPages->setObjectName(QStringLiteral("rbPages"));
    rbPages->setGeometry(10, 43, 60, 17);
    ePages = new TXPEdit(range);
    ePages->setObjectName(QStringLiteral("ePages"));
    ePages->setGeometry(72, 43, 113, 17);
    connect(ePages, &QLineEdit::textChanged, this, [this] { ePagesChange(); });
    QLabel* example = AddLabel(
        range, "Label6",
        QStringLiteral("Enter either a single page or  a single page range, For example, 5-12"),
        {11, 68});
    example->setWordWrap(true);
    example->setFixedSize(181, std::max(34, example->heightForWidth(181)));
    example->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    TXPGroupBox* margins = AddGroup("gbMargins", "Margins (mm)", {229, 128, 196, 110});
    struct TSpinPlace {
        QSpinBox** spin;
        const char* name;
        const char* caption;
        QPoint place;
    };
    const TSpinPlace spins[] = {
        {&seTop, "seTop", "Top :", {44, 28}},
        {&seBottom, "seBottom", "Bottom :", {143, 28}},
        {&seLeft, "seLeft", "Left :", {44, 68}},
        {&seRight, "seRight", "Right :", {143, 68}},
    };
    for (const TSpinPlace& place : spins) {
        auto* spin = new QSpinBox(margins);
        spin->setObjectName(QString::fromLatin1(place.name));
        spin->setRange(0, 100);
        spin->setGeometry(place.place.x(), place.place.y(), 46, 22);
        QLabel* label = AddLabel(margins, "", QString::fromLatin1(place.caption), {0, 0});
        label->move(place.place.x() - label->sizeHint().width() - 3, place.place.y() + 3);
        label->setBuddy(spin);
        *place.spin = spin;
    }
    // Only the top and bottom margins change the number of pages.
    for (QSpinBox* spin : {seTop, seBottom})
        connect(spin, &QSpinBox::valueChanged, this, [this] { seTopChange(); });

    QLabel* printLabel = AddLabel(this, "Label10", QStringLiteral("Print:"), {12, 250});
    cbPrint = new TXPComboBox(this);
    cbPrint->setObjectName(QStringLiteral("cbPrint"));
    cbPrint->addItems({QStringLiteral("All pages in range"), QStringLiteral("Odd pages"),
                       QStringLiteral("Even pages")});
    cbPrint->setGeometry(44, 247, 145, 21);
    printLabel->setBuddy(cbPrint);

    lPages = AddLabel(this, "lPages", QString(), {16, 286});
    lPages->setFixedWidth(250);

    bPrint = new TXPButton(QStringLiteral("Print"), this);
    bPrint->setObjectName(QStringLiteral("bPrint"));
    bPrint->setGeometry(280, 280, 70, 22);
    bPrint->setDefault(true);
    connect(bPrint, &QPushButton::clicked, this, [this] { bPrintClick(); });
    bCancel = new TXPButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->setGeometry(356, 280, 70, 22);
    bCancel->setAutoDefault(false);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    seTopChange();
}

TXPGroupBox* TfPrint::AddGroup(const char* name, const char* caption, QRect place)
{
    auto* group = new TXPGroupBox(QString::fromLatin1(caption), this);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    return group;
}

QLabel* TfPrint::AddLabel(QWidget* parent, const char* name, const QString& text, QPoint place)
{
    auto* label = new QLabel(text, parent);
    if (*name)
        label->setObjectName(QString::fromLatin1(name));
    label->move(place);
    label->adjustSize();
    return label;
}

void TfPrint::SetSheet(const TSheetMetrics& metrics, int fontCount)
{
    FMetrics = metrics;
    FFontCount = fontCount;
    seTopChange();
}

TSheetMargins TfPrint::Margins() const
{
    return {seLeft->value(), seTop->value(), seRight->value(), seBottom->value()};
}

void TfPrint::SetMargins(const TSheetMargins& margins)
{
    seLeft->setValue(margins.Left);
    seRight->setValue(margins.Right);
    seTop->setValue(margins.Top);
    seBottom->setValue(margins.Bottom);
}

TSheetLayout TfPrint::Layout() const
{
    return TSheetLayout(FMetrics, Margins(), FFontCount);
}

TPageFilter TfPrint::Filter() const
{
    const int index = cbPrint->currentIndex();
    return index == pfOdd || index == pfEven ? static_cast<TPageFilter>(index) : pfAll;
}

std::string TfPrint::Title() const
{
    return eTitle->text().toStdString();
}

TColor TfPrint::FontNameColor() const { return sFontName->BrushColor(); }
TColor TfPrint::StringColor() const { return sString->BrushColor(); }
TColor TfPrint::TitleColor() const { return sTitle->BrushColor(); }

void TfPrint::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfPrint::ShowPrinter(const std::string& prefix)
{
    const std::string name =
        prefix + (FPlatform.Printer ? PrinterDisplayName(FPlatform.Printer->Printer()) : "");
    const QString text = QString::fromStdString(name);
    lPrinter->setToolTip(text);
    lPrinter->setText(lPrinter->fontMetrics().elidedText(text, Qt::ElideMiddle, lPrinter->width()));
}

void TfPrint::FormShow()
{
    cbPrint->setCurrentIndex(0);
    ShowPrinter("Printer: ");
}

void TfPrint::seTopChange()
{
    const TSheetLayout layout = Layout();
    lPages->setText(layout.HasRoom()
                        ? QString::fromStdString(FormatStr("Total %d Pages", layout.Pages()))
                        : QStringLiteral("No row fits between the margins"));
}

void TfPrint::ePagesChange()
{
    (ePages->text().isEmpty() ? rbAll : rbPages)->setChecked(true);
}

void TfPrint::sFontNameMouseUp(TColorSwatch* sender)
{
    if (!FPlatform.ColorDialog)
        return;
    TColor color = ColorToRGB(sender->BrushColor());
    if (FPlatform.ColorDialog->ChooseColor(color))
        sender->SetBrushColor(color);
}

void TfPrint::bPrintSetupClick()
{
    if (!FPlatform.Printer || !FPlatform.Printer->Setup(this))
        return;
    ShowPrinter(LoadStr(800));
    // The chosen printer may have another paper and resolution: count with its values.
    if (OnMeasure)
        FMetrics = OnMeasure();
    seTopChange();
}

void TfPrint::Refuse(const std::string& text, const std::string& caption)
{
    if (FPlatform.Dialogs)
        FPlatform.Dialogs->MessageBox(text, caption, TMsgIcon::Warning, TMsgButtons::Ok);
}

void TfPrint::bPrintClick()
{
    int first = -1;
    int last = -1;
    if (rbPages->isChecked() && !ParsePageRange(ePages->text().toStdString(), first, last)) {
        Refuse("This is not a valid print range.", "Warning");
        return;
    }
    const TSheetLayout layout = Layout();
    if (FFontCount <= 0) {
        Refuse("There are no fonts to print.", "Print");
        return;
    }
    if (!layout.HasRoom()) {
        Refuse("The margins leave no room for a row of the sheet.", "Print");
        return;
    }
    if (layout.PagesToPrint(first, last, Filter()).empty()) {
        Refuse("The page range and the filter select no page to print.", "Print");
        return;
    }
    FFirstPage = first;
    FLastPage = last;
    accept();
}
