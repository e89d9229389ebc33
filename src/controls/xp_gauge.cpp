#include "controls/xp_gauge.h"

#include "controls/thread_timer.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

namespace {

constexpr int MinHeight = 6;

uint64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QColor Lighter(const QColor& c, int amount)
{
    return QColor(std::min(255, c.red() + amount), std::min(255, c.green() + amount),
                  std::min(255, c.blue() + amount));
}

void Fill(QPainter& p, const QRect& r, const QColor& c)
{
    if (!r.isEmpty())
        p.fillRect(r, c);
}

}  // namespace

TXPGauge::TXPGauge(QWidget* parent)
    : QWidget(parent), Clock(SteadyMilliseconds), FColor(palette().color(QPalette::Base))
{
    setMinimumHeight(MinHeight);
    resize(100, 20);
    FTotalStep = BlockCount();
}

TXPGauge::~TXPGauge() = default;

// In block mode each block with its gap is (height - 5) pixels wide, so the block count
// follows the size. Derived on demand: a hidden widget gets no resize events.
int TXPGauge::BlockCount() const
{
    return std::max(0, (width() - 6) / std::max(1, height() - 5));
}

int TXPGauge::TotalStep() const
{
    return FSmooth ? FTotalStep : BlockCount();
}

int TXPGauge::StepPosition() const
{
    // A MaxValue lowered below Progress must not fill more than the whole bar; the
    // product is taken in 128 bits so that huge byte counts cannot overflow.
    const uint64_t progress = std::min(FProgress, FMaxValue);
    const auto steps = static_cast<unsigned __int128>(progress) *
                       static_cast<unsigned>(TotalStep()) / FMaxValue;
    return static_cast<int>(steps);
}

void TXPGauge::SetProgress(uint64_t value)
{
    if (value == FProgress || value > FMaxValue)
        return;
    const int before = StepPosition();
    FProgress = value;
    // The run is complete: no further estimates, the last one stays. Done before the
    // event pump below, after which this object is not touched again.
    if (FProgress == FMaxValue)
        FTimer.reset();
    if (StepPosition() != before) {
        repaint();
        QCoreApplication::processEvents();
    }
}

void TXPGauge::SetMaxValue(uint64_t value)
{
    if (value == FMaxValue || value == 0)
        return;
    const int before = StepPosition();
    FMaxValue = value;
    if (StepPosition() != before)
        update();
}

void TXPGauge::SetTotalStep(int value)
{
    if (!FSmooth || value == FTotalStep || value <= 0 || value > width() - 6)
        return;
    const int before = StepPosition();
    FTotalStep = value;
    if (StepPosition() != before)
        update();
}

void TXPGauge::SetSmooth(bool value)
{
    if (value == FSmooth)
        return;
    // Smooth mode starts from the block count the bar had.
    if (value)
        FTotalStep = BlockCount();
    FSmooth = value;
    update();
}

void TXPGauge::SetBarColor(const QColor& value)
{
    if (value == FBarColor)
        return;
    FBarColor = value;
    update();
}

void TXPGauge::SetBorderColor(const QColor& value)
{
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    update();
}

void TXPGauge::SetColor(const QColor& value)
{
    if (value == FColor)
        return;
    FColor = value;
    update();
}

void TXPGauge::SetInnerShadow(bool value)
{
    if (value == FInnerShadow)
        return;
    FInnerShadow = value;
    update();
}

void TXPGauge::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (height() < MinHeight) {
        // Also when a fixed height below the minimum was forced on it.
        setMaximumHeight(std::max(maximumHeight(), MinHeight));
        resize(width(), MinHeight);
    }
}

void TXPGauge::paintEvent(QPaintEvent* event)
{
    // The widget's backing store already double-buffers; only the damaged area is drawn.
    QPainter painter(this);
    painter.setClipRect(event->rect());
    Paint(painter);
}

void TXPGauge::Paint(QPainter& p) const
{
    const int w = width();
    const int h = height();

    // Rounded outline: the corners are cut by one diagonal pixel, and what lies outside
    // them is left to the parent.
    Fill(p, QRect(1, 1, w - 2, h - 2), FColor);
    Fill(p, QRect(2, 0, w - 4, 1), FBorderColor);
    Fill(p, QRect(2, h - 1, w - 4, 1), FBorderColor);
    Fill(p, QRect(0, 2, 1, h - 4), FBorderColor);
    Fill(p, QRect(w - 1, 2, 1, h - 4), FBorderColor);
    for (const QPoint corner : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2)})
        Fill(p, QRect(corner, QSize(1, 1)), FBorderColor);

    if (FInnerShadow) {
        const QColor shadow(std::abs(FColor.red() - 60), std::abs(FColor.green() - 60),
                            std::abs(FColor.blue() - 60));
        Fill(p, QRect(2, 1, w - 4, 1), shadow);
        Fill(p, QRect(1, 2, 1, h - 4), shadow);
        Fill(p, QRect(2, 2, 1, 1), shadow);
    }

    const int totalStep = TotalStep();
    if (totalStep <= 0)
        return;
    const int position = StepPosition();

    const int block = h - 5;
    int right;
    if (FSmooth) {
        right = (w - 6) * position / totalStep + 3;
    } else {
        right = block * position + 3;
        // The last block also takes a remainder too narrow for a block of its own.
        if (w - 3 - right < block)
            right = w - 3;
    }
    const int barWidth = right - 3;
    Fill(p, QRect(3, 3, barWidth, h - 6), FBarColor);

    const int barHeight = h - 6;
    int rows = barHeight % 2 == 0 ? (barHeight - 2) / 2 : (barHeight - 1) / 2;
    rows = std::min(rows, 2);
    for (int i = 0; i < rows; ++i) {
        const QColor light = Lighter(FBarColor, (rows - i) * 30);
        Fill(p, QRect(3, i + 3, barWidth, 1), light);
        Fill(p, QRect(3, h - i - 4, barWidth, 1), light);
    }

    if (!FSmooth) {
        for (int j = 1; j <= position; ++j)
            Fill(p, QRect(j * block + 1, 3, 2, h - 6), FColor);
    }
}

void TXPGauge::Start()
{
    FTimer.reset();
    FTimer = std::make_unique<TThreadTimer>();
    FProgress = 0;
    FLastProgress = 0;
    FPaused = false;
    update();
    FTimer->OnTimer = [this](TThreadTimer* sender) { TimerTick(sender); };
    FTimer->SetEnabled(true);
    FLastTick = Clock();
}

void TXPGauge::Stop()
{
    if (FTimer) {
        FTimer->OnTimer = nullptr;
        FTimer->SetEnabled(false);
        FTimer.reset();
    }
    FRemainSeconds = -1;
    if (OnRemainSeconds)
        OnRemainSeconds(this);
}

void TXPGauge::TimerTick(TThreadTimer*)
{
    if (FPaused)
        return;
    const uint64_t now = Clock();
    if (now <= FLastTick)
        return;
    // Signed differences: Progress may have been set back since the last tick.
    const double advanced = static_cast<double>(FProgress) - static_cast<double>(FLastProgress);
    const double rate = 10.0 * advanced / static_cast<double>(now - FLastTick);
    FLastTick = now;
    FLastProgress = FProgress;
    if (rate <= 0)
        return;

    const double left = std::max(0.0, static_cast<double>(FMaxValue) - static_cast<double>(FProgress));
    const double seconds = std::trunc(left / rate * 10.0 * 0.001);
    // A crawling rate over a huge total must not overflow the int.
    FRemainSeconds = seconds >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(seconds);

    QPointer<TXPGauge> alive(this);
    if (OnRemainSeconds)
        OnRemainSeconds(this);
    QCoreApplication::processEvents();
    if (!alive)
        return;
    // Near the end the estimate stops changing; keep the last one.
    if (FRemainSeconds < 3 && FTimer)
        FTimer->SetEnabled(false);
}
