#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class TThreadTimer;

// Flat, rounded progress bar that fills in blocks or smoothly and can estimate the time
// left from the rate at which Progress advances.
class TXPGauge : public QWidget {
    Q_OBJECT

public:
    explicit TXPGauge(QWidget* parent = nullptr);
    ~TXPGauge() override;

    uint64_t Progress() const { return FProgress; }
    // Ignored when unchanged or above MaxValue. Repaints at once and pumps pending events
    // when the filled step count changes, so a window updates during synchronous work.
    void SetProgress(uint64_t value);

    uint64_t MaxValue() const { return FMaxValue; }
    // Ignored when unchanged or 0.
    void SetMaxValue(uint64_t value);

    int TotalStep() const;
    // Accepted in smooth mode only, for 0 < value <= width - 6; in block mode the block
    // count follows the size.
    void SetTotalStep(int value);

    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);

    QColor BarColor() const { return FBarColor; }
    void SetBarColor(const QColor& value);
    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& value);
    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);
    bool InnerShadow() const { return FInnerShadow; }
    void SetInnerShadow(bool value);

    // Number of filled steps: Progress * TotalStep / MaxValue.
    int StepPosition() const;

    // Latest estimate of the time left in seconds; -1 when there is none.
    int RemainSeconds() const { return FRemainSeconds; }
    std::function<void(TXPGauge* Sender)> OnRemainSeconds;

    // Starts a remaining-time estimate: a new timer, Progress back to 0.
    void Start();
    void Pause() { FPaused = true; }
    void Restart() { FPaused = false; }
    // Ends the estimate: the timer goes, RemainSeconds becomes -1 and OnRemainSeconds is raised.
    void Stop();
    // The estimate's timer; null when no estimate runs.
    TThreadTimer* Timer() const { return FTimer.get(); }
    // Recomputes the estimate; called on the user-interface thread for each timer tick.
    void TimerTick(TThreadTimer* Sender);

    // Milliseconds of a monotonic clock; replaceable so the estimate can be driven exactly.
    std::function<uint64_t()> Clock;

    QSize sizeHint() const override { return {100, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Paint(QPainter& painter) const;
    int BlockCount() const;

    uint64_t FProgress = 0;
    uint64_t FMaxValue = 100;
    // The step count of smooth mode; in block mode it follows the size.
    int FTotalStep = 0;
    bool FSmooth = false;
    QColor FBarColor{0x2E, 0xD3, 0x31};
    QColor FBorderColor{0x3C, 0x3C, 0x3C};
    QColor FColor;
    bool FInnerShadow = true;

    int FRemainSeconds = -1;
    uint64_t FLastTick = 0;
    uint64_t FLastProgress = 0;
    bool FPaused = false;
    std::unique_ptr<TThreadTimer> FTimer;
};
