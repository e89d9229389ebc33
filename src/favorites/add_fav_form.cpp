#include "favorites/add_fav_form.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/resources.h"
#include "app/string_table.h"
#include "controls/xp_controls.h"
#include "platform/dialogs.h"

namespace {

QString Q(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A row of lbGroup: the folder glyph and the group name in the list's font and colours.
class TGroupDelegate : public QStyledItemDelegate {
public:
    TGroupDelegate(QListWidget* list, QPixmap glyph)
        : QStyledItemDelegate(list), FList(list), FGlyph(std::move(glyph))
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), 18);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QRect rect = option.rect;
        const QPalette& colors = FList->palette();
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(rect, colors.color(selected ? QPalette::Highlight : QPalette::Base));
        painter->drawPixmap(rect.left() + 4, rect.top() + 1, FGlyph);
        const QFontMetrics metrics(FList->font());
        const int offset = (rect.height() - metrics.height()) >> 1;
        painter->setFont(FList->font());
        painter->setPen(colors.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const int x = rect.left() + 24;
        painter->drawText(QRect(x, rect.top() + offset, rect.right() - x + 1, metrics.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.initFrom(FList);
            focus.rect = rect;
            FList->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, FList);
        }
        painter->restore();
    }

private:
    QListWidget* FList;
    QPixmap FGlyph;
};

}  // namespace

std::string LeftOutText(const std::vector<std::string>& leftOut)
{
    if (leftOut.empty())
        return std::string();
    std::string text = leftOut.size() == 1
                           ? "This font was not added to favorites because its name cannot be stored:"
                           : "These fonts were not added to favorites because their names cannot be stored:";
    for (const auto& name : leftOut)
        text += "\n\"" + name + "\" (" + TFavorites::NameProblem(name) + ")";
    return text;
}

TfAddFav::TfAddFav(IDialogs* dialogs, QWidget* parent) : QDialog(parent), FDialogs(dialogs)
{
    LoadResources();
    setObjectName(QStringLiteral("fAddFav"));
    setWindowTitle(QStringLiteral("Add Favorites"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont face(QStringLiteral("Tahoma"));
    face.setPixelSize(11);
    setFont(face);
    setFixedSize(351, 245);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(20, 12, 32, 32);
    Image1->setPixmap(QPixmap(QStringLiteral(":/fonzeta.png"))
                          .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    Label3 = new QLabel(QStringLiteral("Add this font to your favorites list."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(64, 12);
    Label3->adjustSize();

    lFontName = new QLabel(this);
    lFontName->setObjectName(QStringLiteral("lFontName"));
    lFontName->setGeometry(64, 32, 185, 17);
    QFont bold;
    bold.setFamilies({QStringLiteral("굴림"), QStringLiteral("Gulim"), QStringLiteral("NanumGothic")});
    bold.setPixelSize(12);
    bold.setBold(true);
    lFontName->setFont(bold);

    Label1 = new QLabel(QStringLiteral("Create in :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(20, 64);
    Label1->adjustSize();

    lbGroup = new QListWidget(this);
    lbGroup->setObjectName(QStringLiteral("lbGroup"));
    lbGroup->setGeometry(20, 80, 237, 149);
    lbGroup->setUniformItemSizes(true);
    lbGroup->setSelectionMode(QAbstractItemView::SingleSelection);
    lbGroup->setItemDelegate(new TGroupDelegate(lbGroup, QPixmap(QStringLiteral(":/fontfolder.png"))));

    const auto button = [this](const char* name, const char* caption, int top) {
        auto* b = new TXPButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(266, top, 77, 23);
        b->setAutoDefault(false);
        return b;
    };
    bOK = button("bOK", "OK", 12);
    bOK->setDefault(true);
    bCancel = button("bCancel", "Cancel", 40);
    bNewFolder = button("bNewFolder", "New Folder...", 80);
    bNewFolder->setEnabled(false);
    connect(bOK, &QPushButton::clicked, this, [this] { bOKClick(); });
    connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(bNewFolder, &QPushButton::clicked, this, [this] { bNewFolderClick(); });
}

void TfAddFav::SetPromptText(TPromptText prompt)
{
    FPromptText = std::move(prompt);
    bNewFolder->setEnabled(static_cast<bool>(FPromptText));
}

void TfAddFav::Report(const std::string& text)
{
    if (FDialogs && !text.empty())
        FDialogs->MessageBox(text, std::string(), TMsgIcon::Warning, TMsgButtons::Ok);
}

void TfAddFav::AddGroupRow(const std::string& name)
{
    lbGroup->addItem(Q(name));
    FGroups.push_back(name);
}

void TfAddFav::Prepare(const std::string& fileName, const std::vector<std::string>& names,
                       const std::vector<std::string>& files)
{
    FNames = names;
    FFiles = files;
    if (FNames.size() == 1)
        lFontName->setText(Q(FNames.front()));
    else
        lFontName->setText(Q(FormatStr(LoadStr(900).c_str(), static_cast<int>(FNames.size()))));

    FFavorites = TFavorites(fileName);
    if (!FFavorites.Load())
        Report(FFavorites.Error());
    lbGroup->clear();
    FGroups.clear();
    for (const auto& group : FFavorites.Groups())
        AddGroupRow(group);
    if (lbGroup->count() > 0)
        lbGroup->setCurrentRow(0);
}

int TfAddFav::Execute(const std::string& fileName, const std::vector<std::string>& names,
                      const std::vector<std::string>& files)
{
    Prepare(fileName, names, files);
    return exec();
}

void TfAddFav::bOKClick()
{
    const int row = lbGroup->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= FGroups.size())
        return;
    std::vector<std::string> leftOut;
    const TFavResult result = FFavorites.AddFonts(FGroups[static_cast<size_t>(row)], FNames, FFiles, leftOut);
    Report(LeftOutText(leftOut));
    if (result == TFavResult::Failed)
        Report(FFavorites.Error());
    done(result == TFavResult::Done ? 1 : 2);
}

void TfAddFav::bNewFolderClick()
{
    if (!FPromptText)
        return;
    std::string name;
    if (FPromptText(this, LoadStr(518), "\n\n" + LoadStr(518) + ":", name) != 1)
        return;
    switch (FFavorites.NewGroup(name)) {
    case TFavResult::Done:
        AddGroupRow(TIniDocument::CleanName(name));
        break;
    case TFavResult::NameInUse:
        for (size_t i = 0; i < FGroups.size(); ++i)
            if (TIniDocument::SameName(FGroups[i], name)) {
                lbGroup->setCurrentRow(static_cast<int>(i));
                break;
            }
        break;
    case TFavResult::Failed:
        Report(FFavorites.Error());
        break;
    case TFavResult::Nothing:
    case TFavResult::Stale:
        break;
    }
}
