#include "favorites/favorites_pane.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/menu_style.h"
#include "app/resources.h"
#include "favorites/favorites.h"

namespace {

QString Q(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Draws a row of lbFav: the rectangle in the selection or window colour, the glyph, the
// text (bold for a group header) and the focus rectangle.
class TFavItemDelegate : public QStyledItemDelegate {
public:
    explicit TFavItemDelegate(TFavListBox* list) : QStyledItemDelegate(list), FList(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), TFavListBox::RowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QRect rect = option.rect;
        const QPalette& colors = FList->palette();
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(rect, colors.color(selected ? QPalette::Highlight : QPalette::Base));

        QColor pen = colors.color(selected ? QPalette::HighlightedText : QPalette::Text);
        if (!selected && FList->Tag() >= 0 && FList->GroupIndexOfItem(index.row()) == FList->Tag())
            pen = QColor(FavDropColor);

        const bool group = index.data(FavKindRole).toInt() == fikGroup;
        QFont face = FList->font();
        face.setBold(group);
        painter->setFont(face);
        const QFontMetrics metrics(face);
        const int offset = (rect.height() - metrics.height()) >> 1;  // rounds toward minus infinity
        const QPixmap& glyph = group ? FList->FolderGlyph() : FList->FontGlyph();
        painter->drawPixmap(rect.left() + (group ? 2 : 22), rect.top() + 1, glyph);
        painter->setPen(pen);
        const int x = rect.left() + (group ? 20 : 40);
        painter->drawText(QRect(x, rect.top() + offset, rect.right() - x + 1, metrics.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.initFrom(FList);
            focus.rect = rect;
            focus.backgroundColor = colors.color(selected ? QPalette::Highlight : QPalette::Base);
            FList->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, FList);
        }
        painter->restore();
    }

private:
    TFavListBox* FList;
};

}  // namespace

TFavListBox::TFavListBox(QWidget* parent) : QListWidget(parent)
{
    LoadResources();
    FFontGlyph = QPixmap(QStringLiteral(":/font.png"));
    FFolderGlyph = QPixmap(QStringLiteral(":/fontfolder.png"));
    setItemDelegate(new TFavItemDelegate(this));
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    // Drag events go to the widget under the pointer, the viewport.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TFavListBox::SetTag(int value)
{
    if (value == FTag)
        return;
    FTag = value;
    viewport()->update();
}

int TFavListBox::GroupIndexOfItem(int index) const
{
    if (index >= count())
        return -1;
    for (int i = index; i >= 0; --i)
        if (item(i)->data(FavKindRole).toInt() == fikGroup)
            return i;
    return -1;
}

int TFavListBox::ItemAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

void TFavListBox::dragEnterEvent(QDragEnterEvent* event)
{
    // Entering is always taken so that moves arrive and the target group follows the
    // pointer; whether a drop is allowed is decided for each move.
    dragMoveEvent(event);
    event->accept();
}

void TFavListBox::dragMoveEvent(QDragMoveEvent* event)
{
    bool accept = false;
    if (OnDragOver)
        OnDragOver(this, event, accept);
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFavListBox::dragLeaveEvent(QDragLeaveEvent*)
{
    if (OnEndDrag)
        OnEndDrag(this);
}

void TFavListBox::dropEvent(QDropEvent* event)
{
    if (OnDragDrop)
        OnDragDrop(this, event);
    if (OnEndDrag)
        OnEndDrag(this);
}

void TFavListBox::mousePressEvent(QMouseEvent* event)
{
    // The right button makes the row under the pointer current before the context menu.
    if (event->button() == Qt::RightButton) {
        const int row = ItemAt(event->position().toPoint());
        if (row >= 0)
            setCurrentRow(row);
    } else {
        QListWidget::mousePressEvent(event);
    }
}

void TFavListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

TFavTitle::TFavTitle(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(20);
    FClose = new QToolButton(this);
    FClose->setObjectName(QStringLiteral("sbFavPaneClose"));
    FClose->setAutoRaise(true);
    FClose->setToolTip(QStringLiteral("Close"));
    FClose->setText(QStringLiteral("\u00D7"));
    FClose->setFixedSize(16, 16);
}

void TFavTitle::resizeEvent(QResizeEvent*)
{
    // Anchored to the right end: left 152 of the pane's 172 pixels.
    FClose->move(width() - 20, 1);
}

void TFavTitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    const int h = height();
    painter.drawText(QRect(0, 0, width() - 20, h - 3), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("  Favorites"));
    static constexpr int greys[3] = {229, 206, 174};
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QColor(greys[i], greys[i], greys[i]));
        painter.drawLine(0, h - 3 + i, width() - 1, h - 3 + i);
    }
}

TFavoritesPane::TFavoritesPane(QWidget* parent) : QWidget(parent)
{
    LoadResources();
    setObjectName(QStringLiteral("pFavorites"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    resize(PaneWidth, height());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    pFavTitle = new TFavTitle(this);
    pFavTitle->setObjectName(QStringLiteral("pFavTitle"));
    sbFavPaneClose = pFavTitle->CloseButton();
    column->addWidget(pFavTitle);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar4"));
    ToolBar->setFixedHeight(24);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar->setStyleSheet(QStringLiteral("QToolBar { border: none; padding: 0px; spacing: 0px; }"));
    const auto addButton = [this](const char* name, const char* caption, const QIcon& icon) {
        auto* button = new QToolButton(ToolBar);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(QString::fromLatin1(caption));
        button->setIcon(icon);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setFixedSize(81, 22);
        ToolBar->addWidget(button);
        return button;
    };
    ToolButton5 = addButton("ToolButton5", "Add", MenuImage(11));
    auto* gap = new QWidget(ToolBar);
    gap->setFixedWidth(8);
    ToolBar->addWidget(gap);
    tbNewFolder = addButton("tbNewFolder", "New Folder", QIcon());
    column->addWidget(ToolBar);

    Label2 = new QLabel(QStringLiteral("To add font(s) here, select fonts then click \"Add\" button above"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setFixedHeight(26);
    QPalette grey = Label2->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    Label2->setPalette(grey);
    column->addWidget(Label2);

    lbFav = new TFavListBox(this);
    lbFav->setObjectName(QStringLiteral("lbFav"));
    column->addWidget(lbFav, 1);

    pmFav = new QMenu(this);
    pmFav->setObjectName(QStringLiteral("pmFav"));
    Rename1 = pmFav->addAction(QStringLiteral("&Rename"));
    Rename1->setObjectName(QStringLiteral("Rename1"));
    Delete1 = pmFav->addAction(QStringLiteral("&Delete"));
    Delete1->setObjectName(QStringLiteral("Delete1"));
}

QSize TFavoritesPane::sizeHint() const
{
    return QSize(PaneWidth, QWidget::sizeHint().height());
}

void TFavoritesPane::ShowItems(const TFavorites& favorites)
{
    lbFav->setUpdatesEnabled(false);
    lbFav->clear();
    for (const TFavItem& entry : favorites.Items()) {
        auto* row = new QListWidgetItem(Q(entry.Text));
        row->setData(FavKindRole, static_cast<int>(entry.Kind));
        lbFav->addItem(row);
    }
    lbFav->setUpdatesEnabled(true);
    Label2->setVisible(lbFav->count() == 0);
}
