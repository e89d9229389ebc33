#pragma once

#include <QDialog>

// The progress window of a copy run. It is created hidden at start and lives until the
// program ends; each run shows and closes the same window.
class TfCopying : public QDialog {
    Q_OBJECT
public:
    explicit TfCopying(QWidget* parent = nullptr);
};

extern TfCopying* fCopying;
