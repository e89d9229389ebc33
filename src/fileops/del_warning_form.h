#pragma once

#include <QDialog>

class QPushButton;

// The question asked before fonts are uninstalled or deleted. Yes (the focused button, so
// Enter) closes it with ResultYes, No with ResultNo; Esc and the title-bar close give
// ResultCancel. Only Yes goes on.
class TfDelWarning : public QDialog {
    Q_OBJECT
public:
    enum { ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

    explicit TfDelWarning(QWidget* parent = nullptr);

    QPushButton* YesBtn() const { return FYes; }
    QPushButton* NoBtn() const { return FNo; }

public slots:
    void reject() override { done(ResultCancel); }

private:
    QPushButton* FYes;
    QPushButton* FNo;
};
