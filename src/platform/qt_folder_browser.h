#pragma once

#include "platform/folder_browser.h"

class QWidget;

// The folder picker shown with QFileDialog (the desktop's own dialog where there is one),
// owned by the given window (or the active one).
class TQtFolderBrowser : public IFolderBrowser {
public:
    void SetOwner(QWidget* owner) { FOwner = owner; }
    std::string BrowseForFolder(const std::string& title, const std::string& start) override;

private:
    QWidget* FOwner = nullptr;
};
