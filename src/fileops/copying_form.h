#pragma once

#include <QDialog>

#include "fileops/progress.h"
#include "fileops/run_hold.h"

class QLabel;
class QPushButton;
class TXPGauge;

// The progress window of a copy run. It is created hidden at start and lives until the
// program ends; each run shows and closes the same window. While a run is in progress its
// owner is disabled and cannot be closed; only the run's end gives the owner back, so
// closing this window (which stops the run) never lets a second command start inside it.
class TfCopying : public QDialog, public ICopyProgress {
    Q_OBJECT
public:
    explicit TfCopying(QWidget* parent = nullptr);

    // The window disabled during a run; not owned.
    void SetOwner(QWidget* owner) { FOwner = owner; }
    // True from Begin to End.
    bool Running() const { return FHold.Holding(); }

    void Begin(const std::string& title) override;
    void End() override;
    bool Cancelled() const override { return FCancelled; }
    void SetSource(const std::string& name) override;
    void SetDest(const std::string& name) override;
    int Current() const override { return FCurrent; }
    void SetCurrent(int number) override;
    void SetTotal(int number) override;
    void SetFileText(const std::string& text) override;
    void SetTotalSizeText(const std::string& text) override;
    void SetMaxBytes(uint64_t total) override;
    void AddBytes(uint64_t count) override;
    void StartEstimate() override;

    int Total() const { return FTotal; }
    TXPGauge* Gauge() const { return FGauge; }

    void UpdatePath();
    void FormShow();
    void XPButton1Click();
    void FormClose();

public slots:
    // Esc is the Cancel button.
    void reject() override { XPButton1Click(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowCount();

    QLabel* FPath;
    QLabel* FFileName;
    QLabel* FCount;
    QLabel* FTotalSize;
    TXPGauge* FGauge;
    QPushButton* FCancel;
    int FCurrent = 0;
    int FTotal = 0;
    std::string FSource;
    std::string FDest;
    bool FCancelled = false;
    QWidget* FOwner = nullptr;
    TRunHold FHold;
};

extern TfCopying* fCopying;
