#pragma once

#include <QColor>
#include <QCursor>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

// The main window's status bar: a row of equal-width items, each a heading and a value
// ("Heading=Value"), drawn flat. The item under the pointer shows its value in HotColor, a
// pressed item is drawn one pixel down and right, and pressing and releasing the left button
// on the same item raises OnClick with its index. A grip in the bottom-right corner resizes
// the main window; it is left out while the window is maximised or full screen.
class TBtnStatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int GripWidth = 18;
    // Pointer x beyond client width minus this is the grip's zone.
    static constexpr int GripZone = 20;
    static constexpr int MinHeight = 19;

    explicit TBtnStatusBar(QWidget* parent = nullptr);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& value);
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    // Replaces item `index` (appends when `index` is the count); other indexes are ignored.
    void SetItem(int index, const std::string& value);
    void DeleteItem(int index);

    QColor HeadColor() const { return FHeadColor; }
    void SetHeadColor(const QColor& value);
    QColor HotColor() const { return FHotColor; }
    void SetHotColor(const QColor& value);
    // The background.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    bool ShowDivier() const { return FShowDivier; }
    void SetShowDivier(bool value);

    // The grip is drawn and reacts: SizeGrip on and the window neither maximised nor full
    // screen.
    bool GripShown() const;
    int ItemWidth() const;
    QRect ItemRect(int index) const;
    // The first item whose rectangle holds `point`; -1 when none.
    int ItemAt(const QPoint& point) const;
    int HotIndex() const { return FHotIndex; }
    int PressedIndex() const { return FPressedIndex; }

    // The part of an item before the first "=" and the rest.
    static std::string Heading(const std::string& item);
    static std::string Value(const std::string& item);

    std::function<void(TBtnStatusBar* Sender, int Index)> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawItem(QPainter& canvas, int index, bool hot) const;
    void DrawGrip(QPainter& canvas) const;
    void RepaintItem(int index);
    void TrackHot(const QPoint& point);
    void UpdateHeight();

    std::vector<std::string> FItems;
    QColor FHeadColor = QColor(0, 0, 255);
    QColor FHotColor = QColor(255, 0, 0);
    QColor FColor;
    bool FSizeGrip = true;
    bool FShowDivier = true;
    int FHotIndex = -1;
    int FPressedIndex = -1;
    bool FOnGrip = false;
    QCursor FSavedCursor;
    // Resizing by following the pointer, where the window system does not do it.
    bool FGripDrag = false;
    QPoint FDragStart;
    QSize FDragSize;
    QWidget* FWatchedWindow = nullptr;
};
