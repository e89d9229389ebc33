#include "app/main_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

#include "app/about_form.h"
#include "app/color_swatch.h"
#include "app/resources.h"
#include "app/selection_pane.h"
#include "app/string_table.h"
#include "app/window_place.h"
#include "favorites/favorites.h"
#include "favorites/favorites_pane.h"
#include "controls/xp_controls.h"
#include "controls/btn_status_bar.h"
#include "fileops/file_utils.h"
#include "fonts/scan_window.h"
#include "platform/app_folder.h"
#include "platform/byte_path.h"
#include "platform/color_dialog.h"
#include "platform/dialogs.h"
#include "platform/ini_file.h"
#include "preview/font_list_view.h"

namespace {

constexpr const char* AppTitle = "Fonzeta 1.0";
constexpr TFontStyle StyleBits[3] = {fsBold, fsItalic, fsUnderline};
constexpr const char* FontSizes[] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                     "20", "24", "30", "36", "48", "60", "72", "80"};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A flat tool button showing one of our toolbar pictures.
QToolButton* ToolButton(QToolBar* bar, const char* name, const char* caption, const char* icon,
                        bool checkable)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(caption));
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setCheckable(checkable);
    button->setToolButtonStyle(bar->toolButtonStyle());
    bar->addWidget(button);
    return button;
}

QToolBar* FlatToolBar(QWidget* parent, const char* name, Qt::ToolButtonStyle style)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(22, 22));
    bar->setToolButtonStyle(style);
    bar->setStyleSheet(QStringLiteral("QToolBar { border: none; padding: 0px; }"));
    return bar;
}

}  // namespace

TMainForm::TMainForm(const TPlatform& platform, const std::string& settingsFolder,
                     QWidget* parent)
    : QMainWindow(parent),
      FPlatform(platform),
      FSettingsFile(AddToPath(settingsFolder, "fonzeta.ini")),
      FHelpFolder(HelpFolder())
{
    SourceList = std::make_unique<TFontList>(platform, true);
    SourceList->OnRefresh = [this](TFontList* sender) { UpdateCaption(sender); };
    SourceList->OnFontFound = [this](TFontList* sender, const std::string& name) {
        ScanFontFound(sender, name);
    };
    SourceList->OnScanEnd = [this](TFontList* sender) { ScanEnd(sender); };
    SourceList->OnScanBegin = [this](TFontList* sender, const std::string& text) {
        ScanBegin(sender, text);
    };

    LoadResources();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromLatin1(AppTitle));
    setWindowIcon(QIcon(QStringLiteral(":/fonzeta.png")));
    FavoritesFile = AddToPath(settingsFolder, "installed.fav");

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(CreateToolbarRow(client));
    column->addWidget(AddShape(client, 1));
    column->addWidget(AddShape(client, 2));
    CreateTextRow(client);
    column->addWidget(FTextRow);
    column->addWidget(AddShape(client, 3));
    column->addWidget(AddShape(client, 4));
    column->addWidget(AddShape(client, 5));
    CreateClientArea(client);
    column->addWidget(Splitter1, 1);
    column->addWidget(AddShape(client, 6));
    column->addWidget(AddShape(client, 7));
    column->addWidget(AddShape(client, 8));
    StatusBar1 = new TBtnStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->SetItems({"=100 Fonts"});
    StatusBar1->SetHotColor(palette().color(QPalette::WindowText));
    column->addWidget(StatusBar1);
    setCentralWidget(client);

    CreateMenus();
    ConnectFavorites();
    ApplyMenuLook();
    ConnectCommands();
    ConnectDetails();
    CreatePrintCommands();
    ConnectFileCommands();

    setMinimumSize(500, 400);
    resize(647, 529);
    // Escape and the other window-wide keys are seen before any control gets them.
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
}

QFrame* TMainForm::AddShape(QWidget* parent, int number)
{
    auto* shape = new QFrame(parent);
    shape->setObjectName(QStringLiteral("Shape%1").arg(number));
    shape->setFixedHeight(1);
    shape->setAutoFillBackground(true);
    FShapes[number - 1] = shape;
    return shape;
}

QWidget* TMainForm::CreateToolbarRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    row->setObjectName(QStringLiteral("ToolbarRow"));
    row->setFixedHeight(28);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);

    QToolBar* printBar = FlatToolBar(row, "ToolBar1", Qt::ToolButtonIconOnly);
    tbPrint = ToolButton(printBar, "tbPrint", "Print", ":/print.png", false);
    tbPrint->setEnabled(false);
    QToolButton* preview = ToolButton(printBar, "tbPrintPreview", "Print Preview", ":/print.png", false);
    printBar->actions().last()->setVisible(false);
    preview->setEnabled(false);
    layout->addWidget(printBar);

    // The two pane buttons: at most one is down, and both may be up.
    QToolBar* paneBar = FlatToolBar(row, "ToolBar2", Qt::ToolButtonTextBesideIcon);
    tbFavorites = ToolButton(paneBar, "tbFavorites", "Favorites", ":/favorites.png", true);
    tbSelected = ToolButton(paneBar, "tbSelected", "Selected", ":/selected.png", true);
    tbFavorites->setEnabled(false);
    tbSelected->setEnabled(false);
    layout->addWidget(paneBar);

    QToolBar* toolBar = FlatToolBar(row, "ToolBar3", Qt::ToolButtonTextBesideIcon);
    ToolButton(toolBar, "tbCharmap", "Charmap", ":/charmap.png", false)->setEnabled(false);
    ToolButton(toolBar, "tbProperties", "Properties", ":/properties.png", false)->setEnabled(false);
    QToolButton* view = ToolButton(toolBar, "tbView", "View", ":/view.png", false);
    view->setPopupMode(QToolButton::MenuButtonPopup);
    view->setEnabled(false);
    layout->addWidget(toolBar);
    layout->addStretch(1);
    return row;
}

void TMainForm::CreateTextRow(QWidget* parent)
{
    FTextRow = new QWidget(parent);
    FTextRow->setObjectName(QStringLiteral("TextRow"));
    FTextRow->setFixedHeight(23);

    cbString = new TXPComboBox(FTextRow);
    cbString->setObjectName(QStringLiteral("cbString"));
    cbString->setEditable(true);
    // Typing changes the sample only; the list holds the texts of the sample text editor.
    cbString->setInsertPolicy(QComboBox::NoInsert);
    connect(cbString, &QComboBox::editTextChanged, this, [this] { cbStringChange(); });

    FTextLabel = new QLabel(QStringLiteral("&Text :"), FTextRow);
    FTextLabel->setObjectName(QStringLiteral("Label2"));
    FTextLabel->setBuddy(cbString);
    FTextLabel->adjustSize();

    pFontProp = new QWidget(FTextRow);
    pFontProp->setObjectName(QStringLiteral("pFontProp"));
    auto* props = new QHBoxLayout(pFontProp);
    props->setContentsMargins(0, 0, 2, 0);
    props->setSpacing(2);

    sForeColor = new TColorSwatch(0, pFontProp);
    sForeColor->setObjectName(QStringLiteral("sForeColor"));
    sForeColor->setToolTip(QStringLiteral("Font Color"));
    sBackColor = new TColorSwatch(1, pFontProp);
    sBackColor->setObjectName(QStringLiteral("sBackColor"));
    sBackColor->setToolTip(QStringLiteral("Background Color"));
    for (TColorSwatch* swatch : {sForeColor, sBackColor}) {
        swatch->setFixedSize(21, 19);
        swatch->OnMouseUp = [this](TColorSwatch* sender) { sForeColorMouseUp(sender); };
        props->addWidget(swatch);
    }
    props->addSpacing(4);

    static constexpr const char* names[3] = {"sbBold", "sbItalic", "sbUnderline"};
    static constexpr const char* captions[3] = {"B", "I", "U"};
    static constexpr const char* hints[3] = {"Bold", "Italic", "Underline"};
    for (int tag = 0; tag < 3; ++tag) {
        auto* button = new QToolButton(pFontProp);
        button->setObjectName(QString::fromLatin1(names[tag]));
        button->setText(QString::fromLatin1(captions[tag]));
        button->setToolTip(QString::fromLatin1(hints[tag]));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(23, 22);
        QFont face = button->font();
        face.setBold(tag == 0);
        face.setItalic(tag == 1);
        face.setUnderline(tag == 2);
        button->setFont(face);
        connect(button, &QToolButton::clicked, this, [this, tag] { sbBoldClick(tag); });
        FStyleButtons[tag] = button;
        props->addWidget(button);
    }
    props->addSpacing(4);

    cbFontSize = new TXPComboBox(pFontProp);
    cbFontSize->setObjectName(QStringLiteral("cbFontSize"));
    cbFontSize->setEditable(true);
    cbFontSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : FontSizes)
        cbFontSize->addItem(QString::fromLatin1(size));
    cbFontSize->setFixedWidth(56);
    connect(cbFontSize, &QComboBox::editTextChanged, this, [this] { cbFontSizeChange(); });
    props->addWidget(cbFontSize);
    pFontProp->adjustSize();

    FTextRow->installEventFilter(this);
}

void TMainForm::CreateClientArea(QWidget* parent)
{
    Splitter1 = new QSplitter(Qt::Horizontal, parent);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    pSelected = new TSelectionPane(Splitter1);
    pFavorites = CreateFavoritesPane(Splitter1);
    pFavorites->setObjectName(QStringLiteral("pFavorites"));
    for (QWidget* pane : std::initializer_list<QWidget*>{pSelected, pFavorites}) {
        pane->setMinimumWidth(100);
        pane->resize(169, pane->height());
        pane->setAutoFillBackground(true);
        pane->setBackgroundRole(QPalette::Base);
        pane->hide();
    }

    FontView = new TFonzetaFontListView(FPlatform, Splitter1);
    FontView->setObjectName(QStringLiteral("FontView"));
    FontView->SetFontColor(clNavy);
    FontView->SetFontNameColor(TFonzetaFontListView::DefaultFontNameColor);
    FontView->SetSelColor(TFonzetaFontListView::DefaultSelColor);
    FontView->SetShowFileInfo(true);
    FontView->SetText("ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 한글보기");
    FontView->SetBorderStyle(bsNone);
    FontView->setFocusPolicy(Qt::StrongFocus);
    FontView->OnMouseWheel = [this](TFonzetaFontListView*, Qt::KeyboardModifiers, int delta,
                                    QPoint, bool&) { FontViewMouseWheel(delta); };
    Splitter1->setStretchFactor(Splitter1->indexOf(FontView), 1);
}

QAction* TMainForm::AddItem(QMenu* menu, const char* name, const char* caption,
                            const QKeySequence& shortcut, bool enabled)
{
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    item->setEnabled(enabled);
    return item;
}

void TMainForm::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const QKeySequence none;

    // Entries whose commands the program does not have yet are shown disabled.
    QMenu* font = bar->addMenu(QStringLiteral("&Font"));
    font->setObjectName(QStringLiteral("N1"));
    AddItem(font, "InstallFont1", "&Install Font", QKeySequence(Qt::ALT | Qt::Key_I), false);
    AddItem(font, "UninstallFont1", "&Uninstall Font", QKeySequence(Qt::ALT | Qt::Key_U), false);
    font->addSeparator();
    AddItem(font, "mCharTable", "&Charmap", QKeySequence(Qt::ALT | Qt::Key_C), false);
    font->addSeparator();
    AddItem(font, "Properties1", "P&roperties", QKeySequence(Qt::ALT | Qt::Key_Return), false);
    font->addSeparator()->setVisible(false);
    AddItem(font, "ExportasBitmap1", "Export as &Bitmap", none, false)->setVisible(false);
    font->addSeparator();
    AddItem(font, "PrintSetup1", "Print Setup", none, false)->setVisible(false);
    AddItem(font, "PrintPreview1", "Print Preview", none, false)->setVisible(false);
    AddItem(font, "Print1", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), false);
    font->addSeparator();
    QAction* exit = AddItem(font, "Exit1", "E&xit", QKeySequence(Qt::ALT | Qt::Key_X), true);
    connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    AddItem(edit, "SelectAll1", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), false);
    AddItem(edit, "InvertSelection1", "&Invert Selection",
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), false);
    edit->addSeparator();
    AddItem(edit, "Find1", "&Find", QKeySequence(Qt::CTRL | Qt::Key_F), false);
    AddItem(edit, "FindNext1", "Find Ne&xt", QKeySequence(Qt::Key_F3), false);
    edit->addSeparator();
    AddItem(edit, "NextSelected1", "&Next Selected", QKeySequence(Qt::CTRL | Qt::Key_N), false);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    auto* sources = new QActionGroup(view);
    for (QAction* item :
         {AddItem(view, "ScreenFonts1", "&Screen Fonts", QKeySequence(Qt::ALT | Qt::Key_1), false),
          AddItem(view, "InstalledFonts1", "Insta&lled Fonts", QKeySequence(Qt::ALT | Qt::Key_2),
                  false),
          AddItem(view, "FontsinFolder1", "Fonts in &Folder...",
                  QKeySequence(Qt::ALT | Qt::Key_3), false)}) {
        item->setCheckable(true);
        sources->addAction(item);
    }
    view->addSeparator();
    auto* contents = new QActionGroup(view);
    QAction* all = AddItem(view, "All1", "&All Fonts", QKeySequence(Qt::ALT | Qt::Key_A), false);
    QAction* selected =
        AddItem(view, "Selected1", "Sele&cted Fonts", QKeySequence(Qt::ALT | Qt::Key_S), false);
    for (QAction* item : {all, selected}) {
        item->setCheckable(true);
        contents->addAction(item);
    }
    all->setChecked(true);
    view->addSeparator();
    Antialiasing1 =
        AddItem(view, "Antialiasing1", "An&tialiasing", QKeySequence(Qt::CTRL | Qt::Key_T), true);
    Antialiasing1->setCheckable(true);
    connect(Antialiasing1, &QAction::triggered, this, [this] { Antialiasing1Click(); });
    CreateTextMenuItems(view);
    AddItem(view, "DropShadow1", "&Drop Shadow", none, false)->setVisible(false);
    view->addSeparator();
    static constexpr const char* names[3] = {"Bold1", "Italic1", "Underline1"};
    static constexpr const char* captions[3] = {"&Bold", "&Italic", "&Underline"};
    static constexpr int keys[3] = {Qt::Key_B, Qt::Key_I, Qt::Key_U};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* item = AddItem(view, names[tag], captions[tag], QKeySequence(Qt::CTRL | keys[tag]), true);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, tag] { Bold1Click(tag); });
        FStyleItems[tag] = item;
    }
    view->addSeparator();
    AddItem(view, "Refresh1", "&Refresh", QKeySequence(Qt::Key_F5), false);

    QMenu* favorites = bar->addMenu(QStringLiteral("F&avorites"));
    favorites->setObjectName(QStringLiteral("Favorites1"));
    AddItem(favorites, "AddFavorites1", "Add to Favorites", none, false);
    favorites->addSeparator();

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    QAction* contentsItem = AddItem(help, "Contents1", "Contents", QKeySequence(Qt::Key_F1), true);
    connect(contentsItem, &QAction::triggered, this, [this] { Contents1Click(); });
    QAction* shortcut = AddItem(help, "Shortcut1", "Shortcut", none, true);
    connect(shortcut, &QAction::triggered, this, [this] { Shortcut1Click(); });
    help->addSeparator();
    QAction* about = AddItem(help, "About1", "&About...", none, true);
    connect(about, &QAction::triggered, this, [this] { About1Click(); });

    CreatePopupMenu();
}

void TMainForm::CreatePopupMenu()
{
    const QKeySequence none;
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    AddItem(PopupMenu1, "InstallFonts1", "&Install Font(s)", none, false);
    AddItem(PopupMenu1, "Uninstall1", "&Uninstall Font(s)", none, false);
    AddItem(PopupMenu1, "DeleteFonts1", "&Delete Font(s)", none, false);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "AddtoFavorites1", "&Add to Favorites", none, false);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "Edit2", "&Edit", none, false);
    AddItem(PopupMenu1, "mCharTable", "&Charmap", none, false);
    PopupMenu1->addSeparator();
    AddItem(PopupMenu1, "R1", "P&roperties", none, false);

    FontView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FontView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(FontView->mapToGlobal(pos)); });
}

std::string TMainForm::CaptionFor(TFontListMode mode, const std::string& folder)
{
    switch (mode) {
    case flmScreen: return std::string(AppTitle) + " - " + LoadStr(610);
    case flmInstalled: return FormatStr("%s - %s", AppTitle, LoadStr(611).c_str());
    case flmFolder:
        // A folder name that is no valid UTF-8 is shown readably, its odd bytes as \xHH.
        return FormatStr("%s - %s (%s)", AppTitle, LoadStr(612).c_str(),
                         DisplayPathUtf8(folder).c_str());
    case flmCustom: break;
    }
    return AppTitle;
}

void TMainForm::UpdateCaption(TFontList*)
{
    setWindowTitle(Q(CaptionFor(SourceList->Mode(), SourceList->Folder())));
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FTextRow && event->type() == QEvent::Resize) {
        FormResize();
        return false;
    }
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        if (CommandKeyPreview(event))
            return true;
        if (type == QEvent::KeyPress)
            return FormKeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormShow()
{
    LoadSettings();
    {
        const QSignalBlocker block(cbString);
        cbString->setEditText(Q(FontView->Text()));
    }
    ShowFontSize();
    sForeColor->SetBrushColor(ColorToRGB(FontView->FontColor()));
    sBackColor->SetBrushColor(ColorToRGB(FontView->Color()));
    ShadeLines();
    SourceList->Refresh();
    FontView->Items().Assign(*SourceList);
    ViewContent = vcAll;
    LoadFavorites();
}

void TMainForm::FormClose()
{
    SaveSettings();
}

void TMainForm::FormResize()
{
    const int row = FTextRow->width();
    const int height = FTextRow->height();
    pFontProp->move(row - pFontProp->width(), (height - pFontProp->height()) / 2);
    FTextLabel->move(4, (height - FTextLabel->height()) / 2);
    const int left = FTextLabel->x() + FTextLabel->width() + 4;
    cbString->setGeometry(left, 1, row - pFontProp->width() - FTextLabel->width() - 20,
                          height - 2);
}

bool TMainForm::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    showMinimized();
    return true;
}

void TMainForm::LoadSettings()
{
    TIniFile ini(FSettingsFile);
    ini.SetAutoFlush(false);
    TSettings settings;
    const std::vector<std::string> problems = ReadSettings(ini, settings);
    if (!problems.empty() && FPlatform.Dialogs) {
        std::string text;
        for (const auto& problem : problems)
            text += (text.empty() ? "" : "\n") + problem;
        FPlatform.Dialogs->MessageBox(text, std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
    }

    if (settings.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else {
        move(settings.Left, settings.Top);
        resize(settings.Width, settings.Height);
    }

    SourceList->SetMode(static_cast<TFontListMode>(settings.ViewMode));
    if (settings.ViewMode == flmFolder)
        SourceList->SetFolder(settings.Path);

    tbSelected->setChecked(settings.Pane == spSelected);
    pSelected->setVisible(settings.Pane == spSelected);
    tbFavorites->setChecked(settings.Pane == spFavorites);
    pFavorites->setVisible(settings.Pane == spFavorites);

    for (int tag = 0; tag < 3; ++tag) {
        FStyleButtons[tag]->setChecked((settings.Style & StyleBits[tag]) != 0);
        FStyleItems[tag]->setChecked(FStyleButtons[tag]->isChecked());
    }
    FontView->SetFontStyle(TFontStyles::fromInt(settings.Style));
    FontView->SetFontSize(settings.Size);
    FontView->SetAntiAlias(settings.AntiAlias);
    Antialiasing1->setChecked(FontView->AntiAlias());
    FontView->SetShowBorrowedGlyphs(settings.ShowBorrowedGlyphs);
    ShowBorrowedGlyphs1->setChecked(settings.ShowBorrowedGlyphs);
    FontView->SetColor(settings.Back);
    FontView->SetFontColor(settings.Fore);
    FontView->SetFontNameColor(settings.Name);

    const QSignalBlocker block(cbString);
    cbString->clear();
    for (const auto& line : settings.History)
        cbString->addItem(Q(line));
}

void TMainForm::SaveSettings()
{
    TSettings settings;
    settings.Maximized = isMaximized();
    settings.Left = x();
    settings.Top = y();
    settings.Width = width();
    settings.Height = height();
    settings.Pane = (pSelected->isHidden() ? 0 : spSelected) + (pFavorites->isHidden() ? 0 : spFavorites);
    settings.ViewMode = SourceList->Mode();
    settings.Path = SourceList->Folder();
    settings.Style = FontView->FontStyle().toInt() & (fsBold | fsItalic | fsUnderline);
    settings.Size = FontView->FontSize();
    settings.AntiAlias = FontView->AntiAlias();
    settings.ShowBorrowedGlyphs = FontView->ShowBorrowedGlyphs();
    settings.Back = FontView->Color();
    settings.Fore = FontView->FontColor();
    for (int i = 0; i < cbString->count(); ++i)
        settings.History.push_back(cbString->itemText(i).toStdString());

    TIniFile ini(FSettingsFile);
    // The program closes regardless; the old file stays whole, and the user hears why
    // the new settings were not kept.
    if (!WriteSettings(ini, settings) && FPlatform.Dialogs)
        FPlatform.Dialogs->MessageBox("The settings could not be saved.\n" + ini.LastError(),
                                      std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
}

void TMainForm::ShadeLines()
{
    static constexpr double shades[8] = {0.12, 0.04, 0.12, 0.06, 0.03, 0.12, 0.06, 0.03};
    const QColor face = palette().color(QPalette::Button);
    for (int i = 0; i < 8; ++i) {
        const double k = shades[i];
        const auto shade = [k](int c) { return static_cast<int>(c - c * k); };
        QPalette colors = FShapes[i]->palette();
        colors.setColor(QPalette::Window,
                        QColor(shade(face.red()), shade(face.green()), shade(face.blue())));
        FShapes[i]->setPalette(colors);
    }
}

void TMainForm::ShowFontSize()
{
    const QSignalBlocker block(cbFontSize);
    cbFontSize->setEditText(QString::number(FontView->FontSize()));
}

void TMainForm::cbStringChange()
{
    FontView->SetText(cbString->currentText().toStdString());
}

void TMainForm::cbFontSizeChange()
{
    const QString text = cbFontSize->currentText();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int size = text.toInt(&ok);
    if (ok)
        FontView->SetFontSize(size);
    else
        ShowFontSize();
}

void TMainForm::sbBoldClick(int tag)
{
    TFontStyles style = FontView->FontStyle();
    style.setFlag(StyleBits[tag], FStyleButtons[tag]->isChecked());
    FontView->SetFontStyle(style);
    FStyleItems[tag]->setChecked(FStyleButtons[tag]->isChecked());
}

void TMainForm::Bold1Click(int tag)
{
    FStyleButtons[tag]->setChecked(!FStyleButtons[tag]->isChecked());
    sbBoldClick(tag);
}

void TMainForm::sForeColorMouseUp(TColorSwatch* sender)
{
    if (!FPlatform.ColorDialog)
        return;
    TColor color = ColorToRGB(sender->BrushColor());
    if (!FPlatform.ColorDialog->ChooseColor(color))
        return;
    if (sender->Tag() == 0)
        FontView->SetFontColor(color);
    else
        FontView->SetColor(color);
    sender->SetBrushColor(color);
}

void TMainForm::Antialiasing1Click()
{
    FontView->SetAntiAlias(!FontView->AntiAlias());
    Antialiasing1->setChecked(FontView->AntiAlias());
}

void TMainForm::FontViewMouseWheel(int wheelDelta)
{
    FontView->WMVScroll(wheelDelta < 0 ? scLineDown : scLineUp);
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::About1Click()
{
    TfAbout about(FPlatform.Opener, this);
    about.SetSettingsFolder(std::filesystem::path(FSettingsFile).parent_path().string());
    CenterOver(about, *this);
    about.exec();
}

void TMainForm::OpenHelp(const char* document)
{
    if (!FPlatform.Opener)
        return;
    if (ExecuteFile(*FPlatform.Opener, document, "", FHelpFolder) || !FPlatform.Dialogs)
        return;
    FPlatform.Dialogs->MessageBox(
        FormatStr("The help document %s could not be opened.", AddToPath(FHelpFolder, document).c_str()),
        std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
}

void TMainForm::Contents1Click()
{
    OpenHelp("help.html");
}

void TMainForm::Shortcut1Click()
{
    OpenHelp("shortcut.html");
}
