#include "controls/xp_controls.h"
#include "controls/xp_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include "pixels.h"

namespace {

const QColor Parent(0xD4, 0xD0, 0xC8);  // the dialog around the controls
const QColor White(0xFF, 0xFF, 0xFF);
const std::string Frame = "#003b73";
const std::string FrameGrey = "#c9c7ba";
const std::string BevelDark = "#e0d9cf";
const std::string BevelLight = "#ece9e0";
const std::string FocusDark = "#598fd9";
const std::string FocusLight = "#73a1d3";

// A dialog-coloured window holding the control under test.
struct Dialog {
    QWidget Window;
    Dialog()
    {
        QPalette palette = Window.palette();
        palette.setColor(QPalette::Window, Parent);
        palette.setColor(QPalette::Base, White);
        Window.setPalette(palette);
        Window.setAutoFillBackground(true);
        Window.resize(300, 200);
    }
    // The control with one pixel of the window around it.
    Shot Around(QWidget& control) { return Shot(Window, control.geometry().adjusted(-1, -1, 1, 1)); }
    bool Activate()
    {
        Window.show();
        QApplication::setActiveWindow(&Window);
        return QTest::qWaitForWindowActive(&Window);
    }
};

}  // namespace

// ---- push button ----

TEST(XPButton, PaintsFrameBevelAndCaptionOfEveryState)
{
    Dialog dialog;
    TXPButton button(QStringLiteral("OK"), &dialog.Window);
    button.setGeometry(10, 10, 75, 23);
    const int w = 75;
    const int h = 23;
    const QRect caption(20, 4, 35, 15);

    Shot normal(button);
    EXPECT_EQ(normal.Solid(0, 0), Name(Parent));
    EXPECT_EQ(normal.Solid(1, 0), Name(Parent));
    EXPECT_EQ(normal.Solid(0, 1), Name(Parent));
    EXPECT_EQ(normal.Solid(2, 0), Frame);
    EXPECT_EQ(normal.Solid(1, 1), Frame);
    EXPECT_EQ(normal.Solid(0, 2), Frame);
    EXPECT_EQ(normal.Solid(w - 1, h - 1), Name(Parent));
    EXPECT_EQ(normal.Solid(w - 2, h - 2), Frame);
    EXPECT_EQ(normal.Solid(w / 2, h - 1), Frame);
    EXPECT_EQ(normal.Solid(3, 3), Name(White));
    // Bottom and right bevel: the light line one pixel inside the dark one.
    EXPECT_EQ(normal.Solid(10, h - 2), BevelDark);
    EXPECT_EQ(normal.Solid(w - 2, 10), BevelDark);
    EXPECT_EQ(normal.Solid(10, h - 3), BevelLight);
    EXPECT_EQ(normal.Solid(1, h - 3), BevelLight);
    EXPECT_EQ(normal.Solid(w - 3, 10), BevelLight);
    EXPECT_EQ(normal.Solid(w - 3, 1), BevelLight);
    EXPECT_EQ(normal.Solid(10, 1), Name(White));
    EXPECT_GT(normal.Count(caption, IsDark), 10);

    button.setDown(true);
    Shot pressed(button);
    EXPECT_EQ(pressed.Solid(10, 1), BevelDark);
    EXPECT_EQ(pressed.Solid(1, 10), BevelDark);
    EXPECT_EQ(pressed.Solid(10, 2), BevelLight);
    EXPECT_EQ(pressed.Solid(2, 10), BevelLight);
    EXPECT_EQ(pressed.Solid(10, h - 2), "#ebebeb");
    EXPECT_EQ(pressed.Solid(w - 4, h - 4), "#ebebeb");
    EXPECT_EQ(pressed.Solid(2, 0), Frame);
    button.setDown(false);

    button.setEnabled(false);
    Shot disabled(button);
    EXPECT_EQ(disabled.Solid(2, 0), FrameGrey);
    EXPECT_EQ(disabled.Solid(1, 1), FrameGrey);
    EXPECT_EQ(disabled.Solid(0, 0), Name(Parent));
    for (QPoint bevel : {QPoint(10, h - 2), QPoint(10, h - 3), QPoint(w - 3, 10), QPoint(w - 2, 10)})
        EXPECT_EQ(disabled.Solid(bevel.x(), bevel.y()), "#f4f4f3");
    EXPECT_EQ(disabled.Count(caption, IsDark), 0);
    // The grey caption, blended into the face at its edges.
    EXPECT_GT(disabled.Count(caption,
                             [](const QColor& c) {
                                 return c.red() <= 0xDA && c.red() >= 0xC9 && c.blue() < c.red();
                             }),
              5);
}

TEST(XPButton, DefaultOrFocusedTabStopDrawsTheBlueLinesUnlessPressed)
{
    Dialog dialog;
    TXPButton button(QStringLiteral("&Print"), &dialog.Window);
    button.setGeometry(10, 10, 75, 23);
    const int h = 23;

    button.setDefault(true);
    Shot byDefault(button);
    EXPECT_EQ(byDefault.Solid(2, h - 2), FocusDark);
    EXPECT_EQ(byDefault.Solid(72, h - 2), FocusDark);
    EXPECT_EQ(byDefault.Solid(73, h - 2), Frame);  // the line stops short of W - 2
    EXPECT_EQ(byDefault.Solid(1, h - 3), FocusLight);
    EXPECT_EQ(byDefault.Solid(73, h - 3), FocusLight);
    EXPECT_EQ(byDefault.Solid(73, 10), BevelDark);

    button.setDown(true);
    Shot pressed(button);
    EXPECT_EQ(pressed.Solid(10, h - 2), "#ebebeb");
    button.setDown(false);

    button.setFocusPolicy(Qt::ClickFocus);
    EXPECT_EQ(Shot(button).Solid(10, h - 2), BevelDark);

    button.setDefault(false);
    button.setFocusPolicy(Qt::StrongFocus);
    EXPECT_EQ(Shot(button).Solid(10, h - 2), BevelDark);
    ASSERT_TRUE(dialog.Activate());
    button.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button.hasFocus());
    EXPECT_EQ(Shot(button).Solid(10, h - 2), FocusDark);
}

TEST(XPButton, CaptionStaysDarkOnTheWhiteFaceUnderADarkPalette)
{
    Dialog dialog;
    QPalette dark = dialog.Window.palette();
    for (auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
        dark.setColor(role, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dialog.Window.setPalette(dark);
    TXPButton button(QStringLiteral("Cancel"), &dialog.Window);
    button.setGeometry(10, 10, 75, 23);
    Shot shot(button);
    EXPECT_EQ(shot.Solid(3, 3), Name(White));
    EXPECT_EQ(shot.Solid(0, 0), "#303030");
    EXPECT_GT(shot.Count(QRect(10, 4, 55, 15), IsDark), 10);
}

// ---- check box and radio button ----

namespace {

// First row (from the top) of column x whose colour differs from the window around it.
int FirstInkRow(const Shot& shot, int x)
{
    for (int y = 0; y < shot.Height(); ++y)
        if (shot.At(x, y) != Parent)
            return y;
    return -1;
}

}  // namespace

TEST(XPCheckBox, GlyphIsCentredByIntegerHalvingAndCaptionStartsAt17)
{
    Dialog dialog;
    TXPCheckBox tall(QStringLiteral("&Tall"), &dialog.Window);
    EXPECT_EQ(tall.size(), QSize(121, 17));
    tall.move(10, 10);
    TXPCheckBox low(QStringLiteral("Low"), &dialog.Window);
    low.setGeometry(10, 40, 121, 12);
    low.setChecked(true);

    Shot a(dialog.Window, tall.geometry());
    EXPECT_EQ(FirstInkRow(a, 0), 2);
    EXPECT_EQ(FirstInkRow(a, 12), 2);
    EXPECT_NE(a.At(0, 14), Parent);
    EXPECT_EQ(a.At(0, 15), Parent);
    EXPECT_EQ(a.Count(QRect(13, 0, 3, 17), [](const QColor& c) { return c != Parent; }), 0);
    EXPECT_GT(a.Count(QRect(17, 0, 40, 17), IsDark), 5);

    Shot b(dialog.Window, low.geometry());
    EXPECT_EQ(FirstInkRow(b, 0), 0);
    EXPECT_NE(b.At(0, 11), Parent);
    // Checked and unchecked glyphs differ inside the box.
    EXPECT_NE(b.Count(QRect(2, 2, 9, 9), [](const QColor& c) { return c.green() > c.red() + 40; }), 0);
    EXPECT_EQ(a.Count(QRect(2, 4, 9, 9), [](const QColor& c) { return c.green() > c.red() + 40; }), 0);
}

TEST(XPCheckBox, CaptionIsFocusedColourWithFocusAndGreyWhenDisabled)
{
    Dialog dialog;
    TXPCheckBox box(QStringLiteral("Shadow"), &dialog.Window);
    box.move(10, 10);
    TXPRadioButton radio(QStringLiteral("Shadow"), &dialog.Window);
    radio.move(10, 40);
    const QRect text(17, 0, 60, 17);
    const auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; };
    const auto red = [](const QColor& c) { return c.red() > 200 && c.blue() < 80 && c.green() < 80; };

    ASSERT_TRUE(dialog.Activate());
    box.setFocus(Qt::TabFocusReason);
    EXPECT_GT(Shot(dialog.Window, box.geometry()).Count(text, blue), 5);
    box.SetFocusedColor(Qt::red);
    EXPECT_GT(Shot(dialog.Window, box.geometry()).Count(text, red), 5);
    EXPECT_EQ(Shot(dialog.Window, box.geometry()).Count(text, blue), 0);

    radio.setFocus(Qt::TabFocusReason);
    EXPECT_GT(Shot(dialog.Window, radio.geometry()).Count(text, blue), 5);
    EXPECT_EQ(Shot(dialog.Window, box.geometry()).Count(text, red), 0);
    EXPECT_GT(Shot(dialog.Window, box.geometry()).Count(text, IsDark), 5);

    for (QAbstractButton* button : {static_cast<QAbstractButton*>(&box), static_cast<QAbstractButton*>(&radio)}) {
        button->setEnabled(false);
        Shot grey(dialog.Window, button->geometry());
        EXPECT_EQ(grey.Count(text, IsDark), 0) << button->metaObject()->className();
        EXPECT_GT(grey.Count(text, [](const QColor& c) { return IsGrey(c) && c.red() < 0xC0; }), 5)
            << button->metaObject()->className();
    }
}

// ---- group box ----

TEST(XPGroupBox, FrameIsRoundedAndBrokenByTheCaption)
{
    Dialog dialog;
    TXPGroupBox captioned(QStringLiteral("Range"), &dialog.Window);
    captioned.setGeometry(10, 10, 150, 80);
    QPalette face = captioned.palette();
    face.setColor(QPalette::Window, QColor(0xEC, 0xE9, 0xD8));
    captioned.setPalette(face);
    captioned.setAutoFillBackground(false);
    TXPGroupBox plain(&dialog.Window);
    plain.setGeometry(170, 10, 100, 80);
    plain.setPalette(face);

    const int t = captioned.fontMetrics().height();
    const int top = t / 2 - 1;
    const int gapEnd = 8 + captioned.fontMetrics().horizontalAdvance(QStringLiteral("Range")) + 6;
    const std::string line = "#808080";
    const std::string inside = "#ece9d8";

    Shot a(dialog.Window, captioned.geometry());
    EXPECT_EQ(a.Solid(0, top), Name(Parent));
    EXPECT_EQ(a.Solid(2, top), Name(Parent));
    EXPECT_EQ(a.Solid(3, top), line);
    EXPECT_EQ(a.Solid(7, top), line);
    EXPECT_EQ(a.Solid(8, top), inside);
    EXPECT_EQ(a.Solid(gapEnd - 1, top), inside);
    EXPECT_EQ(a.Solid(gapEnd, top), line);
    EXPECT_EQ(a.Solid(1, top + 1), line);
    EXPECT_EQ(a.Solid(2, top + 1), line);
    EXPECT_EQ(a.Solid(1, top + 2), line);
    EXPECT_EQ(a.Solid(0, top + 2), Name(Parent));
    EXPECT_EQ(a.Solid(0, top + 3), line);
    EXPECT_EQ(a.Solid(149, 40), line);
    EXPECT_EQ(a.Solid(75, 79), line);
    EXPECT_EQ(a.Solid(149, 79), Name(Parent));
    EXPECT_EQ(a.Solid(75, 40), inside);
    EXPECT_GT(a.Count(QRect(8, 0, gapEnd - 8, t), IsDark), 5);

    Shot b(dialog.Window, plain.geometry());
    for (int x : {3, 8, 20, 50, 96})
        EXPECT_EQ(b.Solid(x, top), line) << x;

    captioned.SetLineColor(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(Shot(dialog.Window, captioned.geometry()).Solid(3, top), "#123456");
}

// ---- combo box ----

namespace {

QRect ArrowOf(TXPComboBox& combo)
{
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.subControls = QStyle::SC_All;
    return combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &combo);
}

}  // namespace

TEST(XPComboBox, FrameButtonAndHitTestingAgree)
{
    Dialog dialog;
    TXPComboBox combo(&dialog.Window);
    combo.addItems({QStringLiteral("10"), QStringLiteral("12")});
    combo.setGeometry(10, 10, 100, 21);
    const int w = 100;
    const int h = 21;

    EXPECT_EQ(ArrowOf(combo), QRect(QPoint(w - 17, 2), QPoint(w - 3, h - 3)));
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.subControls = QStyle::SC_All;
    EXPECT_EQ(combo.style()->hitTestComplexControl(QStyle::CC_ComboBox, &option, QPoint(w - 10, 10), &combo),
              QStyle::SC_ComboBoxArrow);
    EXPECT_NE(combo.style()->hitTestComplexControl(QStyle::CC_ComboBox, &option, QPoint(w - 19, 10), &combo),
              QStyle::SC_ComboBoxArrow);

    Shot normal(combo);
    EXPECT_EQ(normal.Solid(0, 0), "#7f9db9");
    EXPECT_EQ(normal.Solid(w - 1, h - 1), "#7f9db9");
    EXPECT_EQ(normal.Solid(50, h - 1), "#7f9db9");
    EXPECT_EQ(normal.Solid(1, 1), Name(White));
    EXPECT_EQ(normal.Solid(2, 10), Name(White));
    EXPECT_EQ(normal.Solid(w - 19, 10), Name(White));
    EXPECT_EQ(normal.Solid(w - 18, 10), Name(White));
    EXPECT_EQ(normal.Solid(w - 2, 10), Name(White));
    const QRect button(w - 17, 2, 15, h - 4);
    const auto blue = [](const QColor& c) { return c.blue() > c.red() + 30; };
    EXPECT_GT(normal.Count(button, blue), 40);
    EXPECT_EQ(normal.Count(QRect(1, 1, w - 19, h - 2), blue), 0);

    combo.SetBorderColor(QColor(0xAA, 0x00, 0x00));
    EXPECT_EQ(Shot(combo).Solid(0, 5), "#aa0000");
}

TEST(XPComboBox, DropButtonPressesOnlyInsideItAndGreysWhenDisabled)
{
    Dialog dialog;
    TXPComboBox combo(&dialog.Window);
    combo.addItems({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    combo.setGeometry(10, 10, 120, 21);
    ASSERT_TRUE(dialog.Activate());
    const QRect button(103, 2, 15, 17);

    QTest::mousePress(&combo, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(combo.Pressed());
    combo.hidePopup();
    QTest::mousePress(&combo, Qt::LeftButton, {}, ArrowOf(combo).center());
    EXPECT_TRUE(combo.Pressed());
    Shot pressed(combo);
    Shot normalAgain = [&] {
        combo.hidePopup();
        return Shot(combo);
    }();
    EXPECT_FALSE(combo.Pressed());
    int differing = 0;
    for (int y = button.top(); y <= button.bottom(); ++y)
        for (int x = button.left(); x <= button.right(); ++x)
            differing += pressed.At(x, y) != normalAgain.At(x, y);
    EXPECT_GT(differing, 40);

    combo.setEnabled(false);
    Shot disabled(combo);
    EXPECT_EQ(disabled.Count(button, [](const QColor& c) { return !IsGrey(c); }), 0);
    EXPECT_GT(disabled.Count(button, [](const QColor& c) { return c.red() < 200; }), 5);
    EXPECT_EQ(disabled.Solid(0, 0), "#7f9db9");
}

TEST(XPComboBox, FocusedListShowsItsTextHighlighted)
{
    Dialog dialog;
    TXPComboBox combo(&dialog.Window);
    combo.addItems({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    combo.setGeometry(10, 10, 120, 21);
    TXPButton other(QStringLiteral("x"), &dialog.Window);
    other.setGeometry(10, 50, 40, 23);
    const QColor highlight = combo.palette().color(QPalette::Active, QPalette::Highlight);
    const auto isHighlight = [&](const QColor& c) { return c == highlight; };
    ASSERT_TRUE(dialog.Activate());

    other.setFocus();
    EXPECT_EQ(Shot(combo).Count(QRect(3, 3, 80, 15), isHighlight), 0);
    combo.setFocus(Qt::TabFocusReason);
    Shot focused(combo);
    EXPECT_GT(focused.Count(QRect(3, 3, 80, 15), isHighlight), 200);
    EXPECT_EQ(focused.Count(QRect(101, 0, 19, 21), isHighlight), 0);
}

TEST(XPGreyed, FollowsTheHalvedSpreadRule)
{
    QImage image(6, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(100, 150, 200, 255));  // v = 200 - 50 = 150 -> 155
    image.setPixel(1, 0, qRgba(0, 0, 0, 255));        // 0 -> 5
    image.setPixel(2, 0, qRgba(251, 249, 250, 255));  // v = 251 - 1 = 250 -> white
    image.setPixel(3, 0, qRgba(245, 250, 240, 255));  // v = 250 - 5 = 245 -> 250
    image.setPixel(4, 0, qRgba(10, 20, 31, 255));     // v = 31 - 10 = 21 -> 26 (halving truncates)
    image.setPixel(5, 0, qRgba(0, 0, 0, 0));          // transparent stays
    const QImage grey = XPGreyed(image).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(155, 155, 155, 255));
    EXPECT_EQ(grey.pixel(1, 0), qRgba(5, 5, 5, 255));
    EXPECT_EQ(grey.pixel(2, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(grey.pixel(3, 0), qRgba(250, 250, 250, 255));
    EXPECT_EQ(grey.pixel(4, 0), qRgba(26, 26, 26, 255));
    EXPECT_EQ(qAlpha(grey.pixel(5, 0)), 0);
}

// ---- edit ----

TEST(XPEdit, ThinFrameAndHeightOfTheFontPlusFour)
{
    Dialog dialog;
    TXPEdit edit(QStringLiteral("Sample"), &dialog.Window);
    edit.move(10, 10);
    edit.resize(120, edit.height());
    EXPECT_EQ(edit.height(), edit.fontMetrics().height() + 4);
    EXPECT_EQ(edit.sizeHint().height(), edit.fontMetrics().height() + 4);

    Shot shot(edit);
    const int h = edit.height();
    EXPECT_EQ(shot.Solid(0, 0), "#7f9db9");
    EXPECT_EQ(shot.Solid(119, h - 1), "#7f9db9");
    EXPECT_EQ(shot.Solid(60, h - 1), "#7f9db9");
    EXPECT_EQ(shot.Solid(1, 1), Name(White));
    EXPECT_EQ(shot.Solid(60, 1), Name(White));
    EXPECT_EQ(shot.Solid(1, h - 2), Name(White));
    EXPECT_GT(shot.Count(QRect(2, 2, 60, h - 4), IsDark), 10);

    QFont big = edit.font();
    big.setPixelSize(30);
    edit.setFont(big);
    EXPECT_EQ(edit.height(), QFontMetrics(big).height() + 4);

    edit.SetBorderColor(QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(Shot(edit).Solid(0, 5), "#008000");
}

// ---- glyphs at high density ----

TEST(XPGlyphs, AreDrawnForTheDensityNotUpscaled)
{
    using Draw = void (*)(QPainter&, const QRect&);
    const Draw glyphs[] = {
        [](QPainter& p, const QRect& r) { XPDrawCheckGlyph(p, r, true); },
        [](QPainter& p, const QRect& r) { XPDrawRadioGlyph(p, r, true); },
        [](QPainter& p, const QRect& r) { XPDrawComboButtonGlyph(p, QRect(r.x(), r.y(), 13, 13), false); },
    };
    for (Draw draw : glyphs) {
        QImage one(13, 13, QImage::Format_ARGB32_Premultiplied);
        one.fill(Qt::white);
        {
            QPainter p(&one);
            draw(p, QRect(0, 0, 13, 13));
        }
        QImage two(26, 26, QImage::Format_ARGB32_Premultiplied);
        two.setDevicePixelRatio(2);
        two.fill(Qt::white);
        {
            QPainter p(&two);
            draw(p, QRect(0, 0, 13, 13));
        }
        const QImage upscaled = one.scaled(26, 26, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        int differing = 0;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 26; ++x)
                differing += upscaled.pixel(x, y) != two.pixel(x, y);
        EXPECT_GT(differing, 20);
    }
}
