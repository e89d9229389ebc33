#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/folder_browser.h"

namespace fonzeta::test {

// Answers the folder picker from a queue of paths (an empty path is Cancel; an empty queue
// cancels) and records what each call offered.
class TScriptedFolderBrowser : public IFolderBrowser {
public:
    struct TOffer {
        std::string Title;
        std::string Start;
    };

    std::string BrowseForFolder(const std::string& title, const std::string& start) override
    {
        Offers.push_back({title, start});
        if (Answers.empty())
            return std::string();
        std::string answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::deque<std::string> Answers;
    std::vector<TOffer> Offers;
};

}  // namespace fonzeta::test
