#pragma once

#include <QColor>
#include <QIcon>
#include <QProxyStyle>

class QMenu;
class QMenuBar;
class QStyleOptionMenuItem;

// Fixed colours of the main window's menus.
namespace MenuColors {
inline const QColor Stripe{0x2F, 0x7E, 0xE3};
inline const QColor Selection{0x31, 0x6A, 0xC5};
inline const QColor Separator{0xDC, 0xDC, 0xDC};
inline const QColor BarSelection{0x14, 0x66, 0xCC};
// Disabled and shortcut texts on the white menu, whatever the palette says.
inline const QColor GreyText{0x80, 0x80, 0x80};
}  // namespace MenuColors

// The picture of a favourites group's entry; the check mark and the radio dot.
constexpr int MenuImageFavoritesGroup = 9;
constexpr int MenuImageCheck = 13;
constexpr int MenuImageRadio = 14;
constexpr int MenuImageCount = 15;

// Menu image `index` (0 to 14) at 16 and 32 pixels; a null icon for other indexes.
QIcon MenuImage(int index);

// Draws one item of a drop-down menu: white, a blue stripe at the left, the icon (or the
// check mark that replaces it), the caption and the grey shortcut at the right, a blue bar
// when selected, a thin light line for a separator.
void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter, const QStyle& style,
                  const QWidget* widget);
// Draws one item of the menu bar: the window's face, blue with white text when selected.
void MainMenuDrawItem(const QStyleOptionMenuItem& item, QPainter& painter, const QStyle& style,
                      const QWidget* widget);

// The flat look of the main window's menu bar and its drop-down menus, over the desktop's
// style; set on those menus only, so pop-up menus keep the desktop's look.
class TMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit TMenuStyle(QStyle* base = nullptr);

    // Gives the bar and every menu on it (and their submenus) this style.
    void Apply(QMenuBar* bar);
    void Apply(QMenu* menu);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    // Width an item needs beside its texts: the stripe and icon column at the left, the
    // gap between caption and shortcut, the margin at the right.
    static constexpr int TextLeft = 28;
    static constexpr int TextGap = 16;
    static constexpr int RightMargin = 8;
    static constexpr int SeparatorHeight = 9;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
