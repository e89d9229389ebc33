#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class TXPGauge;

// The small modeless window shown while a folder or the installed fonts are scanned:
// the number of fonts found out of the total, the name of the latest one, and a gauge.
// It is created once and reused by every scan; the user cannot close it.
//
// A scan may find thousands of fonts a second. Bringing every one to the screen would cost
// far more than reading it, so the count, the name and the gauge reach the screen (and
// pending events are processed) at most once per ShowInterval, and once more by Finish.
class TfScan : public QDialog {
    Q_OBJECT

public:
    explicit TfScan(QWidget* parent = nullptr);

    // Starts a scan of `total` files: count 0, gauge empty with `total` as its maximum,
    // texts of the previous scan cleared.
    void SetTotal(int total);
    // One font was found: counts it, and when ShowInterval has passed since the window was
    // last brought up to date, shows its name, the count and the gauge and lets the
    // window repaint and take input.
    void StepFont(const std::string& fontName);
    // The scan ended: the last name, count and gauge are shown.
    void Finish();

    // Milliseconds from any fixed start; tests give a clock of their own.
    using TClock = std::function<int64_t()>;
    void SetClock(TClock clock);
    static constexpr int64_t ShowInterval = 30;
    // Places the window centred over `owner` (nothing happens without an owner).
    void CenterOver(const QWidget* owner);
    // Shows the window without making it modal; hide() hides it for the next scan.
    void ShowModeless();

    int Total() const { return FTotal; }
    int Counted() const { return FCount; }
    TXPGauge* Gauge() const { return FGauge; }

    // The small icon of the window's band, drawn here rather than loaded.
    static QPixmap ScanIcon();

public slots:
    // The window has no close button and Esc does not hide it: only the scan does.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowCount();
    void ShowProgress();

    QLabel* FCountLabel;
    QLabel* FFontName;
    TXPGauge* FGauge;
    int FTotal = 0;
    int FCount = 0;
    std::string FLatestName;
    TClock FClock;
    int64_t FLastShown = 0;
    bool FShownOnce = false;
};
