#include "app/menu_style.h"

#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <array>

#include "app/resources.h"

namespace {

int MnemonicFlags(const QStyle& style, const QStyleOption& option, const QWidget* widget)
{
    return style.styleHint(QStyle::SH_UnderlineShortcut, &option, widget) ? Qt::TextShowMnemonic
                                                                          : Qt::TextHideMnemonic;
}

}  // namespace

QIcon MenuImage(int index)
{
    if (index < 0 || index >= MenuImageCount)
        return {};
    static std::array<QIcon, MenuImageCount> images;
    QIcon& image = images[static_cast<std::size_t>(index)];
    if (image.isNull()) {
        LoadResources();
        for (int size : {16, 32})
            image.addFile(QStringLiteral(":/menu/%1-%2.png").arg(index, 2, 10, QLatin1Char('0')).arg(size),
                          QSize(size, size));
    }
    return image;
}

void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& p, const QStyle& style,
                  const QWidget* widget)
{
    const QRect r = item.rect;
    const int left = r.x();
    const int top = r.y();
    const int right = r.x() + r.width();  // one past the last column
    const int h = r.height();
    const bool selected = item.state & QStyle::State_Selected;
    const bool enabled = item.state & QStyle::State_Enabled;

    p.save();
    p.fillRect(r, Qt::white);
    p.fillRect(QRect(left, top, 4, h), MenuColors::Stripe);
    if (selected)
        p.fillRect(QRect(left + 4, top, r.width() - 4, h), MenuColors::Selection);
    const QColor text = selected ? QColor(Qt::white) : QColor(Qt::black);

    // A check mark takes the place of the item's own picture; a disabled item keeps its
    // picture unchanged.
    const QRect icon(left + 8, top + (h - 16) / 2, 16, 16);
    if (item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        const bool radio = item.checkType == QStyleOptionMenuItem::Exclusive;
        MenuImage(radio ? MenuImageRadio : MenuImageCheck).paint(&p, icon.translated(0, 1));
    } else if (!item.icon.isNull()) {
        item.icon.paint(&p, icon, Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    }

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        p.fillRect(QRect(left + 8, top + 4, right - 4 - (left + 8), 1), MenuColors::Separator);
        p.restore();
        return;
    }

    const int textLeft = left + TMenuStyle::TextLeft;
    const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    const QString caption = tab < 0 ? item.text : item.text.left(tab);
    const QString shortcut = tab < 0 ? QString() : item.text.mid(tab + 1);
    p.setFont(item.font);
    p.setPen(enabled ? text : MenuColors::GreyText);
    p.drawText(QRect(textLeft, top, right - textLeft, h),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | MnemonicFlags(style, item, widget),
               caption);
    const int textRight = right - TMenuStyle::RightMargin;
    if (!shortcut.isEmpty()) {
        p.setPen(MenuColors::GreyText);
        p.drawText(QRect(textLeft, top, textRight - textLeft, h),
                   Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, shortcut);
    }
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        const qreal cy = top + h / 2.0;
        QPainterPath arrow;
        arrow.moveTo(textRight - 4, cy - 4);
        arrow.lineTo(textRight, cy);
        arrow.lineTo(textRight - 4, cy + 4);
        arrow.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(arrow, enabled ? text : MenuColors::GreyText);
    }
    p.restore();
}

void MainMenuDrawItem(const QStyleOptionMenuItem& item, QPainter& p, const QStyle& style,
                      const QWidget* widget)
{
    const QRect r = item.rect;
    const bool selected = (item.state & QStyle::State_Selected) != 0;
    p.save();
    p.fillRect(r, item.palette.color(QPalette::Window));
    QColor text = item.palette.color(QPalette::WindowText);
    if (selected) {
        p.fillRect(r, MenuColors::BarSelection);
        text = Qt::white;
    } else if (!(item.state & QStyle::State_Enabled)) {
        text = item.palette.color(QPalette::Disabled, QPalette::WindowText);
    }
    p.setFont(item.font);
    p.setPen(text);
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | MnemonicFlags(style, item, widget), item.text);
    p.restore();
}

TMenuStyle::TMenuStyle(QStyle* base)
    : QProxyStyle(base ? base : QStyleFactory::create(QApplication::style()->name()))
{
}

void TMenuStyle::Apply(QMenuBar* bar)
{
    bar->setStyle(this);
    for (QAction* action : bar->actions())
        if (auto* menu = action->menu<QMenu*>())
            Apply(menu);
}

void TMenuStyle::Apply(QMenu* menu)
{
    if (menu->style() == this)
        return;
    menu->setStyle(this);
    // Separators are shown as placed, also at the end of the favourites.
    menu->setSeparatorsCollapsible(false);
    menu->installEventFilter(this);
    for (QAction* action : menu->actions())
        if (auto* sub = action->menu<QMenu*>())
            Apply(sub);
}

bool TMenuStyle::eventFilter(QObject* watched, QEvent* event)
{
    // Submenus added later take the look of their menu.
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged) {
        QAction* action = static_cast<QActionEvent*>(event)->action();
        if (auto* sub = action ? action->menu<QMenu*>() : nullptr)
            Apply(sub);
    }
    return QProxyStyle::eventFilter(watched, event);
}

void TMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    switch (element) {
    case CE_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            DrawMenuItem(*item, *painter, *this, widget);
            return;
        }
        break;
    case CE_MenuBarItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            MainMenuDrawItem(*item, *painter, *this, widget);
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, option->palette.color(QPalette::Window));
        return;
    case CE_MenuEmptyArea:
    case CE_MenuHMargin:
    case CE_MenuVMargin:
        painter->fillRect(option->rect, Qt::white);
        return;
    default: break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case PE_PanelMenuBar:
        painter->fillRect(option->rect, option->palette.color(QPalette::Window));
        return;
    case PE_PanelMenu:
        painter->fillRect(option->rect, Qt::white);
        return;
    case PE_FrameMenu: {
        const QRect r = option->rect;
        const QColor line = MenuColors::GreyText;
        painter->fillRect(QRect(r.x(), r.y(), r.width(), 1), line);
        painter->fillRect(QRect(r.x(), r.bottom(), r.width(), 1), line);
        painter->fillRect(QRect(r.x(), r.y(), 1, r.height()), line);
        painter->fillRect(QRect(r.right(), r.y(), 1, r.height()), line);
        return;
    }
    default: break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize TMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return result;
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        result.setHeight(std::max(result.height(), SeparatorHeight));
        return result;
    }
    // The menu adds the widest shortcut to this width.
    const bool shortcut = item->text.contains(QLatin1Char('\t')) || item->reservedShortcutWidth > 0;
    result.setWidth(std::max(result.width(),
                             TextLeft + size.width() + (shortcut ? TextGap : 0) + RightMargin));
    result.setHeight(std::max(result.height(), 18));
    return result;
}

int TMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    // A 1-pixel grey frame, so that the white menu stands out on a white window.
    if (metric == PM_MenuPanelWidth)
        return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
