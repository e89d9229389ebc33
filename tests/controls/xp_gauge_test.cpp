#include "controls/thread_timer.h"
#include "controls/xp_gauge.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <climits>

namespace {

const QColor Bar(0x2E, 0xD3, 0x31);
const QColor Border(0x3C, 0x3C, 0x3C);
const QColor White(255, 255, 255);
const QColor Shadow(195, 195, 195);          // |255 - 60| per channel
const QColor Light60(0x2E + 60, 255, 0x31 + 60);  // green capped at 255
const QColor Light30(0x2E + 30, 0xD3 + 30, 0x31 + 30);

QImage Render(TXPGauge& gauge)
{
    QImage image(gauge.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    gauge.render(&image);
    return image;
}

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

// Colours of row y from x0 to x1 inclusive, as a string of one letter per pixel, so that
// a failure shows the whole run.
std::string Row(const QImage& image, int y, int x0, int x1,
                const std::vector<std::pair<QColor, char>>& legend)
{
    std::string s;
    for (int x = x0; x <= x1; ++x) {
        char c = '?';
        for (const auto& [color, letter] : legend)
            if (At(image, x, y) == color)
                c = letter;
        s += c;
    }
    return s;
}

struct GaugeFixture : ::testing::Test {
    TXPGauge gauge;
    GaugeFixture() { gauge.SetColor(White); }
};

// ---- properties and setters ----

TEST(XPGauge, DefaultsMatchTheDefaultLook)
{
    TXPGauge gauge;
    EXPECT_EQ(gauge.size(), QSize(100, 20));
    EXPECT_EQ(gauge.Progress(), 0u);
    EXPECT_EQ(gauge.MaxValue(), 100u);
    EXPECT_EQ(gauge.TotalStep(), 6);
    EXPECT_FALSE(gauge.Smooth());
    EXPECT_EQ(gauge.BarColor(), Bar);
    EXPECT_EQ(gauge.BorderColor(), Border);
    EXPECT_EQ(gauge.Color(), gauge.palette().color(QPalette::Base));
    EXPECT_TRUE(gauge.InnerShadow());
    EXPECT_EQ(gauge.RemainSeconds(), -1);
    EXPECT_EQ(gauge.Timer(), nullptr);
}

TEST_F(GaugeFixture, ProgressAboveMaxValueOrUnchangedIsIgnored)
{
    gauge.SetProgress(50);
    EXPECT_EQ(gauge.StepPosition(), 3);
    gauge.SetProgress(101);
    EXPECT_EQ(gauge.Progress(), 50u);
    EXPECT_EQ(gauge.StepPosition(), 3);
    gauge.SetProgress(100);
    EXPECT_EQ(gauge.Progress(), 100u);
    EXPECT_EQ(gauge.StepPosition(), 6);
}

TEST_F(GaugeFixture, MaxValueZeroIsIgnoredAndOtherValuesRescaleTheSteps)
{
    gauge.SetProgress(50);
    gauge.SetMaxValue(0);
    EXPECT_EQ(gauge.MaxValue(), 100u);
    gauge.SetMaxValue(300);
    EXPECT_EQ(gauge.MaxValue(), 300u);
    EXPECT_EQ(gauge.StepPosition(), 1);  // 50 * 6 / 300
}

TEST_F(GaugeFixture, TotalStepFollowsTheSizeInBlockModeOnly)
{
    gauge.SetTotalStep(10);
    EXPECT_EQ(gauge.TotalStep(), 6);
    gauge.resize(200, 20);
    EXPECT_EQ(gauge.TotalStep(), 12);  // (200 - 6) / 15

    gauge.SetSmooth(true);
    gauge.SetTotalStep(0);
    EXPECT_EQ(gauge.TotalStep(), 12);
    gauge.SetTotalStep(195);  // more than width - 6
    EXPECT_EQ(gauge.TotalStep(), 12);
    gauge.SetTotalStep(194);
    EXPECT_EQ(gauge.TotalStep(), 194);
    gauge.SetProgress(50);
    EXPECT_EQ(gauge.StepPosition(), 97);

    gauge.SetSmooth(false);
    EXPECT_EQ(gauge.TotalStep(), 12);
    EXPECT_EQ(gauge.StepPosition(), 6);
}

TEST_F(GaugeFixture, HeightOfFiveOrLessBecomesSix)
{
    gauge.resize(100, 3);
    EXPECT_EQ(gauge.height(), 6);
    gauge.setGeometry(0, 0, 100, 5);
    EXPECT_EQ(gauge.height(), 6);
    EXPECT_EQ(gauge.TotalStep(), 94);  // (100 - 6) / (6 - 5)
    Render(gauge);

    // Even a fixed height below the minimum, forced on it, ends at 6.
    gauge.setFixedHeight(3);
    gauge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    EXPECT_EQ(gauge.height(), 6);
}

TEST_F(GaugeFixture, MaxValueBelowProgressNeverFillsBeyondTheBar)
{
    gauge.SetProgress(90);
    gauge.SetMaxValue(10);
    EXPECT_EQ(gauge.StepPosition(), gauge.TotalStep());
}

TEST_F(GaugeFixture, HugeByteCountsDoNotOverflowTheStepPosition)
{
    const uint64_t max = UINT64_MAX - 1;
    gauge.SetMaxValue(max);
    gauge.SetProgress(max / 2);
    EXPECT_EQ(gauge.StepPosition(), 3);  // a 64-bit product would wrap and give 0
    gauge.SetProgress(max);
    EXPECT_EQ(gauge.StepPosition(), 6);
}

TEST_F(GaugeFixture, RepaintsOnlyWhenTheFilledStepCountChanges)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;
    gauge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    QApplication::processEvents();
    gauge.installEventFilter(&counter);

    gauge.SetProgress(10);  // 10 * 6 / 100 = 0 steps: nothing to redraw
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    gauge.SetProgress(17);  // 1 step, painted at once inside the setter
    EXPECT_GE(counter.paints, 1);
}

// ---- painting ----

TEST_F(GaugeFixture, HalfFullBlockGaugeShowsThreeBlocksOfThirteenPixels)
{
    gauge.SetProgress(50);
    const QImage image = Render(gauge);
    const std::vector<std::pair<QColor, char>> legend = {
        {Bar, 'B'}, {White, '.'}, {Border, '#'}, {Shadow, 's'}, {Light60, '6'}, {Light30, '3'}};

    // A middle row: border, shadow, background, then block, gap, block, gap, block, gap.
    const std::string blocks = std::string(13, 'B') + "..";
    EXPECT_EQ(Row(image, 10, 0, 50, legend),
              "#s." + blocks + blocks + blocks + "...");
    for (int x = 48; x <= 98; ++x)
        EXPECT_EQ(At(image, x, 10), White) << "x " << x;
    EXPECT_EQ(At(image, 99, 10), Border);

    // Highlight rows: 60 lighter outermost, 30 lighter next, at the top and bottom of the bar.
    const std::string light60 = std::string(13, '6') + "..";
    const std::string light30 = std::string(13, '3') + "..";
    EXPECT_EQ(Row(image, 3, 3, 47, legend), light60 + light60 + light60);
    EXPECT_EQ(Row(image, 4, 3, 47, legend), light30 + light30 + light30);
    EXPECT_EQ(Row(image, 15, 3, 47, legend), light30 + light30 + light30);
    EXPECT_EQ(Row(image, 16, 3, 47, legend), light60 + light60 + light60);
    for (int y = 5; y <= 14; ++y)
        EXPECT_EQ(At(image, 3, y), Bar) << "y " << y;
    // The bar spans rows 3 to 16 only.
    EXPECT_EQ(At(image, 3, 2), White);
    EXPECT_EQ(At(image, 3, 17), White);
}

TEST_F(GaugeFixture, OutlineHasCutCornersAndInnerShadow)
{
    const QImage image = Render(gauge);
    const QColor outside = At(image, 0, 0);
    EXPECT_NE(outside, Border);
    EXPECT_NE(outside, White);
    EXPECT_EQ(At(image, 1, 0), outside);
    EXPECT_EQ(At(image, 0, 1), outside);
    EXPECT_EQ(At(image, 99, 19), outside);

    EXPECT_EQ(At(image, 1, 1), Border);
    EXPECT_EQ(At(image, 98, 18), Border);
    for (int x = 2; x <= 97; ++x) {
        EXPECT_EQ(At(image, x, 0), Border) << x;
        EXPECT_EQ(At(image, x, 19), Border) << x;
        EXPECT_EQ(At(image, x, 1), Shadow) << x;
        EXPECT_EQ(At(image, x, 18), White) << x;
    }
    for (int y = 2; y <= 17; ++y) {
        EXPECT_EQ(At(image, 0, y), Border) << y;
        EXPECT_EQ(At(image, 99, y), Border) << y;
        EXPECT_EQ(At(image, 1, y), Shadow) << y;
        EXPECT_EQ(At(image, 98, y), White) << y;
    }
    EXPECT_EQ(At(image, 2, 2), Shadow);
    EXPECT_EQ(At(image, 3, 3), White);  // empty gauge: no bar

    gauge.SetInnerShadow(false);
    const QImage flat = Render(gauge);
    EXPECT_EQ(At(flat, 5, 1), White);
    EXPECT_EQ(At(flat, 1, 5), White);
    EXPECT_EQ(At(flat, 2, 2), White);
}

TEST_F(GaugeFixture, ShadowIsSixtyAwayFromTheBackgroundPerChannel)
{
    gauge.SetColor(QColor(30, 100, 200));
    EXPECT_EQ(At(Render(gauge), 10, 1), QColor(30, 40, 140));
}

TEST_F(GaugeFixture, FullBlockGaugeTakesTheNarrowRemainderIntoTheLastBlock)
{
    gauge.SetProgress(100);
    const QImage image = Render(gauge);
    // Six blocks end at 93, the 4 pixels left up to 97 are too narrow for another block.
    EXPECT_EQ(At(image, 90, 10), Bar);
    EXPECT_EQ(At(image, 91, 10), White);
    EXPECT_EQ(At(image, 92, 10), White);
    for (int x = 93; x <= 96; ++x)
        EXPECT_EQ(At(image, x, 10), Bar) << x;
    EXPECT_EQ(At(image, 97, 10), White);
    EXPECT_EQ(At(image, 99, 10), Border);
}

TEST_F(GaugeFixture, SmoothGaugeFillsWithoutGaps)
{
    gauge.SetSmooth(true);
    gauge.SetTotalStep(94);
    gauge.SetProgress(50);  // 47 of 94 steps: right edge (94 * 47 / 94) + 3 = 50
    const QImage image = Render(gauge);
    for (int x = 3; x <= 49; ++x)
        EXPECT_EQ(At(image, x, 10), Bar) << x;
    EXPECT_EQ(At(image, 50, 10), White);
    EXPECT_EQ(At(image, 20, 3), Light60);
}

TEST_F(GaugeFixture, ThinGaugeOfTheScanWindowHasTwoHighlightRowsEachSide)
{
    gauge.resize(278, 11);
    EXPECT_EQ(gauge.TotalStep(), 45);
    gauge.SetProgress(100);
    const QImage image = Render(gauge);
    EXPECT_EQ(At(image, 4, 3), Light60);
    EXPECT_EQ(At(image, 4, 4), Light30);
    EXPECT_EQ(At(image, 4, 5), Bar);
    EXPECT_EQ(At(image, 4, 6), Light30);
    EXPECT_EQ(At(image, 4, 7), Light60);
    EXPECT_EQ(At(image, 4, 8), White);
    // Blocks of 4 pixels and gaps of 2 repeat every 6.
    EXPECT_EQ(At(image, 7, 5), White);
    EXPECT_EQ(At(image, 8, 5), White);
    EXPECT_EQ(At(image, 9, 5), Bar);
}

TEST_F(GaugeFixture, PaintsOnlyTheRequestedArea)
{
    gauge.SetProgress(50);
    QImage image(gauge.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    gauge.render(&image, QPoint(), QRegion(0, 0, 10, 20));
    EXPECT_EQ(At(image, 5, 10), Bar);
    EXPECT_EQ(At(image, 20, 10), QColor(Qt::magenta));
}

// ---- remaining-time estimate ----

struct EstimateFixture : ::testing::Test {
    TXPGauge gauge;
    uint64_t now = 1000;
    int raised = 0;

    EstimateFixture()
    {
        gauge.Clock = [this] { return now; };
        gauge.OnRemainSeconds = [this](TXPGauge* sender) {
            EXPECT_EQ(sender, &gauge);
            ++raised;
        };
        gauge.Start();
        // The real ticks would come every 3 s; the tests drive the handler themselves.
        gauge.Timer()->SetEnabled(false);
    }
};

TEST_F(EstimateFixture, StartResetsProgressAndRunsATimer)
{
    TXPGauge other;
    other.SetProgress(40);
    other.Start();
    EXPECT_EQ(other.Progress(), 0u);
    EXPECT_EQ(other.StepPosition(), 0);
    ASSERT_NE(other.Timer(), nullptr);
    EXPECT_TRUE(other.Timer()->Enabled());
    EXPECT_EQ(other.Timer()->Interval(), 3000);
}

TEST_F(EstimateFixture, EstimateIsTheTimeLeftAtTheMeasuredRate)
{
    gauge.SetProgress(10);
    now = 2000;  // 10 per second, 90 to go
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 9);
    EXPECT_EQ(raised, 1);

    gauge.SetProgress(40);
    now = 2500;  // 60 per second, 60 to go
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 1);
    EXPECT_EQ(raised, 2);
}

TEST_F(EstimateFixture, EstimateIsTruncatedToWholeSeconds)
{
    gauge.SetMaxValue(1000);
    gauge.SetProgress(3);
    now = 4000;  // 1 per second, 997 to go
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 997);
    gauge.SetProgress(10);
    now = 7900;  // 7 in 3.9 s, 990 to go: 551.57 s
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 551);
}

TEST_F(EstimateFixture, NoAdvanceBetweenTicksKeepsTheEstimate)
{
    gauge.SetProgress(10);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    ASSERT_EQ(gauge.RemainSeconds(), 9);
    now = 5000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 9);
    EXPECT_EQ(raised, 1);
    // The stalled interval still counts as measured: the next rate starts from 5000.
    gauge.SetProgress(20);
    now = 6000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 8);
}

TEST_F(EstimateFixture, TickAtTheSameMillisecondOrWhilePausedChangesNothing)
{
    gauge.SetProgress(10);
    gauge.TimerTick(gauge.Timer());  // now unchanged since Start
    EXPECT_EQ(gauge.RemainSeconds(), -1);
    EXPECT_EQ(raised, 0);

    gauge.Pause();
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(raised, 0);
    gauge.Restart();
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 9);
    EXPECT_EQ(raised, 1);
}

TEST_F(EstimateFixture, ProgressSetBackYieldsNoEstimate)
{
    gauge.SetProgress(50);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    const int before = gauge.RemainSeconds();
    gauge.SetProgress(10);
    now = 3000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), before);
    EXPECT_EQ(raised, 1);
}

TEST_F(EstimateFixture, CrawlingRateOverAHugeTotalSaturates)
{
    gauge.SetMaxValue(uint64_t(1) << 50);
    gauge.SetProgress(1);
    now = 4000;  // 1 byte in 3 s
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), INT_MAX);
}

TEST_F(EstimateFixture, EstimateUnderThreeSecondsStopsTheTimerButKeepsTheValue)
{
    gauge.Timer()->SetEnabled(true);
    gauge.SetProgress(10);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_TRUE(gauge.Timer()->Enabled());
    gauge.SetProgress(80);
    now = 3000;  // 70 per second, 20 to go
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(gauge.RemainSeconds(), 0);
    ASSERT_NE(gauge.Timer(), nullptr);
    EXPECT_FALSE(gauge.Timer()->Enabled());
}

TEST_F(EstimateFixture, ReachingMaxValueFreesTheTimer)
{
    gauge.SetProgress(10);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    gauge.SetProgress(100);
    EXPECT_EQ(gauge.Timer(), nullptr);
    EXPECT_EQ(gauge.RemainSeconds(), 9);
}

TEST_F(EstimateFixture, StopResetsTheEstimateAndRaisesTheEventOnceMore)
{
    gauge.SetProgress(10);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    ASSERT_EQ(raised, 1);
    gauge.Stop();
    EXPECT_EQ(gauge.RemainSeconds(), -1);
    EXPECT_EQ(raised, 2);
    EXPECT_EQ(gauge.Timer(), nullptr);
    // Stopping again still reports "no estimate".
    gauge.Stop();
    EXPECT_EQ(raised, 3);
}

TEST_F(EstimateFixture, HandlerMayStopTheGaugeFromTheEvent)
{
    gauge.OnRemainSeconds = [this](TXPGauge* sender) {
        ++raised;
        if (raised == 1)
            sender->Stop();
    };
    gauge.SetProgress(10);
    now = 2000;
    gauge.TimerTick(gauge.Timer());
    EXPECT_EQ(raised, 2);
    EXPECT_EQ(gauge.RemainSeconds(), -1);
    EXPECT_EQ(gauge.Timer(), nullptr);
}

TEST(XPGaugeTimer, RealTicksReachTheGaugeOnTheUserInterfaceThread)
{
    TXPGauge gauge;
    QThread* tickThread = nullptr;
    int raised = 0;
    gauge.OnRemainSeconds = [&](TXPGauge*) {
        tickThread = QThread::currentThread();
        ++raised;
    };
    gauge.Start();
    gauge.Timer()->SetInterval(10);
    QTest::qWait(20);  // let the clock move past the start
    gauge.SetProgress(50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised > 0; }, 20000));
    EXPECT_EQ(tickThread, QApplication::instance()->thread());
    // Half done in a few milliseconds: well under three seconds left, so the timer stopped.
    EXPECT_GE(gauge.RemainSeconds(), 0);
    EXPECT_LT(gauge.RemainSeconds(), 3);
    ASSERT_NE(gauge.Timer(), nullptr);
    EXPECT_FALSE(gauge.Timer()->Enabled());
}

TEST(XPGaugeTimer, DestroyingARunningGaugeLeavesNoTickBehind)
{
    int raised = 0;
    {
        TXPGauge gauge;
        gauge.OnRemainSeconds = [&](TXPGauge*) { ++raised; };
        gauge.Start();
        gauge.Timer()->SetInterval(1);
        gauge.SetProgress(1);
        QThread::msleep(50);  // ticks pile up in the queue, undelivered
    }
    QTest::qWait(50);
    EXPECT_EQ(raised, 0);
}

}  // namespace
