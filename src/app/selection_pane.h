#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QListView;
class QToolButton;
class TSelectedModel;

// The title strip of a side pane: its caption at the left over three grey lines along the
// bottom (229, 206 and 174 from top to bottom).
class TPaneTitle : public QWidget {
    Q_OBJECT
public:
    explicit TPaneTitle(QWidget* parent = nullptr);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FCaption;
};

// The selection pane: a title with a close button, the hint shown while nothing is marked,
// and `lbSelected`, the list of the marked fonts (each entry the font picture and its name).
// It raises OnEntryClick when the user chooses an entry with the left button or the
// keyboard; the right button only selects the entry under the pointer.
class TSelectionPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int PaneWidth = 169;
    static constexpr int TitleHeight = 20;
    static constexpr int HintHeight = 26;
    static constexpr int EntryHeight = 18;

    explicit TSelectionPane(QWidget* parent = nullptr);

    TSelectedModel& Model() const { return *FModel; }
    QSize sizeHint() const override { return QSize(PaneWidth, 300); }
    // The preview index of the list's selected entry; -1 when no entry is selected.
    int SelectedEntryIndex() const;
    // Shows or hides the hint under the title; the list takes the room.
    void SetHintShown(bool value);
    // Entries are at least EntryHeight high, more when the list's font needs it.
    int EntryHeightNow() const;

    TPaneTitle* pSelTitle = nullptr;
    QToolButton* sbSelPaneClose = nullptr;
    QLabel* Label1 = nullptr;
    QListView* lbSelected = nullptr;

    std::function<void()> OnEntryClick;
    std::function<void()> OnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Arrange();

    TSelectedModel* FModel = nullptr;
    // Set while code moves the list's selection: that is no click.
    bool FQuiet = false;
};
