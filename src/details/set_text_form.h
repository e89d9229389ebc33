#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class IDialogs;
class QPlainTextEdit;
class TXPButton;
class TIniFile;

// The editor of the sample texts offered by the main window's text box: one text per line,
// kept in the [History] section of the settings file.
class TfSetText : public QDialog {
    Q_OBJECT
public:
    // `settingsFile` is fonzeta.ini; `dialogs` tells the user when it cannot be written.
    TfSetText(const std::string& settingsFile, IDialogs* dialogs, QWidget* parent = nullptr);
    ~TfSetText() override;

    // The memo's lines trimmed of blanks, empty ones left out.
    std::vector<std::string> Texts() const;

    // Fills the memo from [History].
    void FormShow();
    // Rewrites [History] from the memo in one step and closes with Accepted; when the file
    // cannot be written the user is told why and the window stays open.
    void bSaveClick();

    QPlainTextEdit* Memo1 = nullptr;
    TXPButton* bSave = nullptr;
    TXPButton* bCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<TIniFile> FIni;
    IDialogs* FDialogs;
};
