#pragma once

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// The XP-look controls: each is the Qt widget it looks like, drawn by the shared TXPStyle,
// so keyboard, mnemonics, default and cancel buttons, lists, editing and accessibility are
// Qt's. Each takes the constructors of its base and can replace it anywhere.

// A push button: rounded dark-blue frame on white, a bevel, and two blue lines at the
// bottom while it has the focus or is the dialog's default.
class TXPButton : public QPushButton {
    Q_OBJECT
public:
    explicit TXPButton(QWidget* parent = nullptr);
    explicit TXPButton(const QString& text, QWidget* parent = nullptr);
    TXPButton(const QIcon& icon, const QString& text, QWidget* parent = nullptr);
};

// A check box with a 13 × 13 box at the left and its caption 17 pixels in, blue while it
// has the focus. `toggled` is raised for every change of `Checked`.
class TXPCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TXPCheckBox(QWidget* parent = nullptr);
    explicit TXPCheckBox(const QString& text, QWidget* parent = nullptr);

    bool Checked() const { return isChecked(); }
    void SetChecked(bool value) { setChecked(value); }

    QColor FocusedColor() const { return FFocusedColor; }
    void SetFocusedColor(const QColor& value);

private:
    void Init();
    QColor FFocusedColor{0x00, 0x00, 0xFF};
};

// A radio button. Buttons with the same `GroupIndex` under the same parent are exclusive;
// clicking a checked one keeps it checked and gaining the focus checks it. The group is one
// tab stop, its checked button or else its first, and the arrow keys move within it.
class TXPRadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit TXPRadioButton(QWidget* parent = nullptr);
    explicit TXPRadioButton(const QString& text, QWidget* parent = nullptr);
    ~TXPRadioButton() override;

    bool Checked() const { return isChecked(); }
    void SetChecked(bool value) { setChecked(value); }

    QColor FocusedColor() const { return FFocusedColor; }
    void SetFocusedColor(const QColor& value);

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);

    // The buttons of this button's group, this one included, in their parent's order.
    QList<TXPRadioButton*> Group() const;

protected:
    void nextCheckState() override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Init();
    void Toggled(bool checked);
    // Gives the group's tab stop the tab focus and the other buttons click focus only.
    static void UpdateTabStops(QWidget* parent, int groupIndex, const TXPRadioButton* leaving);

    QColor FFocusedColor{0x00, 0x00, 0xFF};
    int FGroupIndex = 0;
};

// A combo box with a thin blue-grey frame and its own drop button, pressed while the left
// button went down on it until the list closes or the button comes up.
class TXPComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TXPComboBox(QWidget* parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& value);
    bool Pressed() const { return FPressed; }

    void hidePopup() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetPressed(bool value);

    QColor FBorderColor{0x7F, 0x9D, 0xB9};
    bool FPressed = false;
};

// A one-line edit with a 1-pixel frame in `BorderColor` and a 1-pixel inner margin; its
// natural height is the font's height plus 4.
class TXPEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TXPEdit(QWidget* parent = nullptr);
    explicit TXPEdit(const QString& contents, QWidget* parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& value);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Init();
    QColor FBorderColor{0x7F, 0x9D, 0xB9};
};

// A group box: a rounded grey frame whose top line is broken by the caption.
class TXPGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TXPGroupBox(QWidget* parent = nullptr);
    explicit TXPGroupBox(const QString& title, QWidget* parent = nullptr);

    QColor LineColor() const { return FLineColor; }
    void SetLineColor(const QColor& value);

private:
    QColor FLineColor{0x80, 0x80, 0x80};
};
