#pragma once

#include <QDialog>

// The progress window of a delete run. It is created hidden at start and lives until the
// program ends; each run shows and closes the same window.
class TfDeleting : public QDialog {
    Q_OBJECT
public:
    explicit TfDeleting(QWidget* parent = nullptr);
};

extern TfDeleting* fDeleting;
