#include "controls/thread_timer.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds MinWait{10};

}  // namespace

// The worker of one enabled period of a TThreadTimer. It sleeps on a condition variable,
// so that stopping it or changing the interval wakes it at once, and posts each tick to
// the timer's own thread.
class TTimerThread : public QThread {
public:
    TTimerThread(TThreadTimer* owner, uint64_t generation, int interval)
        : FOwner(owner), FGeneration(generation), FInterval(interval)
    {
    }

    void SetInterval(int value)
    {
        {
            std::lock_guard lock(FMutex);
            FInterval = value;
        }
        FWake.notify_all();
    }

    void RequestEnd()
    {
        {
            std::lock_guard lock(FMutex);
            FStopped = true;
        }
        FWake.notify_all();
    }

protected:
    void run() override
    {
        // Ticks are spaced from the previous tick, so the time spent posting one is
        // taken off the next wait.
        auto last = Clock::now();
        for (;;) {
            {
                std::unique_lock lock(FMutex);
                for (;;) {
                    if (FStopped)
                        return;
                    const auto due = last + std::chrono::milliseconds(FInterval);
                    const auto wait = std::max<Clock::duration>(MinWait, due - Clock::now());
                    // A wake-up by notification (stop, new interval) or a spurious one
                    // recomputes the wait.
                    if (FWake.wait_for(lock, wait) == std::cv_status::timeout)
                        break;
                }
                if (FStopped)
                    return;
            }
            last = Clock::now();
            // FOwner outlives this thread: the timer joins the worker before it dies.
            TThreadTimer* owner = FOwner;
            const uint64_t generation = FGeneration;
            QMetaObject::invokeMethod(
                owner, [owner, generation] { owner->Deliver(generation); }, Qt::QueuedConnection);
        }
    }

private:
    TThreadTimer* const FOwner;
    const uint64_t FGeneration;
    std::mutex FMutex;
    std::condition_variable FWake;
    int FInterval;
    bool FStopped = false;
};

TThreadTimer::TThreadTimer(QObject* parent) : QObject(parent) {}

TThreadTimer::~TThreadTimer()
{
    StopWorker();
}

void TThreadTimer::SetInterval(int value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    if (FWorker)
        FWorker->SetInterval(value);
}

void TThreadTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    if (value)
        StartWorker();
    else
        StopWorker();
}

void TThreadTimer::SetPriority(QThread::Priority value)
{
    if (value == FPriority)
        return;
    FPriority = value;
    if (FWorker && FWorker->isRunning())
        FWorker->setPriority(value);
}

void TThreadTimer::StartWorker()
{
    StopWorker();
    ++FGeneration;
    FWorker = std::make_unique<TTimerThread>(this, FGeneration, FInterval);
    FWorker->start(FPriority);
}

void TThreadTimer::StopWorker()
{
    if (!FWorker)
        return;
    FWorker->RequestEnd();
    FWorker->wait();
    FWorker.reset();
    // Ticks of the ended worker that are still queued carry its generation; a later
    // worker gets a new one.
    ++FGeneration;
}

void TThreadTimer::Deliver(uint64_t generation)
{
    if (!FEnabled || generation != FGeneration || !OnTimer)
        return;
    // The handler may disable or even destroy this timer: call a copy of it, and touch
    // nothing of this object afterwards.
    const auto handler = OnTimer;
    handler(this);
}
