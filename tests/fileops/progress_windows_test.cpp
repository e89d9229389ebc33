#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "controls/xp_gauge.h"
#include "fileops/copying_form.h"
#include "fileops/del_warning_form.h"
#include "fileops/deleting_form.h"
#include "fileops/recycle_bin_picture.h"

namespace {

QString LabelText(const QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.setGeometry(100, 100, 800, 600);
        owner.show();
        copying.SetOwner(&owner);
        deleting.SetOwner(&owner);
    }
    QWidget owner;
    TfCopying copying{&owner};
    TfDeleting deleting{&owner};
};

TEST_F(ProgressWindowTest, CopyWindowHoldsItsOwnerUntilTheRunEnds)
{
    copying.SetTotal(5);
    copying.SetCurrent(3);
    copying.SetSource("fonts-in");
    copying.Begin("Installing...");
    // Centred over the owner, the owner disabled, and the counter empty until a file starts.
    EXPECT_EQ(copying.pos(), QPoint(owner.x() + 400 - 392 / 2, owner.y() + 300 - 143 / 2));
    EXPECT_EQ(copying.size(), QSize(392, 143));
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(copying.isEnabled());
    EXPECT_TRUE(LabelText(copying, "lCount").isEmpty());
    EXPECT_TRUE(LabelText(copying, "Path").isEmpty());
    copying.SetDest("fonts");
    EXPECT_EQ(LabelText(copying, "Path"), "From 'fonts-in'  To 'fonts'");
    copying.SetCurrent(1);
    EXPECT_EQ(LabelText(copying, "lCount"), "1/5");
    copying.SetCurrent(5);
    EXPECT_EQ(LabelText(copying, "lCount"), "5/5");

    // Enter and Esc are the Cancel button; the window stays until the run closes it.
    EXPECT_FALSE(copying.Cancelled());
    QTest::keyClick(&copying, Qt::Key_Return);
    EXPECT_TRUE(copying.Cancelled());
    copying.End();
    copying.Begin("Installing...");
    EXPECT_FALSE(copying.Cancelled());
    QTest::keyClick(&copying, Qt::Key_Escape);
    EXPECT_TRUE(copying.Cancelled());
    EXPECT_TRUE(copying.isVisible());

    // Closing the window stops the run, but the owner stays held and cannot close.
    copying.End();
    copying.Begin("Installing...");
    copying.close();
    EXPECT_TRUE(copying.Cancelled());
    EXPECT_FALSE(copying.isVisible());
    EXPECT_FALSE(owner.isEnabled());
    owner.close();
    EXPECT_TRUE(owner.isVisible());
    copying.End();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(ProgressWindowTest, GaugesFillWithTheirBarColour)
{
    copying.SetMaxBytes(1000);
    copying.Begin("Installing...");
    copying.AddBytes(500);
    QImage image = copying.grab().toImage();
    // Well inside the filled half of the gauge at 12, 107, 291 x 12.
    EXPECT_EQ(QColor(image.pixel(12 + 60, 107 + 6)).name(), "#2ed331");
    EXPECT_EQ(QColor(image.pixel(12 + 250, 107 + 6)).name(), "#ffffff");
    EXPECT_EQ(QColor(image.pixel(12, 107 + 6)).name(), "#4a4a4a");
    copying.End();

    deleting.Begin(4);
    EXPECT_EQ(deleting.pos(), QPoint(owner.x() + 400 - 376 / 2, owner.y() + 300 - 130 / 2));
    deleting.SetItem("first.ttf");
    deleting.StepFile();
    deleting.StepFile();
    image = deleting.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(19 + 60, 101 + 6)).name(), "#2ed331");
    EXPECT_EQ(QColor(image.pixel(19 + 230, 101 + 6)).name(), "#ffffff");
    EXPECT_EQ(QColor(image.pixel(19, 101 + 6)).name(), "#3c3c3c");
    QTest::keyClick(&deleting, Qt::Key_Escape);
    EXPECT_TRUE(deleting.Cancelled());
    deleting.End();
    EXPECT_TRUE(owner.isEnabled());
    // The item keeps its name until the next run names a file.
    deleting.Begin(1);
    EXPECT_FALSE(deleting.Cancelled());
    EXPECT_EQ(LabelText(deleting, "Item"), "first.ttf");
    deleting.End();
}

TEST(DelWarning, OnlyYesAnswersYes)
{
    const auto answer = [](auto act) {
        TfDelWarning warning;
        QTimer::singleShot(0, &warning, [&] { act(warning); });
        return warning.exec();
    };
    EXPECT_EQ(answer([](TfDelWarning& w) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_Return); }),
              TfDelWarning::ResultYes);
    EXPECT_EQ(answer([](TfDelWarning& w) { QTest::keyClick(&w, Qt::Key_Escape); }),
              TfDelWarning::ResultCancel);
    EXPECT_EQ(answer([](TfDelWarning& w) { QTest::mouseClick(w.NoBtn(), Qt::LeftButton); }),
              TfDelWarning::ResultNo);
    EXPECT_EQ(answer([](TfDelWarning& w) { w.close(); }), TfDelWarning::ResultCancel);

    TfDelWarning warning;
    EXPECT_EQ(warning.windowTitle(), "Uninstall Font(s)");
    EXPECT_EQ(LabelText(warning, "Text"), "Are you sure you want to delete these fonts?");
    EXPECT_EQ(warning.YesBtn()->geometry(), QRect(168, 73, 70, 22));
    EXPECT_EQ(warning.NoBtn()->geometry(), QRect(244, 73, 70, 22));
}

TEST(RecycleBinPicture, IsABinWithAGreenArrowOnATransparentGround)
{
    const QImage image = RecycleBinPicture().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);
    int green = 0;
    int translucent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            const int a = qAlpha(p);
            if (a == 255 && qGreen(p) > 120 && qRed(p) < 80 && qBlue(p) < 100)
                ++green;
            if (a > 60 && a < 230)
                ++translucent;
        }
    EXPECT_GT(green, 15);
    EXPECT_GT(translucent, 40);
}

}  // namespace
