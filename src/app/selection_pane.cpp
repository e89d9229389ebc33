#include "app/selection_pane.h"

#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <algorithm>

#include "app/resources.h"
#include "app/selected_model.h"

namespace {

constexpr int CloseSize = 16;

// One entry of the pane's list: the font picture at (2, 1) and the name 20 pixels in,
// vertically centred; selected entries in the highlight colours.
class TSelectedDelegate : public QStyledItemDelegate {
public:
    TSelectedDelegate(QObject* parent, const QPixmap& picture)
        : QStyledItemDelegate(parent), FPicture(picture)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& colors = option.palette;
        painter->fillRect(r, selected ? colors.color(QPalette::Highlight) : colors.color(QPalette::Base));
        painter->drawPixmap(r.left() + 2, r.top() + 1, FPicture);
        painter->setFont(option.font);
        painter->setPen(selected ? colors.color(QPalette::HighlightedText) : colors.color(QPalette::Text));
        const QFontMetrics metrics(option.font);
        const int v = std::max(0, (r.height() - metrics.height()) / 2);
        const QRect text(r.left() + 20, r.top() + v, r.width() - 20, metrics.height());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          metrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
        if (option.state.testFlag(QStyle::State_HasFocus)) {
            QPen dotted(colors.color(QPalette::Text), 1, Qt::DotLine);
            painter->setPen(dotted);
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), EntryHeightFor(option.font));
    }

    static int EntryHeightFor(const QFont& font)
    {
        return std::max(TSelectionPane::EntryHeight, QFontMetrics(font).height() + 2);
    }

private:
    QPixmap FPicture;
};

// The small cross of the close button, drawn in the text colour.
QIcon CloseGlyph(const QColor& color)
{
    QPixmap glyph(8, 8);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(QPen(color, 1.5));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(QPointF(1, 1), QPointF(7, 7));
    painter.drawLine(QPointF(7, 1), QPointF(1, 7));
    return QIcon(glyph);
}

}  // namespace

TPaneTitle::TPaneTitle(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaneTitle::SetCaption(const QString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    update();
}

QSize TPaneTitle::sizeHint() const
{
    return QSize(TSelectionPane::PaneWidth,
                 std::max(TSelectionPane::TitleHeight, fontMetrics().height() + 5));
}

void TPaneTitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(0, 0, width(), height() - 3),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FCaption);
    static constexpr int greys[3] = {229, 206, 174};
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QColor(greys[i], greys[i], greys[i]));
        painter.drawLine(0, height() - 3 + i, width() - 1, height() - 3 + i);
    }
}

TSelectionPane::TSelectionPane(QWidget* parent) : QWidget(parent)
{
    LoadResources();
    setObjectName(QStringLiteral("pSelected"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    pSelTitle = new TPaneTitle(this);
    pSelTitle->setObjectName(QStringLiteral("pSelTitle"));
    pSelTitle->SetCaption(QStringLiteral("  Selected Items"));

    sbSelPaneClose = new QToolButton(pSelTitle);
    sbSelPaneClose->setObjectName(QStringLiteral("sbSelPaneClose"));
    sbSelPaneClose->setAutoRaise(true);
    sbSelPaneClose->setFixedSize(CloseSize, CloseSize);
    sbSelPaneClose->setIconSize(QSize(8, 8));
    sbSelPaneClose->setIcon(CloseGlyph(palette().color(QPalette::ButtonText)));
    sbSelPaneClose->setToolTip(QStringLiteral("Close"));
    connect(sbSelPaneClose, &QToolButton::clicked, this, [this] {
        if (OnClose)
            OnClose();
    });

    Label1 = new QLabel(QStringLiteral("To select font, Ctrl+Mouse Left Button Click or use spacebar"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Grey text: half way between the text and its background.
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor paper = palette().color(QPalette::Base);
    const QColor half((ink.red() + paper.red()) / 2, (ink.green() + paper.green()) / 2,
                      (ink.blue() + paper.blue()) / 2);
    QPalette grey = Label1->palette();
    // On the pane's Base background a label writes in the Text colour.
    grey.setColor(QPalette::WindowText, half);
    grey.setColor(QPalette::Text, half);
    Label1->setPalette(grey);

    FModel = new TSelectedModel(this);
    lbSelected = new QListView(this);
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    lbSelected->setModel(FModel);
    lbSelected->setFrameShape(QFrame::NoFrame);
    // Equal rows: a list of thousands of entries is laid out without measuring each.
    lbSelected->setUniformItemSizes(true);
    lbSelected->setSelectionMode(QAbstractItemView::SingleSelection);
    lbSelected->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbSelected->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbSelected->setItemDelegate(
        new TSelectedDelegate(lbSelected, QPixmap(QStringLiteral(":/font.png"))));
    // The list offers no menu of its own, and the window's menu must not appear either.
    lbSelected->setContextMenuPolicy(Qt::PreventContextMenu);
    lbSelected->viewport()->installEventFilter(this);
    connect(lbSelected, &QListView::clicked, this, [this] {
        if (OnEntryClick)
            OnEntryClick();
    });
    connect(lbSelected->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!FQuiet && OnEntryClick)
            OnEntryClick();
    });
    connect(FModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { FQuiet = true; });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { FQuiet = false; });

    resize(PaneWidth, 300);
    Arrange();
}

int TSelectionPane::SelectedEntryIndex() const
{
    const QModelIndexList chosen = lbSelected->selectionModel()->selectedIndexes();
    if (chosen.isEmpty())
        return -1;
    return chosen.first().data(TSelectedModel::IndexRole).toInt();
}

void TSelectionPane::SetHintShown(bool value)
{
    if (value == !Label1->isHidden())
        return;
    Label1->setVisible(value);
    Arrange();
}

int TSelectionPane::EntryHeightNow() const
{
    return TSelectedDelegate::EntryHeightFor(lbSelected->font());
}

bool TSelectionPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbSelected->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            // Selects the entry under the pointer; the preview stays where it is.
            const QModelIndex entry = lbSelected->indexAt(mouse->position().toPoint());
            if (entry.isValid()) {
                FQuiet = true;
                lbSelected->selectionModel()->setCurrentIndex(entry,
                                                              QItemSelectionModel::ClearAndSelect);
                FQuiet = false;
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSelectionPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TSelectionPane::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Arrange();
}

void TSelectionPane::Arrange()
{
    const int titleHeight = pSelTitle->sizeHint().height();
    pSelTitle->setGeometry(0, 0, width(), titleHeight);
    // Anchored to the title's top right: at (148, 1) in a pane 169 wide.
    sbSelPaneClose->move(width() - (PaneWidth - 148), 1);
    int top = titleHeight;
    if (!Label1->isHidden()) {
        const int hintHeight = std::max(HintHeight, Label1->heightForWidth(width()));
        Label1->setGeometry(0, top, width(), hintHeight);
        top += hintHeight;
    }
    lbSelected->setGeometry(0, top, width(), std::max(0, height() - top));
}
