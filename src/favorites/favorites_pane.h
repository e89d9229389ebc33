#pragma once

#include <QListWidget>
#include <QPixmap>
#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QAction;
class QToolBar;
class QToolButton;
class TFavorites;

// Item data roles of lbFav.
enum : int { FavKindRole = Qt::UserRole + 1 };

// The orange of the group that fonts are being dragged onto.
inline constexpr QRgb FavDropColor = qRgb(255, 128, 0);

// The favourites list: one row per group header and font, drawn by the owner's rules
// (glyph, bold headers, the drop-target group in orange), rows of fixed height 18. Drag
// events and double clicks are handed to the owner's handlers.
class TFavListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    explicit TFavListBox(QWidget* parent = nullptr);

    // The group header index that fonts are dragged onto; -1 for none.
    int Tag() const { return FTag; }
    void SetTag(int value);
    // Index of the group header at or above `index`, from the rows' kinds; -1 for none.
    int GroupIndexOfItem(int index) const;
    // Index of the row at client point `pos` of the viewport; -1 over empty space.
    int ItemAt(const QPoint& pos) const;

    const QPixmap& FontGlyph() const { return FFontGlyph; }
    const QPixmap& FolderGlyph() const { return FFolderGlyph; }

    // Accept is preset to false; the handler decides.
    std::function<void(TFavListBox* Sender, QDragMoveEvent* Event, bool& Accept)> OnDragOver;
    std::function<void(TFavListBox* Sender, QDropEvent* Event)> OnDragDrop;
    std::function<void(TFavListBox* Sender)> OnEndDrag;
    std::function<void(TFavListBox* Sender)> OnDblClick;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int FTag = -1;
    QPixmap FFontGlyph;
    QPixmap FFolderGlyph;
};

// The title strip of the pane: a caption over three shaded lines, and a close button at
// its right end.
class TFavTitle : public QWidget {
    Q_OBJECT
public:
    explicit TFavTitle(QWidget* parent = nullptr);
    QToolButton* CloseButton() const { return FClose; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* FClose = nullptr;
};

// The favourites pane at the left of the main window: title strip, a toolbar with "Add"
// and "New Folder", a hint shown while there are no favourites, and the list. It holds no
// logic of its own; the main window connects its controls.
class TFavoritesPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int PaneWidth = 172;

    explicit TFavoritesPane(QWidget* parent = nullptr);

    // The pane's own width, which the splitter gives it when it opens.
    QSize sizeHint() const override;

    // Shows the items of `favorites` (their kinds in FavKindRole) and the hint when there
    // are none. No row is current afterwards.
    void ShowItems(const TFavorites& favorites);

    TFavTitle* pFavTitle = nullptr;
    QToolButton* sbFavPaneClose = nullptr;
    QToolBar* ToolBar = nullptr;
    QToolButton* ToolButton5 = nullptr;  // "Add"
    QToolButton* tbNewFolder = nullptr;
    QLabel* Label2 = nullptr;
    TFavListBox* lbFav = nullptr;
    QMenu* pmFav = nullptr;
    QAction* Rename1 = nullptr;
    QAction* Delete1 = nullptr;
};
