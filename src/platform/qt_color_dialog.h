#pragma once

#include "platform/color_dialog.h"

class QWidget;

// The colour picker shown with QColorDialog, owned by the given window (or the active one).
class TQtColorDialog : public IColorDialog {
public:
    void SetOwner(QWidget* owner) { FOwner = owner; }
    bool ChooseColor(std::int32_t& color) override;

private:
    QWidget* FOwner = nullptr;
};
