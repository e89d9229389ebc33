#include "controls/xp_gauge.h"
#include "fonts/scan_window.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ScanWindowFixture : ::testing::Test {
    TfScan scan;
    QLabel* count = scan.findChild<QLabel*>(QStringLiteral("Count"));
    QLabel* fontName = scan.findChild<QLabel*>(QStringLiteral("FontName"));
    TXPGauge* gauge = scan.findChild<TXPGauge*>(QStringLiteral("Gauge"));

    void SetUp() override
    {
        ASSERT_NE(count, nullptr);
        ASSERT_NE(fontName, nullptr);
        ASSERT_NE(gauge, nullptr);
    }
};

TEST_F(ScanWindowFixture, FixedWindowWithoutCloseButton)
{
    EXPECT_EQ(scan.windowTitle(), QStringLiteral("Scan Fonts"));
    EXPECT_EQ(scan.size(), QSize(306, 129));
    EXPECT_EQ(scan.minimumSize(), QSize(306, 129));
    EXPECT_EQ(scan.maximumSize(), QSize(306, 129));
    const Qt::WindowFlags flags = scan.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(scan.isModal());
}

TEST_F(ScanWindowFixture, ControlsSitWhereTheLayoutPutsThem)
{
    EXPECT_EQ(count->geometry(), QRect(94, 48, 117, count->height()));
    EXPECT_EQ(count->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(fontName->geometry(), QRect(12, 72, 282, fontName->height()));
    EXPECT_EQ(fontName->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(gauge->geometry(), QRect(14, 108, 278, 11));
    EXPECT_EQ(scan.Gauge(), gauge);
    EXPECT_FALSE(gauge->Smooth());
}

TEST_F(ScanWindowFixture, WhiteBandWithIconAndText)
{
    auto* title = scan.findChild<QLabel*>(QStringLiteral("Title"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Please wait while scanning fonts in folder"));

    const QImage image = scan.grab().toImage();
    // Band background left and right of its contents, and the separator below.
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(303, 26)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(303, 28)), QColor(Qt::white));
    EXPECT_NE(QColor(image.pixel(150, 29)), QColor(Qt::white));
    EXPECT_NE(QColor(image.pixel(150, 40)), QColor(Qt::white));  // window face below

    // The icon is drawn in the band's left part and the text after it.
    int iconPixels = 0;
    for (int y = 6; y < 22; ++y)
        for (int x = 8; x < 24; ++x)
            iconPixels += QColor(image.pixel(x, y)) != QColor(Qt::white);
    EXPECT_GT(iconPixels, 60);
    int textPixels = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 32; x < 300; ++x)
            textPixels += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(textPixels, 50);
    EXPECT_FALSE(TfScan::ScanIcon().isNull());
    EXPECT_EQ(TfScan::ScanIcon().size(), QSize(16, 16));
}

TEST_F(ScanWindowFixture, EachFontFoundAdvancesCountNameAndGauge)
{
    scan.SetTotal(3);
    EXPECT_EQ(scan.Total(), 3);
    EXPECT_EQ(scan.Counted(), 0);
    EXPECT_EQ(gauge->MaxValue(), 3u);
    EXPECT_EQ(gauge->Progress(), 0u);
    EXPECT_EQ(count->text(), QStringLiteral("0/3"));

    scan.StepFont("DejaVu Sans");
    EXPECT_EQ(fontName->text(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(count->text(), QStringLiteral("1/3"));
    EXPECT_EQ(gauge->Progress(), 1u);

    scan.StepFont("나눔고딕");
    scan.Finish();
    EXPECT_EQ(fontName->text(), QStringLiteral("나눔고딕"));
    EXPECT_EQ(count->text(), QStringLiteral("2/3"));
    EXPECT_EQ(scan.Counted(), 2);
    EXPECT_EQ(gauge->Progress(), 2u);

    // The gauge in the window fills: 2 of 3 -> 30 of 45 blocks of 6 pixels.
    const QImage image = gauge->grab().toImage();
    const QColor bar(0x2E, 0xD3, 0x31);
    EXPECT_EQ(QColor(image.pixel(4, 5)), bar);
    EXPECT_EQ(QColor(image.pixel(180, 5)), bar);
    EXPECT_NE(QColor(image.pixel(190, 5)), bar);
}

TEST_F(ScanWindowFixture, ANewScanStartsFromZero)
{
    scan.SetTotal(2);
    scan.StepFont("A");
    scan.StepFont("B");
    scan.SetTotal(5);
    EXPECT_EQ(scan.Counted(), 0);
    EXPECT_EQ(gauge->Progress(), 0u);
    EXPECT_EQ(gauge->MaxValue(), 5u);
    EXPECT_EQ(count->text(), QStringLiteral("0/5"));
    EXPECT_TRUE(fontName->text().isEmpty());
}

TEST_F(ScanWindowFixture, EmptyFolderGivesAnEmptyGauge)
{
    scan.SetTotal(4);
    scan.StepFont("A");
    scan.SetTotal(0);
    EXPECT_EQ(scan.Total(), 0);
    EXPECT_EQ(gauge->Progress(), 0u);
    EXPECT_EQ(count->text(), QStringLiteral("0/0"));
}

TEST_F(ScanWindowFixture, MoreFontsThanCountedKeepTheGaugeFull)
{
    scan.SetTotal(1);
    scan.StepFont("A");
    scan.StepFont("B");
    scan.Finish();
    EXPECT_EQ(count->text(), QStringLiteral("2/1"));
    EXPECT_EQ(gauge->Progress(), 1u);
}

TEST_F(ScanWindowFixture, FontNamesAreShownAsPlainText)
{
    scan.SetTotal(1);
    scan.StepFont("<b>Bold</b> & Co");
    EXPECT_EQ(fontName->textFormat(), Qt::PlainText);
    EXPECT_EQ(fontName->text(), QStringLiteral("<b>Bold</b> & Co"));
}

TEST_F(ScanWindowFixture, CentredOverItsOwnerAndShownModeless)
{
    QMainWindow owner;
    owner.setGeometry(100, 80, 600, 400);
    owner.show();
    scan.CenterOver(&owner);
    const QRect o = owner.frameGeometry();
    const QRect s = scan.frameGeometry();
    EXPECT_EQ(s.left(), o.left() + o.width() / 2 - s.width() / 2);
    EXPECT_EQ(s.top(), o.top() + o.height() / 2 - s.height() / 2);

    scan.ShowModeless();
    EXPECT_TRUE(scan.isVisible());
    EXPECT_FALSE(scan.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    scan.hide();
    EXPECT_FALSE(scan.isVisible());
    scan.ShowModeless();  // reused by the next scan
    EXPECT_TRUE(scan.isVisible());
}

TEST_F(ScanWindowFixture, EscapeDoesNotHideTheWindow)
{
    scan.ShowModeless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&scan));
    QTest::keyClick(&scan, Qt::Key_Escape);
    EXPECT_TRUE(scan.isVisible());
}

}  // namespace
