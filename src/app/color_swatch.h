#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

// A small filled rectangle with a black frame that shows a colour and reports a mouse
// button released over it (the colour pickers of the main window).
class TColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit TColorSwatch(int tag, QWidget* parent = nullptr);

    int Tag() const { return FTag; }
    // 0x00BBGGRR, already resolved to RGB.
    std::int32_t BrushColor() const { return FBrushColor; }
    void SetBrushColor(std::int32_t color);

    std::function<void(TColorSwatch* sender)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int FTag;
    std::int32_t FBrushColor = 0xFFFFFF;
};
