#pragma once

#include <QDialog>

#include "fileops/progress.h"
#include "fileops/run_hold.h"

class QLabel;
class QPushButton;
class TXPGauge;

// The progress window of a delete run. It is created hidden at start and lives until the
// program ends; each run shows and closes the same window. The owner is held as for the
// copy window (see TfCopying).
class TfDeleting : public QDialog, public IDeleteProgress {
    Q_OBJECT
public:
    explicit TfDeleting(QWidget* parent = nullptr);

    void SetOwner(QWidget* owner) { FOwner = owner; }
    // True from Begin to End.
    bool Running() const { return FHold.Holding(); }

    void Begin(int total) override;
    void End() override;
    bool Cancelled() const override { return FCancelled; }
    void SetItem(const std::string& name) override;
    void StepFile() override;

    TXPGauge* Gauge() const { return FGauge; }

    void FormShow();
    void bCancelClick();
    void FormClose();

public slots:
    void reject() override { bCancelClick(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* FItem;
    TXPGauge* FGauge;
    QPushButton* FCancel;
    bool FCancelled = false;
    QWidget* FOwner = nullptr;
    TRunHold FHold;
};

extern TfDeleting* fDeleting;
