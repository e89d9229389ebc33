#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>
#include <QVBoxLayout>

#include <optional>

#include "controls/btn_status_bar.h"

namespace {

// Colours picked so that every part of the bar can be told apart in its pixels.
const QColor Face(236, 233, 216);
const QColor Light(255, 255, 255);
const QColor Dark(172, 168, 153);
const QColor Ink(0, 0, 0);

bool IsBlue(QRgb p) { return qBlue(p) > 150 && qRed(p) < 120 && qGreen(p) < 120; }
bool IsRed(QRgb p) { return qRed(p) > 150 && qGreen(p) < 120 && qBlue(p) < 120; }
bool IsInk(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }

// The bar's pixels at any scale, read in the bar's own (logical) coordinates.
struct TShot {
    QImage Image;
    int Scale = 1;

    // The colour of logical pixel (x, y): its top-left device pixel.
    QColor At(int x, int y) const { return QColor(Image.pixel(x * Scale, y * Scale)); }
    QImage Part(const QRect& r) const
    {
        return Image.copy(QRect(r.topLeft() * Scale, r.size() * Scale));
    }
    // The smallest rectangle inside `area` holding every pixel that passes `test`.
    std::optional<QRect> Extent(const QRect& area, bool (*test)(QRgb)) const
    {
        std::optional<QRect> box;
        const QRect device(area.topLeft() * Scale, area.size() * Scale);
        for (int y = device.top(); y <= device.bottom(); ++y)
            for (int x = device.left(); x <= device.right(); ++x)
                if (test(Image.pixel(x, y))) {
                    const QRect one(x / Scale, y / Scale, 1, 1);
                    box = box ? box->united(one) : one;
                }
        return box;
    }
    bool operator==(const TShot& other) const { return Image == other.Image; }
};

// A bar in a window of its own, 300 pixels wide, with the colours above and a fixed face.
class StatusBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        QPalette colors = Window.palette();
        colors.setColor(QPalette::Button, Face);
        colors.setColor(QPalette::Light, Light);
        colors.setColor(QPalette::Dark, Dark);
        colors.setColor(QPalette::WindowText, Ink);
        Window.setPalette(colors);
        QFont face(QStringLiteral("DejaVu Sans"));
        face.setPixelSize(11);
        Window.setFont(face);
        auto* column = new QVBoxLayout(&Window);
        column->setContentsMargins(0, 0, 0, 0);
        column->addStretch(1);
        Bar = new TBtnStatusBar(&Window);
        column->addWidget(Bar);
        Window.resize(300, 120);
        Window.show();
        Bar->OnClick = [this](TBtnStatusBar*, int index) { Clicks.push_back(index); };
    }

    TShot Pixels() const
    {
        const QPixmap pixmap = Bar->grab();
        return {pixmap.toImage().convertToFormat(QImage::Format_RGB32),
                static_cast<int>(pixmap.devicePixelRatio())};
    }
    QPoint Global(const QPoint& local) const { return Bar->mapToGlobal(local); }
    void Send(QEvent::Type type, const QPoint& local, Qt::MouseButton button,
              Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(local), QPointF(Global(local)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(Bar, &event);
    }
    void Move(const QPoint& at, Qt::MouseButtons buttons = Qt::NoButton)
    {
        Send(QEvent::MouseMove, at, Qt::NoButton, buttons);
    }
    void Press(const QPoint& at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void Release(const QPoint& at) { Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }

    QWidget Window;
    TBtnStatusBar* Bar = nullptr;
    std::vector<int> Clicks;
};

TEST_F(StatusBar, DrawsShadedTopLinesItemsDividersAndTheGrip)
{
    Bar->SetItems({"Font Count=120", "Selected=2 Fonts"});
    ASSERT_EQ(Bar->width(), 300);
    const int h = Bar->height();
    EXPECT_EQ(h, 19);
    const TShot image = Pixels();

    // The top lines: the button face less 10 %, 6 % and 3 % of each channel, truncated.
    EXPECT_EQ(image.At(40, 0), QColor(212, 209, 194));
    EXPECT_EQ(image.At(290, 1), QColor(221, 219, 203));
    EXPECT_EQ(image.At(150, 2), QColor(228, 226, 209));

    // Items are (300 - 18) / 2 = 141 wide; item 0 ends at 139, its divider at 137 and 138.
    EXPECT_EQ(Bar->ItemRect(0), QRect(0, 3, 139, h - 3));
    EXPECT_EQ(Bar->ItemRect(1), QRect(141, 3, 141, h - 3));
    for (int y = 5; y <= h - 2; ++y) {
        EXPECT_EQ(image.At(137, y), Dark) << y;
        EXPECT_EQ(image.At(138, y), Light) << y;
        EXPECT_EQ(image.At(280, y), Dark) << y;
        EXPECT_EQ(image.At(281, y), Light) << y;
    }
    EXPECT_EQ(image.At(137, 4), Face);
    EXPECT_EQ(image.At(137, h - 1), Face);

    // The grip: shadow dots one pixel up and left of highlight dots, 3 + 2 + 1 of them.
    for (auto [x, y] : {std::pair{297, h - 1}, {293, h - 1}, {289, h - 1}, {297, h - 5},
                        {293, h - 5}, {297, h - 9}})
        EXPECT_EQ(image.At(x, y), Light) << x << "," << y;
    for (auto [x, y] : {std::pair{295, h - 3}, {296, h - 2}, {291, h - 3}, {287, h - 3},
                        {295, h - 7}, {291, h - 7}, {295, h - 11}})
        EXPECT_EQ(image.At(x, y), Dark) << x << "," << y;
    EXPECT_EQ(image.At(289, h - 5), Face);  // no fourth dot in the second row
    EXPECT_EQ(image.At(297, h - 13), Face);

    // Headings in blue from x = 5, values in the text colour 8 pixels after them.
    const QFontMetrics metrics(Bar->font());
    const int headEnd = 5 + metrics.horizontalAdvance(QStringLiteral("Font Count"));
    const auto heading = image.Extent(QRect(0, 3, 139, h - 3), IsBlue);
    const auto value = image.Extent(QRect(0, 3, 137, h - 3), IsInk);
    ASSERT_TRUE(heading && value);
    EXPECT_GE(heading->left(), 5);
    EXPECT_LE(heading->right(), headEnd);
    EXPECT_GE(value->left(), headEnd + 8);
    EXPECT_FALSE(image.Extent(QRect(0, 3, 300, h - 3), IsRed));  // nothing hot yet
    const auto heading1 = image.Extent(QRect(141, 3, 141, h - 3), IsBlue);
    ASSERT_TRUE(heading1);
    EXPECT_GE(heading1->left(), 146);
}

TEST_F(StatusBar, TheItemUnderThePointerIsHotAndOnlyItsItemIsRepainted)
{
    Bar->SetItems({"A=one", "B=two"});
    QCoreApplication::processEvents();
    std::vector<QRect> painted;
    struct TSpy : QObject {
        std::vector<QRect>* Painted;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                Painted->push_back(static_cast<QPaintEvent*>(event)->rect());
            return false;
        }
    } spy;
    spy.Painted = &painted;
    Bar->installEventFilter(&spy);

    Move({200, 10});
    QCoreApplication::processEvents();
    EXPECT_EQ(Bar->HotIndex(), 1);
    ASSERT_FALSE(painted.empty());
    for (const QRect& r : painted)
        EXPECT_TRUE(Bar->ItemRect(1).adjusted(0, 0, 2, 0).contains(r)) << r.x() << "," << r.width();

    const TShot hot = Pixels();
    const int h = Bar->height();
    EXPECT_TRUE(hot.Extent(QRect(141, 3, 140, h - 3), IsRed));
    EXPECT_FALSE(hot.Extent(QRect(0, 3, 139, h - 3), IsRed));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Bar, &leave);
    EXPECT_EQ(Bar->HotIndex(), -1);
    EXPECT_FALSE(Pixels().Extent(Bar->rect(), IsRed));
    Bar->removeEventFilter(&spy);
}

TEST_F(StatusBar, APressedItemShiftsAndAClickNeedsPressAndReleaseOnOneItem)
{
    Bar->SetHotColor(Ink);  // so that the pressed value can be compared with the plain one
    Bar->SetItems({"A=value", "B=other"});
    const int h = Bar->height();
    const TShot plain = Pixels();
    const auto before = plain.Extent(QRect(0, 3, 137, h - 3), IsInk);
    ASSERT_TRUE(before);

    Press({60, 10});
    EXPECT_EQ(Bar->PressedIndex(), 0);
    const TShot pressed = Pixels();
    const auto after = pressed.Extent(QRect(0, 3, 137, h - 3), IsInk);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->topLeft(), before->topLeft() + QPoint(1, 1));
    EXPECT_EQ(pressed.At(138, 10), Dark);  // the divider moved along
    EXPECT_EQ(pressed.At(139, 10), Light);

    // Released over the other item: no click, both drawn unpressed.
    Move({200, 10}, Qt::LeftButton);
    Release({200, 10});
    EXPECT_TRUE(Clicks.empty());
    EXPECT_EQ(Bar->PressedIndex(), -1);
    Bar->SetHotColor(QColor(255, 0, 0));
    Move({250, 40});  // below the bar: nothing hot
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Bar, &leave);
    EXPECT_EQ(Pixels(), plain);

    Press({200, 10});
    Release({210, 12});
    EXPECT_EQ(Clicks, std::vector<int>{1});
    Press({10, 1});  // above the items
    Release({10, 1});
    EXPECT_EQ(Clicks, std::vector<int>{1});
}

TEST_F(StatusBar, NoItemsDrawNoGripAndWithoutTheGripItemsTakeTheFullWidth)
{
    const int h = Bar->height();
    const TShot empty = Pixels();
    for (int y = 3; y < h; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(empty.At(x, y), Face) << x << "," << y;
    EXPECT_EQ(Bar->ItemAt({10, 10}), -1);

    Bar->SetItems({"Only"});  // no "=": all heading, no value
    EXPECT_EQ(TBtnStatusBar::Heading("Only"), "Only");
    EXPECT_EQ(TBtnStatusBar::Value("Only"), "");
    EXPECT_EQ(TBtnStatusBar::Value("Selected=2 Fonts (1=2)"), "2 Fonts (1=2)");

    Bar->SetItems({"A=1", "B=2"});
    Bar->SetSizeGrip(false);
    EXPECT_EQ(Bar->ItemRect(0), QRect(0, 3, 148, h - 3));
    EXPECT_EQ(Bar->ItemRect(1), QRect(150, 3, 150, h - 3));
    EXPECT_EQ(Bar->ItemAt({295, 10}), 1);  // the grip's zone is part of the last item
    const TShot noGrip = Pixels();
    EXPECT_EQ(noGrip.At(297, h - 1), Face);
    EXPECT_EQ(noGrip.At(295, h - 3), Face);
    EXPECT_EQ(noGrip.At(298, 10), Dark);  // the last divider two pixels in
    EXPECT_EQ(noGrip.At(299, 10), Light);
    // Pressing there is a click on the last item, not a resize.
    const QSize size = Window.size();
    Press({295, 10});
    Move({335, 40}, Qt::LeftButton);
    Release({295, 10});
    EXPECT_EQ(Window.size(), size);
    EXPECT_EQ(Clicks, std::vector<int>{1});
}

TEST_F(StatusBar, ItemsSharingAHeadingShowTheirOwnValues)
{
    Bar->SetSizeGrip(false);
    Bar->SetItems({"Size=111", "Size=222"});
    const TShot own = Pixels();
    Bar->SetItems({"Size=111", "Size=111"});
    const TShot same = Pixels();
    const QRect second = Bar->ItemRect(1);
    EXPECT_NE(own.Part(second), same.Part(second));
    EXPECT_EQ(own.Part(Bar->ItemRect(0)), same.Part(Bar->ItemRect(0)));
}

TEST_F(StatusBar, ALongValueStopsBeforeTheDivider)
{
    Bar->SetItems({"A=" + std::string(200, 'W'), "B=x"});
    const TShot image = Pixels();
    const auto value = image.Extent(QRect(0, 3, 141, Bar->height() - 3), IsInk);
    ASSERT_TRUE(value);
    EXPECT_LT(value->right(), 137);
}

TEST_F(StatusBar, DraggingTheGripResizesTheWindowAndShowsTheSizingCursor)
{
    Bar->SetItems({"A=1"});
    const QPoint grip(Bar->width() - 5, 10);
    Move(grip);
    EXPECT_EQ(Bar->cursor().shape(), Qt::SizeFDiagCursor);
    Move({50, 10});
    EXPECT_EQ(Bar->cursor().shape(), Qt::ArrowCursor);

    const QSize before = Window.size();
    const QPoint start = Global(grip);
    Press(grip);
    // The bar moves with the window's bottom edge, so positions are given on the screen.
    const QPoint target = start + QPoint(40, 30);
    Move(Bar->mapFromGlobal(target), Qt::LeftButton);
    Release(Bar->mapFromGlobal(target));
    EXPECT_EQ(Window.size(), before + QSize(40, 30));
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(StatusBar, AMaximisedWindowHasNoGrip)
{
    Bar->SetItems({"A=1", "B=2"});
    Window.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Window.isMaximized());
    EXPECT_FALSE(Bar->GripShown());
    const int w = Bar->width();
    EXPECT_EQ(Bar->ItemRect(1).right(), w - 1);
    const TShot image = Pixels();
    EXPECT_EQ(image.At(w - 3, Bar->height() - 1), Face);
    Window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Bar->GripShown());
}

TEST_F(StatusBar, ALargeFontMakesTheBarTaller)
{
    QFont large = Bar->font();
    large.setPixelSize(30);
    Bar->setFont(large);
    EXPECT_EQ(Bar->height(), QFontMetrics(large).height() + 6);
    EXPECT_GT(Bar->height(), 19);
}

}  // namespace
