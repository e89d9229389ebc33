#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/locale_info.h"

namespace fonzeta::test {

// Records every message box and answers from a queue of scripted answers (the first
// button of the box when the queue is empty: OK or Yes).
class TScriptedDialogs : public IDialogs {
public:
    struct TShown {
        std::string Text;
        std::string Caption;
        TMsgIcon Icon;
        TMsgButtons Buttons;
    };

    TMsgAnswer MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon,
                          TMsgButtons buttons) override
    {
        Shown.push_back({text, caption, icon, buttons});
        if (!Answers.empty()) {
            const TMsgAnswer answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel ? TMsgAnswer::Ok
                                                                              : TMsgAnswer::Yes;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : Shown)
            texts.push_back(shown.Text);
        return texts;
    }

    std::vector<TShown> Shown;
    std::deque<TMsgAnswer> Answers;
};

class TFakeLocale : public ILocaleInfo {
public:
    explicit TFakeLocale(uint16_t langId = 0x0409, std::string separator = ",")
        : LangID(langId), Separator(std::move(separator))
    {
    }
    uint16_t UserLangID() const override { return LangID; }
    std::string ThousandsSeparator() const override { return Separator; }

    uint16_t LangID;
    std::string Separator;
};

}  // namespace fonzeta::test
