#pragma once

#include <string>

enum class TMsgIcon { None, Information, Warning, Error, Question };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

// Every modal message box of the program goes through this interface, so that tests can
// answer them and a scan of a folder of broken files never waits for a person.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    virtual TMsgAnswer MessageBox(const std::string& text, const std::string& caption,
                                  TMsgIcon icon, TMsgButtons buttons) = 0;

    // MessageBox with a check box labelled `checkText` under the text; `checked` tells
    // whether it was ticked when the box closed. A dialog service without check boxes shows
    // the plain box and leaves `checked` false.
    virtual TMsgAnswer MessageBoxWithCheck(const std::string& text, const std::string& caption,
                                           TMsgIcon icon, TMsgButtons buttons,
                                           const std::string& checkText, bool& checked)
    {
        (void)checkText;
        checked = false;
        return MessageBox(text, caption, icon, buttons);
    }

    // A plain box with only a text and an OK button.
    void ShowMessage(const std::string& text)
    {
        MessageBox(text, std::string(), TMsgIcon::None, TMsgButtons::Ok);
    }
};
