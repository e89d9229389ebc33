#pragma once

#include <QDialog>

class IDocumentOpener;
class QLabel;

// The About box: the program's name and date, who writes it, and where to reach them.
// The e-mail and home-page lines open the mail program and the browser.
class TfAbout : public QDialog {
    Q_OBJECT
public:
    TfAbout(IDocumentOpener* opener, QWidget* parent = nullptr);

    static constexpr const char* Mail = "fonzeta@example.org";
    static constexpr const char* HomePage = "https://fonzeta.example.org";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLine(const QString& text, const char* name, int top);

    IDocumentOpener* FOpener;
    QLabel* FMailLine = nullptr;
    QLabel* FHomePageLine = nullptr;
};
