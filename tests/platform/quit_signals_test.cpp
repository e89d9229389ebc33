#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>

#include "platform/quit_signals.h"

namespace {

volatile sig_atomic_t g_previousRan = 0;

void PreviousHandler(int) { g_previousRan = 1; }

sighandler_t CurrentHandler(int signal)
{
    struct sigaction action = {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

// SIGTERM reaches the program as one call in its event loop; the handler then steps aside
// so that a second SIGTERM ends a stuck program, and the old handler comes back afterwards.
TEST(QuitSignals, TermBecomesOneCallInTheEventLoop)
{
    signal(SIGTERM, &PreviousHandler);
    const sighandler_t hangUp = CurrentHandler(SIGHUP);
    int calls = 0;
    {
        TQuitSignals quit([&calls] { ++calls; });
        ASSERT_TRUE(quit.Active());
        raise(SIGTERM);
        EXPECT_EQ(calls, 0) << "nothing may run inside the signal handler";
        EXPECT_EQ(CurrentHandler(SIGTERM), SIG_DFL);
        QElapsedTimer clock;
        clock.start();
        while (calls == 0 && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(g_previousRan, 0);
        // SIGHUP and SIGINT are still caught until they are raised themselves.
        EXPECT_NE(CurrentHandler(SIGHUP), hangUp);
        EXPECT_NE(CurrentHandler(SIGINT), SIG_DFL);
    }
    EXPECT_EQ(CurrentHandler(SIGTERM), &PreviousHandler);
    EXPECT_EQ(CurrentHandler(SIGHUP), hangUp);
    raise(SIGTERM);
    EXPECT_EQ(g_previousRan, 1);
    EXPECT_EQ(calls, 1);
    signal(SIGTERM, SIG_DFL);
}

}  // namespace
