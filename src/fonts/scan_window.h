#pragma once

#include <QDialog>

#include <string>

class QLabel;
class TXPGauge;

// The small modeless window shown while a folder or the installed fonts are scanned:
// the number of fonts found out of the total, the name of the latest one, and a gauge.
// It is created once and reused by every scan; the user cannot close it.
class TfScan : public QDialog {
    Q_OBJECT

public:
    explicit TfScan(QWidget* parent = nullptr);

    // Starts a scan of `total` files: count 0, gauge empty with `total` as its maximum,
    // texts of the previous scan cleared.
    void SetTotal(int total);
    // One font was found: shows its name, advances the gauge and the count, and lets the
    // window repaint.
    void StepFont(const std::string& fontName);
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

    QLabel* FCountLabel;
    QLabel* FFontName;
    TXPGauge* FGauge;
    int FTotal = 0;
    int FCount = 0;
};
