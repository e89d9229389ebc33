#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include "controls/xp_gauge.h"
#include "fonts/scan_window.h"

namespace {

// A scan of thousands of fonts reaches the screen a few dozen times a second, not once per
// font: the texts, the gauge and event processing follow an injected clock.
TEST(ScanWindowPace, ProgressReachesTheScreenAtMostEveryThirtyMilliseconds)
{
    TfScan scan;
    int64_t now = 1000;
    scan.SetClock([&now] { return now; });
    auto* count = scan.findChild<QLabel*>(QStringLiteral("Count"));
    auto* name = scan.findChild<QLabel*>(QStringLiteral("FontName"));
    ASSERT_TRUE(count && name);
    scan.SetTotal(5000);
    scan.ShowModeless();

    // Events posted to the window's thread are handled only when progress is shown.
    int handled = 0;
    auto post = [&handled] { QTimer::singleShot(0, [&handled] { ++handled; }); };

    post();
    scan.StepFont("Font 1");  // the first font is shown at once
    EXPECT_EQ(count->text(), QStringLiteral("1/5000"));
    EXPECT_EQ(name->text(), QStringLiteral("Font 1"));
    EXPECT_EQ(handled, 1);

    post();
    for (int i = 2; i <= 3000; ++i) {
        if (i == 2000)
            now += TfScan::ShowInterval - 1;
        scan.StepFont("Font " + std::to_string(i));
    }
    EXPECT_EQ(count->text(), QStringLiteral("1/5000"));
    EXPECT_EQ(scan.Gauge()->Progress(), 1u);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(scan.Counted(), 3000);

    now += 1;  // 30 ms after the last showing
    scan.StepFont("Font 3001");
    EXPECT_EQ(count->text(), QStringLiteral("3001/5000"));
    EXPECT_EQ(name->text(), QStringLiteral("Font 3001"));
    EXPECT_EQ(scan.Gauge()->Progress(), 3001u);
    EXPECT_EQ(handled, 2);

    scan.StepFont("Last");
    EXPECT_EQ(count->text(), QStringLiteral("3001/5000"));
    scan.Finish();
    EXPECT_EQ(count->text(), QStringLiteral("3002/5000"));
    EXPECT_EQ(name->text(), QStringLiteral("Last"));
    EXPECT_EQ(scan.Gauge()->Progress(), 3002u);

    // The next scan starts showing at once again.
    scan.SetTotal(2);
    scan.StepFont("Next");
    EXPECT_EQ(count->text(), QStringLiteral("1/2"));
}

}  // namespace
