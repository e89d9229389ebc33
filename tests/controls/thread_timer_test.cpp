#include "controls/thread_timer.h"

#include <QApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Generous = 20000;  // ms; only a bound for a broken timer, never a measurement

TEST(ThreadTimer, Defaults)
{
    TThreadTimer timer;
    EXPECT_EQ(timer.Interval(), 3000);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Priority(), QThread::NormalPriority);
    EXPECT_FALSE(timer.OnTimer);
}

TEST(ThreadTimer, TicksArriveOnTheUserInterfaceThreadWithTheTimerAsSender)
{
    TThreadTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    bool allOnUiThread = true;
    timer.OnTimer = [&](TThreadTimer* sender) {
        EXPECT_EQ(sender, &timer);
        allOnUiThread = allOnUiThread && QThread::currentThread() == QApplication::instance()->thread();
        ++ticks;
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, Generous));
    EXPECT_TRUE(allOnUiThread);
}

TEST(ThreadTimer, NoTickIsDeliveredAfterDisabling)
{
    TThreadTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    QThread::msleep(30);  // ticks wait in the queue
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    QTest::qWait(30);
    EXPECT_EQ(ticks, 0);
}

TEST(ThreadTimer, CanBeEnabledAgainAfterDisabling)
{
    TThreadTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, Generous));
    timer.SetEnabled(false);
    const int before = ticks;
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > before; }, Generous));
}

TEST(ThreadTimer, NewIntervalAppliesToARunningTimerAtOnce)
{
    TThreadTimer timer;
    timer.SetInterval(3600 * 1000);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    timer.SetInterval(5);
    EXPECT_EQ(timer.Interval(), 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, Generous));
}

TEST(ThreadTimer, PriorityCanChangeWhileRunning)
{
    TThreadTimer timer;
    timer.SetInterval(5);
    timer.SetPriority(QThread::LowPriority);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    timer.SetPriority(QThread::HighPriority);
    EXPECT_EQ(timer.Priority(), QThread::HighPriority);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, Generous));
}

TEST(ThreadTimer, DestroyingARunningTimerDropsQueuedTicks)
{
    int ticks = 0;
    auto timer = std::make_unique<TThreadTimer>();
    timer->SetInterval(1);
    timer->OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer->SetEnabled(true);
    QThread::msleep(30);
    timer.reset();
    QTest::qWait(30);
    EXPECT_EQ(ticks, 0);
}

TEST(ThreadTimer, HandlerMayDisableOrDestroyItsOwnTimer)
{
    TThreadTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer* sender) {
        ++ticks;
        sender->SetEnabled(false);
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, Generous));
    QTest::qWait(20);
    EXPECT_EQ(ticks, 1);

    auto owned = std::make_unique<TThreadTimer>();
    owned->SetInterval(1);
    int ownedTicks = 0;
    owned->OnTimer = [&](TThreadTimer*) {
        ++ownedTicks;
        owned.reset();
    };
    owned->SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !owned; }, Generous));
    QTest::qWait(20);
    EXPECT_EQ(ownedTicks, 1);
}

}  // namespace
