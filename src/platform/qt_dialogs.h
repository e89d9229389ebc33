#pragma once

#include "platform/dialogs.h"

class QWidget;

// Message boxes shown with QMessageBox, owned by the given window (or the active one).
class TQtDialogs : public IDialogs {
public:
    void SetOwner(QWidget* owner) { FOwner = owner; }
    TMsgAnswer MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon,
                          TMsgButtons buttons) override;
    TMsgAnswer MessageBoxWithCheck(const std::string& text, const std::string& caption,
                                   TMsgIcon icon, TMsgButtons buttons,
                                   const std::string& checkText, bool& checked) override;

private:
    TMsgAnswer Show(const std::string& text, const std::string& caption, TMsgIcon icon,
                    TMsgButtons buttons, const std::string* checkText, bool* checked);

    QWidget* FOwner = nullptr;
};
