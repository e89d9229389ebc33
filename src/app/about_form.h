#pragma once

#include <QDialog>

#include <string>

class IDocumentOpener;
class QLabel;

// The About box: the program's name and date, who writes it, and where to reach them.
// The e-mail and home-page lines open the mail program and the browser.
class TfAbout : public QDialog {
    Q_OBJECT
public:
    TfAbout(IDocumentOpener* opener, QWidget* parent = nullptr);

    // Shows the folder that holds the settings and favourites, the home folder written as
    // "~"; a path too long for the box is shortened in the middle, whole in the tooltip.
    void SetSettingsFolder(const std::string& folder);

    static constexpr const char* Mail = "fonzeta@example.org";
    static constexpr const char* HomePage = "https://fonzeta.example.org";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLine(const QString& text, const char* name, int top);

    IDocumentOpener* FOpener;
    QLabel* FMailLine = nullptr;
    QLabel* FHomePageLine = nullptr;
    QLabel* FSettingsLine = nullptr;
};
