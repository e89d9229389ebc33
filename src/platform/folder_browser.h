#pragma once

#include <string>

// The folder picker, behind an interface so that tests can answer it.
class IFolderBrowser {
public:
    virtual ~IFolderBrowser() = default;
    // Lets the user choose a folder (folders only), starting on `start` when it is not empty.
    // Returns the chosen folder's path, or an empty text when the user cancelled.
    virtual std::string BrowseForFolder(const std::string& title, const std::string& start) = 0;
};
