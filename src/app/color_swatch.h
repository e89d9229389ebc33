#pragma once

#include <QWidget>

#include <functional>

#include "preview/color32.h"

// A small filled rectangle with a black frame that shows a colour and reports a mouse
// button released over it (the colour pickers of the main window).
class TColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit TColorSwatch(int tag, QWidget* parent = nullptr);

    int Tag() const { return FTag; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor color);

    std::function<void(TColorSwatch* sender)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int FTag;
    TColor FBrushColor = clWhite;
};
