#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "favorites/favorites.h"

class IDialogs;
class QLabel;
class QListWidget;
class QPushButton;

// The modal dialog that picks the favourites group receiving one or more fonts, where a
// new group can be made on the spot. It writes the favourites file itself; its result says
// whether the fonts were written (1) or not (2).
class TfAddFav : public QDialog {
    Q_OBJECT
public:
    using TPromptText = std::function<int(QWidget* Owner, const std::string& Caption,
                                          const std::string& Prompt, std::string& Text)>;

    explicit TfAddFav(IDialogs* dialogs, QWidget* parent = nullptr);

    // Shows the dialog for the fonts `names` (full names) with their `files` and returns 1
    // when they were written into the chosen group, 2 otherwise.
    int Execute(const std::string& fileName, const std::vector<std::string>& names,
                const std::vector<std::string>& files);
    // The part of Execute before the dialog is shown: takes the fonts, shows the name or
    // the count, and lists the groups of the file with the first one selected.
    void Prepare(const std::string& fileName, const std::vector<std::string>& names,
                 const std::vector<std::string>& files);

    void bOKClick();
    void bNewFolderClick();

    // The one-line prompt "New Folder..." asks with; "New Folder..." is disabled without it.
    void SetPromptText(TPromptText prompt);

    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lFontName = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* lbGroup = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCancel = nullptr;
    QPushButton* bNewFolder = nullptr;

private:
    void Report(const std::string& text);
    void AddGroupRow(const std::string& name);

    IDialogs* FDialogs;
    TPromptText FPromptText;
    TFavorites FFavorites{std::string()};
    std::vector<std::string> FNames;
    std::vector<std::string> FFiles;
    // The group names of lbGroup's rows, as bytes.
    std::vector<std::string> FGroups;
};

// One message for fonts whose names cannot be favourites; empty when there are none.
std::string LeftOutText(const std::vector<std::string>& leftOut);
