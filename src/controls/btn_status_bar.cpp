#include "controls/btn_status_bar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// `color` with each of red, green and blue reduced by `fraction` of itself, truncated.
QColor Shade(const QColor& color, double fraction)
{
    const auto shade = [fraction](int c) { return static_cast<int>(c - c * fraction); };
    return QColor(shade(color.red()), shade(color.green()), shade(color.blue()));
}

// A rectangle given by its edges, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

TBtnStatusBar::TBtnStatusBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BtnStatusBar"));
    FColor = palette().color(QPalette::Button);
    FSavedCursor = cursor();
    setMouseTracking(true);
    // Every pixel is painted; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    UpdateHeight();
}

void TBtnStatusBar::SetItems(const std::vector<std::string>& value)
{
    if (value == FItems)
        return;
    FItems = value;
    FHotIndex = std::min(FHotIndex, ItemCount() - 1);
    FPressedIndex = std::min(FPressedIndex, ItemCount() - 1);
    update();
}

void TBtnStatusBar::SetItem(int index, const std::string& value)
{
    if (index < 0 || index > ItemCount())
        return;
    std::vector<std::string> items = FItems;
    if (index == ItemCount())
        items.push_back(value);
    else
        items[static_cast<size_t>(index)] = value;
    SetItems(items);
}

void TBtnStatusBar::DeleteItem(int index)
{
    if (index < 0 || index >= ItemCount())
        return;
    std::vector<std::string> items = FItems;
    items.erase(items.begin() + index);
    SetItems(items);
}

void TBtnStatusBar::SetHeadColor(const QColor& value)
{
    if (value == FHeadColor)
        return;
    FHeadColor = value;
    update();
}

void TBtnStatusBar::SetHotColor(const QColor& value)
{
    if (value == FHotColor)
        return;
    FHotColor = value;
    update();
}

void TBtnStatusBar::SetColor(const QColor& value)
{
    if (value == FColor)
        return;
    FColor = value;
    update();
}

void TBtnStatusBar::SetSizeGrip(bool value)
{
    if (value == FSizeGrip)
        return;
    FSizeGrip = value;
    update();
}

void TBtnStatusBar::SetShowDivier(bool value)
{
    if (value == FShowDivier)
        return;
    FShowDivier = value;
    update();
}

bool TBtnStatusBar::GripShown() const
{
    return FSizeGrip && !(window()->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

int TBtnStatusBar::ItemWidth() const
{
    const int space = width() - GripWidth * (GripShown() ? 1 : 0);
    return FItems.empty() ? space : space / ItemCount();
}

QRect TBtnStatusBar::ItemRect(int index) const
{
    const int w = ItemWidth();
    const int right = index == ItemCount() - 1 ? width() - GripWidth * (GripShown() ? 1 : 0)
                                               : (index + 1) * w - 2;
    return Edges(w * index, 3, right, height());
}

int TBtnStatusBar::ItemAt(const QPoint& point) const
{
    for (int i = 0; i < ItemCount(); ++i)
        if (ItemRect(i).contains(point))
            return i;
    return -1;
}

std::string TBtnStatusBar::Heading(const std::string& item)
{
    return item.substr(0, item.find('='));
}

std::string TBtnStatusBar::Value(const std::string& item)
{
    const size_t equals = item.find('=');
    return equals == std::string::npos ? std::string() : item.substr(equals + 1);
}

void TBtnStatusBar::paintEvent(QPaintEvent*)
{
    // Qt paints into the window's back buffer and shows it at once; the event's region
    // clips the full paint to what needs it. Lines and dots are filled rectangles, which
    // cover whole device pixels at any scale.
    QPainter canvas(this);
    canvas.fillRect(rect(), FColor);
    const QColor face = palette().color(QPalette::Button);
    static constexpr double shades[3] = {0.1, 0.06, 0.03};
    for (int y = 0; y < 3; ++y)
        canvas.fillRect(0, y, width(), 1, Shade(face, shades[y]));
    for (int i = 0; i < ItemCount(); ++i)
        DrawItem(canvas, i, i == FHotIndex);
}

void TBtnStatusBar::DrawItem(QPainter& canvas, int index, bool hot) const
{
    if (index < 0 || index >= ItemCount())
        return;
    const std::string& item = FItems[static_cast<size_t>(index)];
    const QRect cell = ItemRect(index);
    canvas.fillRect(cell, FColor);
    int left = cell.left();
    int top = cell.top() + 2;
    int right = cell.left() + cell.width();
    int bottom = cell.top() + cell.height() - 1;

    const QFontMetrics metrics(font());
    const QString heading = Q(Heading(item));
    left += 5;
    canvas.setPen(FHeadColor);
    canvas.drawText(Edges(left, top, right, bottom), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    heading);

    // Each item shows its own value, also when two items share a heading.
    left += metrics.horizontalAdvance(heading) + 8;
    right -= 2;
    if (index == FPressedIndex) {
        ++left, ++right;
        ++top, ++bottom;
    }
    canvas.setPen(hot ? FHotColor : palette().color(QPalette::WindowText));
    const QString value = metrics.elidedText(Q(Value(item)), Qt::ElideRight, std::max(0, right - left));
    canvas.drawText(Edges(left, top, right, bottom), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    value);

    if (FShowDivier) {
        canvas.fillRect(right, top, 1, bottom - top, palette().color(QPalette::Dark));
        canvas.fillRect(right + 1, top, 1, bottom - top, palette().color(QPalette::Light));
    }
    if (GripShown() && index == ItemCount() - 1)
        DrawGrip(canvas);
}

void TBtnStatusBar::DrawGrip(QPainter& canvas) const
{
    const int w = width();
    const int h = height();
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    // A staircase of three, two and one raised dots toward the corner.
    for (int n = 3; n >= 1; --n)
        for (int i = 1; i <= n; ++i)
            canvas.fillRect(w - 4 * i, h + 4 * n - 14, 2, 2, light);
    for (int n = 3; n >= 1; --n)
        for (int i = 1; i <= n; ++i)
            canvas.fillRect(w - 4 * i - 1, h + 4 * n - 15, 2, 2, dark);
    canvas.fillRect(w - 20, 4, 1, h - 4, dark);
    canvas.fillRect(w - 19, 4, 1, h - 4, light);
}

void TBtnStatusBar::RepaintItem(int index)
{
    if (index < 0 || index >= ItemCount())
        return;
    // A pressed item's divider lies one pixel right of the item, in the gap.
    update(ItemRect(index).adjusted(0, 0, 2, 0));
}

void TBtnStatusBar::TrackHot(const QPoint& point)
{
    const int item = ItemAt(point);
    if (item == FHotIndex)
        return;
    const int old = FHotIndex;
    FHotIndex = item;
    RepaintItem(old);
    RepaintItem(item);
}

void TBtnStatusBar::UpdateHeight()
{
    setFixedHeight(std::max(MinHeight, fontMetrics().height() + 6));
}

void TBtnStatusBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        UpdateHeight();
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

void TBtnStatusBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The grip comes and goes with the window's maximised state.
    if (FWatchedWindow != window()) {
        if (FWatchedWindow)
            FWatchedWindow->removeEventFilter(this);
        FWatchedWindow = window();
        FWatchedWindow->installEventFilter(this);
    }
}

bool TBtnStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWatchedWindow && event->type() == QEvent::WindowStateChange)
        update();
    return QWidget::eventFilter(watched, event);
}

void TBtnStatusBar::mouseMoveEvent(QMouseEvent* event)
{
    if (FGripDrag) {
        const QPoint delta = event->globalPosition().toPoint() - FDragStart;
        window()->resize(FDragSize + QSize(delta.x(), delta.y()));
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool onGrip = GripShown() && point.x() > width() - GripZone;
    if (onGrip != FOnGrip) {
        FOnGrip = onGrip;
        if (onGrip) {
            FSavedCursor = cursor();
            setCursor(Qt::SizeFDiagCursor);
        } else {
            setCursor(FSavedCursor);
        }
    }
    TrackHot(point);
}

void TBtnStatusBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (GripShown() && point.x() > width() - GripZone) {
        // The window system resizes where it can; elsewhere the window follows the pointer.
        QWindow* handle = window()->windowHandle();
        if (!handle || !handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge)) {
            FGripDrag = true;
            FDragStart = event->globalPosition().toPoint();
            FDragSize = window()->size();
        }
        return;
    }
    const int item = ItemAt(point);
    if (item >= 0) {
        FPressedIndex = item;
        TrackHot(point);
        RepaintItem(item);
    }
    QWidget::mousePressEvent(event);
}

void TBtnStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (FGripDrag) {
        FGripDrag = false;
        return;
    }
    const QPoint point = event->position().toPoint();
    TrackHot(point);
    const int pressed = FPressedIndex;
    FPressedIndex = -1;
    if (pressed < 0)
        return;
    RepaintItem(pressed);
    if (ItemAt(point) == pressed && OnClick)
        OnClick(this, pressed);
}

void TBtnStatusBar::leaveEvent(QEvent* event)
{
    if (FOnGrip) {
        FOnGrip = false;
        setCursor(FSavedCursor);
    }
    const int old = FHotIndex;
    FHotIndex = -1;
    RepaintItem(old);
    QWidget::leaveEvent(event);
}
