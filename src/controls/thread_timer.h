#pragma once

#include <QObject>
#include <QThread>

#include <cstdint>
#include <functional>
#include <memory>

class TTimerThread;

// A timer whose ticks are timed by a worker thread, so that it keeps ticking while the
// user-interface thread is busy with long synchronous work. The worker never calls the
// handler itself: each tick is posted to the thread this object lives in and OnTimer runs
// there, from that thread's event loop.
class TThreadTimer : public QObject {
    Q_OBJECT

public:
    explicit TThreadTimer(QObject* parent = nullptr);
    // Stops and joins the worker, and drops ticks still waiting in the event queue.
    ~TThreadTimer() override;

    int Interval() const { return FInterval; }
    // Milliseconds between ticks; a running worker takes the new value at once.
    void SetInterval(int value);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    QThread::Priority Priority() const { return FPriority; }
    void SetPriority(QThread::Priority value);

    std::function<void(TThreadTimer* Sender)> OnTimer;

private:
    void StartWorker();
    void StopWorker();
    void Deliver(uint64_t generation);

    int FInterval = 3000;
    bool FEnabled = false;
    QThread::Priority FPriority = QThread::NormalPriority;
    // Each worker gets a new generation; a tick of an earlier worker that is still queued
    // when the timer is disabled or restarted is recognised and dropped.
    uint64_t FGeneration = 0;
    std::unique_ptr<TTimerThread> FWorker;

    friend class TTimerThread;
};
