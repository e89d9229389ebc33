#include "app/menu_style.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "pixels.h"

namespace {

const std::string Stripe = "#2f7ee3";
const std::string Selection = "#316ac5";
const std::string SeparatorLine = "#dcdcdc";
const std::string White = "#ffffff";

QIcon Solid(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

bool IsRed(const QColor& c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

bool IsInk(const QColor& c)
{
    return c != QColor(Qt::white);
}

// A drop-down menu with the cases the look must get right, shown so that it lays out.
struct MenuFixture : ::testing::Test {
    TMenuStyle Style;
    QMenu Menu;
    QAction* Bold = nullptr;
    QAction* FindNext = nullptr;
    QAction* Separator = nullptr;
    QAction* Disabled = nullptr;
    QAction* Screen = nullptr;
    QAction* Installed = nullptr;
    QAction* Plain = nullptr;

    MenuFixture()
    {
        Bold = Menu.addAction(Solid(Qt::red), QStringLiteral("&Bold"));
        Bold->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
        Bold->setCheckable(true);
        Bold->setChecked(true);
        FindNext = Menu.addAction(QStringLiteral("Find Ne&xt"));
        FindNext->setShortcut(QKeySequence(Qt::Key_F3));
        Separator = Menu.addSeparator();
        Disabled = Menu.addAction(Solid(Qt::red), QStringLiteral("&Print"));
        Disabled->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
        Disabled->setEnabled(false);
        auto* group = new QActionGroup(&Menu);
        Screen = Menu.addAction(QStringLiteral("&Screen Fonts"));
        Installed = Menu.addAction(QStringLiteral("Insta&lled Fonts"));
        for (QAction* a : {Screen, Installed}) {
            a->setCheckable(true);
            group->addAction(a);
        }
        Installed->setChecked(true);
        Plain = Menu.addAction(Solid(Qt::red), QStringLiteral("-"));
        Style.Apply(&Menu);
    }

    void Open()
    {
        Menu.popup(QPoint(50, 50));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Menu));
    }
};

// Columns of `rect` in `shot` that hold any pixel other than white.
std::vector<int> InkColumns(const Shot& shot, const QRect& rect)
{
    std::vector<int> columns;
    for (int x = rect.left(); x <= rect.right(); ++x)
        if (shot.Count(QRect(x, rect.top(), 1, rect.height()), IsInk) > 0)
            columns.push_back(x);
    return columns;
}

}  // namespace

TEST_F(MenuFixture, ItemsHaveTheStripeTextsAndGreyShortcutEightPixelsFromTheEdge)
{
    Open();
    const QRect r = Menu.actionGeometry(FindNext);
    Shot shot(Menu);
    const int mid = r.center().y();
    // A grey frame, then the stripe.
    EXPECT_EQ(r.left(), 1);
    EXPECT_EQ(shot.Solid(0, mid), "#808080");
    EXPECT_EQ(shot.Solid(shot.Width() - 1, mid), "#808080");
    EXPECT_EQ(shot.Solid(r.center().x(), 0), "#808080");
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(shot.Solid(r.left() + x, mid), Stripe) << x;
    EXPECT_EQ(shot.Solid(r.left() + 4, mid), White);
    EXPECT_EQ(shot.Solid(r.left() + 4, r.top()), White);

    // The caption from x + 28; the shortcut's last ink at least 8 pixels from the edge.
    const int right = r.left() + r.width();
    const std::vector<int> ink = InkColumns(shot, QRect(r.left() + 4, r.top(), r.width() - 4, r.height()));
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.front(), r.left() + 28);
    EXPECT_LE(ink.front(), r.left() + 30);
    EXPECT_LE(ink.back(), right - 9);
    EXPECT_GE(ink.back(), right - 11);
    const QRect caption(r.left() + 28, r.top(), 40, r.height());
    EXPECT_GT(shot.Count(caption, IsDark), 10);
    const QRect shortcut(right - 30, r.top(), 22, r.height());
    EXPECT_GT(shot.Count(shortcut, IsInk), 5);
    EXPECT_EQ(shot.Count(shortcut, IsDark), 0);
    EXPECT_EQ(shot.Count(shortcut, [](const QColor& c) { return !IsGrey(c); }), 0);

    // The item fits stripe and icon column, caption, a gap, shortcut and the margin.
    const QFontMetrics fm(Menu.font());
    EXPECT_GE(r.width(), 28 + fm.horizontalAdvance(QStringLiteral("Find Next")) +
                             fm.horizontalAdvance(QStringLiteral("F3")) + 8 + 8);
}

TEST_F(MenuFixture, SelectionIsABlueBarWithWhiteCaptionAndGreyShortcut)
{
    Open();
    Menu.setActiveAction(FindNext);
    const QRect r = Menu.actionGeometry(FindNext);
    Shot shot(Menu);
    const int right = r.left() + r.width();
    EXPECT_EQ(shot.Solid(r.left() + 3, r.top()), Stripe);
    EXPECT_EQ(shot.Solid(r.left() + 4, r.top()), Selection);
    EXPECT_EQ(shot.Solid(right - 1, r.bottom()), Selection);
    EXPECT_EQ(shot.Solid(r.left() + 10, r.center().y()), Selection);
    const QRect caption(r.left() + 28, r.top(), 40, r.height());
    EXPECT_GT(shot.Count(caption, [](const QColor& c) { return c == Qt::white; }), 5);
    const QRect shortcut(right - 30, r.top(), 22, r.height());
    EXPECT_GT(shot.Count(shortcut, [](const QColor& c) { return IsGrey(c) && c.red() > 0x60 && c.red() < 0xA0; }), 2);
    // Other items are not selected.
    const QRect other = Menu.actionGeometry(Screen);
    EXPECT_EQ(shot.Solid(other.left() + 10, other.top()), White);
}

TEST_F(MenuFixture, SeparatorIsALightLineFourPixelsDown)
{
    Open();
    const QRect r = Menu.actionGeometry(Separator);
    EXPECT_GE(r.height(), 9);
    Shot shot(Menu);
    const int right = r.left() + r.width();
    EXPECT_EQ(shot.Solid(r.left(), r.top() + 4), Stripe);
    EXPECT_EQ(shot.Solid(r.left() + 7, r.top() + 4), White);
    EXPECT_EQ(shot.Solid(r.left() + 8, r.top() + 4), SeparatorLine);
    EXPECT_EQ(shot.Solid(right - 5, r.top() + 4), SeparatorLine);
    EXPECT_EQ(shot.Solid(right - 4, r.top() + 4), White);
    EXPECT_EQ(shot.Solid(r.center().x(), r.top() + 3), White);
    EXPECT_EQ(shot.Solid(r.center().x(), r.top() + 5), White);
    // An entry named "-" is an entry like any other, its picture and caption shown.
    const QRect dash = Menu.actionGeometry(Plain);
    EXPECT_GE(dash.height(), 16);
    EXPECT_GT(shot.Count(QRect(dash.left() + 8, dash.top(), 16, dash.height()), IsRed), 100);
    EXPECT_GT(shot.Count(QRect(dash.left() + 28, dash.top(), 10, dash.height()), IsDark), 0);
}

TEST_F(MenuFixture, CheckReplacesTheIconAndDisabledKeepsItsIconWithGreyTexts)
{
    Open();
    Shot shot(Menu);
    const auto iconArea = [](const QRect& r) { return QRect(r.left() + 8, r.top(), 16, r.height()); };

    const QRect bold = Menu.actionGeometry(Bold);
    EXPECT_EQ(shot.Count(iconArea(bold), IsRed), 0);
    EXPECT_GT(shot.Count(iconArea(bold), IsDark), 5);

    const QRect screen = Menu.actionGeometry(Screen);
    const QRect installed = Menu.actionGeometry(Installed);
    EXPECT_EQ(shot.Count(iconArea(screen), IsInk), 0);
    EXPECT_GT(shot.Count(iconArea(installed), IsDark), 5);
    // The radio dot is not the check mark.
    int differing = 0;
    for (int y = 0; y < std::min(bold.height(), installed.height()); ++y)
        for (int x = 8; x < 24; ++x)
            differing += shot.At(bold.left() + x, bold.top() + y) != shot.At(installed.left() + x, installed.top() + y);
    EXPECT_GT(differing, 5);

    Bold->setChecked(false);
    EXPECT_GT(Shot(Menu).Count(iconArea(bold), IsRed), 200);

    const QRect off = Menu.actionGeometry(Disabled);
    EXPECT_GT(shot.Count(iconArea(off), IsRed), 200);
    const QRect texts(off.left() + 28, off.top(), off.width() - 28, off.height());
    EXPECT_GT(shot.Count(texts, IsInk), 10);
    EXPECT_EQ(shot.Count(texts, IsDark), 0);
    EXPECT_EQ(shot.Count(texts, [](const QColor& c) { return !IsGrey(c); }), 0);
}

TEST_F(MenuFixture, DarkPaletteKeepsTheMenuWhiteWithDarkText)
{
    QPalette dark = Menu.palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x20, 0x20, 0x20));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xF0, 0xF0, 0xF0));
    Menu.setPalette(dark);
    Open();
    Shot shot(Menu);
    const QRect r = Menu.actionGeometry(FindNext);
    EXPECT_EQ(shot.Solid(r.left() + 5, r.top()), White);
    EXPECT_GT(shot.Count(QRect(r.left() + 28, r.top(), 40, r.height()), IsDark), 10);
    const QRect off = Menu.actionGeometry(Disabled);
    EXPECT_GT(shot.Count(QRect(off.left() + 28, off.top(), 40, off.height()),
                         [](const QColor& c) { return IsGrey(c) && c.red() >= 0x80 && c.red() < 0xC0; }),
              2);
}

TEST(MenuBarStyle, BarItemsAndTheRestOfTheBarUseTheFaceAndTheSelectionIsBlue)
{
    QMainWindow window;
    QMenuBar* bar = window.menuBar();
    bar->setNativeMenuBar(false);
    QPalette face = bar->palette();
    face.setColor(QPalette::Window, QColor(0xE0, 0xDF, 0xE3));
    face.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(face);
    QMenu* font = bar->addMenu(QStringLiteral("&Font"));
    font->addAction(QStringLiteral("E&xit"));
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About..."));
    TMenuStyle style;
    style.Apply(bar);
    EXPECT_EQ(font->style(), &style);
    EXPECT_EQ(help->style(), &style);
    // A submenu added later takes the look too.
    QMenu* group = font->addMenu(QStringLiteral("Group"));
    EXPECT_EQ(group->style(), &style);

    window.resize(400, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect first = bar->actionGeometry(font->menuAction());
    const QRect last = bar->actionGeometry(help->menuAction());

    Shot plain(*bar);
    EXPECT_EQ(plain.Solid(first.left(), first.top()), "#e0dfe3");
    EXPECT_GT(plain.Count(first, IsDark), 5);
    EXPECT_EQ(plain.Solid(last.right() + 5, last.center().y()), "#e0dfe3");
    EXPECT_EQ(plain.Solid(plain.Width() - 1, last.center().y()), "#e0dfe3");

    // The pointer over an item makes it the bar's current item.
    QMouseEvent move(QEvent::MouseMove, QPointF(first.center()), bar->mapToGlobal(QPointF(first.center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    Shot hot(*bar);
    EXPECT_EQ(hot.Solid(first.left(), first.top()), "#1466cc");
    EXPECT_EQ(hot.Solid(first.right(), first.bottom()), "#1466cc");
    EXPECT_GT(hot.Count(first, [](const QColor& c) { return c == Qt::white; }), 5);
    EXPECT_EQ(hot.Solid(last.left(), last.top()), "#e0dfe3");
}

TEST(MenuImages, FifteenImagesAtSixteenAndThirtyTwoPixels)
{
    for (int i = 0; i < MenuImageCount; ++i) {
        const QIcon icon = MenuImage(i);
        ASSERT_FALSE(icon.isNull()) << i;
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16))) << i;
        EXPECT_TRUE(sizes.contains(QSize(32, 32))) << i;
        // The large picture is drawn for its size, not the small one blown up.
        const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage().scaled(32, 32);
        const QImage large = icon.pixmap(QSize(32, 32), 1.0).toImage();
        EXPECT_NE(small.convertToFormat(QImage::Format_ARGB32), large.convertToFormat(QImage::Format_ARGB32)) << i;
    }
    EXPECT_TRUE(MenuImage(MenuImageCount).isNull());
    EXPECT_TRUE(MenuImage(-1).isNull());
}

TEST(MenuMnemonic, OnlyTheMarkedLetterIsUnderlined)
{
    TMenuStyle style;
    QMenu menu;
    QAction* marked = menu.addAction(QStringLiteral("Find Ne&xt"));
    QAction* plain = menu.addAction(QStringLiteral("Find Next"));
    style.Apply(&menu);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    if (!style.styleHint(QStyle::SH_UnderlineShortcut, nullptr, &menu))
        GTEST_SKIP() << "the desktop hides mnemonics until Alt is pressed";
    Shot shot(menu);
    const QRect a = menu.actionGeometry(marked);
    const QRect b = menu.actionGeometry(plain);
    const QFontMetrics fm(menu.font());
    const int xFrom = a.left() + 28 + fm.horizontalAdvance(QStringLiteral("Find Ne"));
    const int xTo = xFrom + fm.horizontalAdvance(QLatin1Char('x'));
    // A dark run under the x, below the middle of the line, that the unmarked caption
    // does not have there.
    bool found = false;
    for (int y = a.height() / 2 + 1; y < a.height() && !found; ++y) {
        int run = 0;
        for (int x = xFrom - 2; x <= xTo + 2; ++x) {
            const bool under = IsDark(shot.At(x, a.top() + y)) && !IsDark(shot.At(x, b.top() + y));
            run = under ? run + 1 : 0;
            found = found || run >= std::max(3, xTo - xFrom - 2);
        }
    }
    EXPECT_TRUE(found);
}
