#include "controls/xp_controls.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A dialog built from all six controls, placed by hand as the program's dialogs are.
struct AllSix : QDialog {
    TXPEdit* Edit = new TXPEdit(this);
    TXPComboBox* Combo = new TXPComboBox(this);
    TXPCheckBox* Check = new TXPCheckBox(QStringLiteral("&Wrap lines"), this);
    TXPGroupBox* Group = new TXPGroupBox(QStringLiteral("&Range"), this);
    TXPRadioButton* All = new TXPRadioButton(QStringLiteral("&All fonts"), Group);
    TXPRadioButton* Marked = new TXPRadioButton(QStringLiteral("&Marked fonts"), Group);
    TXPRadioButton* Current = new TXPRadioButton(QStringLiteral("C&urrent font"), Group);
    TXPButton* Ok = new TXPButton(QStringLiteral("OK"), this);
    TXPButton* Cancel = new TXPButton(QStringLiteral("Cancel"), this);

    AllSix()
    {
        setObjectName(QStringLiteral("AllSix"));
        Edit->setGeometry(10, 10, 150, Edit->height());
        Combo->setGeometry(10, 40, 150, 21);
        Combo->setEditable(true);
        Combo->addItems({QStringLiteral("8"), QStringLiteral("10")});
        Check->move(10, 70);
        Group->setGeometry(10, 95, 180, 90);
        All->move(10, 20);
        Marked->move(10, 40);
        Current->move(10, 60);
        Ok->setGeometry(200, 10, 75, 23);
        Ok->setDefault(true);
        Cancel->setGeometry(200, 40, 75, 23);
        connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
        resize(290, 200);
    }

    bool Open()
    {
        show();
        QApplication::setActiveWindow(this);
        return QTest::qWaitForWindowActive(this);
    }
};

// The control that has the focus; an editable combo box's line edit counts as the combo.
QWidget* Focused()
{
    QWidget* w = QApplication::focusWidget();
    if (w && qobject_cast<QComboBox*>(w->parentWidget()))
        return w->parentWidget();
    return w;
}

}  // namespace

TEST(XPKeyboard, TabVisitsEachControlOnceAndTheRadioGroupAtItsCheckedButton)
{
    AllSix dialog;
    ASSERT_TRUE(dialog.Open());
    dialog.Edit->setFocus(Qt::TabFocusReason);

    // No radio checked yet: the group is reached at its first button, which tabbing checks.
    std::vector<QWidget*> visited;
    for (int i = 0; i < 6; ++i) {
        visited.push_back(Focused());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QWidget*> expected = {dialog.Edit, dialog.Combo, dialog.Check,
                                            dialog.All,  dialog.Ok,    dialog.Cancel};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(Focused(), dialog.Edit);
    EXPECT_TRUE(dialog.All->isChecked());

    // With the third checked, tabbing lands on it and Shift+Tab comes back to it.
    dialog.Current->setChecked(true);
    EXPECT_FALSE(dialog.All->isChecked());
    dialog.Check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.Check, Qt::Key_Tab);
    EXPECT_EQ(Focused(), dialog.Current);
    QTest::keyClick(dialog.Current, Qt::Key_Tab);
    EXPECT_EQ(Focused(), dialog.Ok);
    QTest::keyClick(dialog.Ok, Qt::Key_Backtab);
    EXPECT_EQ(Focused(), dialog.Current);
    QTest::keyClick(dialog.Current, Qt::Key_Backtab);
    EXPECT_EQ(Focused(), dialog.Check);
}

TEST(XPKeyboard, ArrowsMoveWithinTheGroupAndCheck)
{
    AllSix dialog;
    ASSERT_TRUE(dialog.Open());
    QSignalSpy toggles(dialog.Marked, &QAbstractButton::toggled);
    dialog.All->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(dialog.All->isChecked());

    QTest::keyClick(dialog.All, Qt::Key_Down);
    EXPECT_EQ(Focused(), dialog.Marked);
    EXPECT_TRUE(dialog.Marked->isChecked());
    EXPECT_FALSE(dialog.All->isChecked());
    EXPECT_EQ(toggles.count(), 1);

    QTest::keyClick(dialog.Marked, Qt::Key_Right);
    EXPECT_TRUE(dialog.Current->isChecked());
    // Past the last comes the first again, and a disabled button is skipped.
    dialog.All->setEnabled(false);
    QTest::keyClick(dialog.Current, Qt::Key_Down);
    EXPECT_EQ(Focused(), dialog.Marked);
    QTest::keyClick(dialog.Marked, Qt::Key_Up);
    EXPECT_EQ(Focused(), dialog.Current);
    EXPECT_TRUE(dialog.Current->isChecked());
    EXPECT_FALSE(dialog.Marked->isChecked());
}

TEST(XPKeyboard, SpaceAndMnemonicsToggleTheCheckBoxAndCheckRadios)
{
    AllSix dialog;
    ASSERT_TRUE(dialog.Open());
    QSignalSpy toggles(dialog.Check, &QAbstractButton::toggled);
    dialog.Check->setFocus(Qt::TabFocusReason);

    QTest::keyClick(dialog.Check, Qt::Key_Space);
    EXPECT_TRUE(dialog.Check->Checked());
    QTest::keyClick(dialog.Check, Qt::Key_Space);
    EXPECT_FALSE(dialog.Check->Checked());
    EXPECT_EQ(toggles.count(), 2);

    dialog.Edit->setFocus(Qt::TabFocusReason);
    // A mnemonic focuses at once and clicks a moment later, as Qt animates the press.
    QTest::keyClick(&dialog, Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Check->Checked(); }));
    EXPECT_EQ(Focused(), dialog.Check);
    dialog.Check->SetChecked(false);
    EXPECT_EQ(toggles.count(), 4);

    QTest::keyClick(&dialog, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(Focused(), dialog.Marked);
    EXPECT_TRUE(dialog.Marked->isChecked());
    QTest::qWait(300);
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(dialog.Current->isChecked());
    EXPECT_FALSE(dialog.Marked->isChecked());
    // Space on a checked radio button keeps it checked.
    QTest::keyClick(dialog.Current, Qt::Key_Space);
    EXPECT_TRUE(dialog.Current->isChecked());
}

TEST(XPKeyboard, EnterPressesTheDefaultAndEscapeCancels)
{
    {
        AllSix dialog;
        QSignalSpy ok(dialog.Ok, &QPushButton::clicked);
        ASSERT_TRUE(dialog.Open());
        dialog.Edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.Edit, Qt::Key_Return);
        EXPECT_EQ(ok.count(), 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        AllSix dialog;
        QSignalSpy ok(dialog.Ok, &QPushButton::clicked);
        ASSERT_TRUE(dialog.Open());
        dialog.Check->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.Check, Qt::Key_Escape);
        EXPECT_EQ(ok.count(), 0);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    {
        // A focused button, not the default, is what Enter presses.
        AllSix dialog;
        QSignalSpy cancel(dialog.Cancel, &QPushButton::clicked);
        ASSERT_TRUE(dialog.Open());
        dialog.Cancel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.Cancel, Qt::Key_Return);
        EXPECT_EQ(cancel.count(), 1);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

TEST(XPRadioButton, GroupIndexAndParentMakeTheGroups)
{
    QWidget first;
    QWidget second;
    TXPRadioButton a(QStringLiteral("a"), &first);
    TXPRadioButton b(QStringLiteral("b"), &first);
    TXPRadioButton c(QStringLiteral("c"), &first);
    c.SetGroupIndex(1);
    TXPRadioButton d(QStringLiteral("d"), &second);
    a.move(0, 0);
    b.move(0, 20);
    c.move(0, 40);
    first.resize(150, 80);
    QSignalSpy aToggles(&a, &QAbstractButton::toggled);

    c.setChecked(true);
    d.setChecked(true);
    QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(a.Checked());
    QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(a.Checked());
    EXPECT_EQ(aToggles.count(), 1);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(60, 8));
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(aToggles.count(), 2);
    EXPECT_TRUE(c.Checked());
    EXPECT_TRUE(d.Checked());

    // Only the checked button of a group is its tab stop.
    EXPECT_EQ(a.focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(c.focusPolicy(), Qt::StrongFocus);

    // Moving c into a's group, where b is checked: c gives way.
    c.SetGroupIndex(0);
    EXPECT_FALSE(c.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_EQ(c.focusPolicy(), Qt::ClickFocus);

    // Releasing outside the button does not check it.
    QTest::mousePress(&a, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseRelease(&a, Qt::LeftButton, {}, QPoint(300, 8));
    EXPECT_FALSE(a.Checked());
}

TEST(XPRadioButton, GroupWithoutCheckedButtonKeepsATabStopWhenItsFirstGoes)
{
    QWidget parent;
    auto a = std::make_unique<TXPRadioButton>(QStringLiteral("a"), &parent);
    TXPRadioButton b(QStringLiteral("b"), &parent);
    EXPECT_EQ(a->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(b.focusPolicy(), Qt::ClickFocus);
    a.reset();
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
}

TEST(XPAccessibility, RolesNamesAndStatesAreQts)
{
    AllSix dialog;
    dialog.Check->setChecked(true);
    dialog.Marked->setChecked(true);
    dialog.Ok->setText(QStringLiteral("&Print"));

    struct Expect {
        QWidget* Widget;
        QAccessible::Role Role;
        QString Name;
    };
    const Expect cases[] = {
        {dialog.Ok, QAccessible::Button, QStringLiteral("Print")},
        {dialog.Check, QAccessible::CheckBox, QStringLiteral("Wrap lines")},
        {dialog.Marked, QAccessible::RadioButton, QStringLiteral("Marked fonts")},
        {dialog.Group, QAccessible::Grouping, QStringLiteral("Range")},
        {dialog.Combo, QAccessible::ComboBox, QString()},
        {dialog.Edit, QAccessible::EditableText, QString()},
    };
    for (const Expect& e : cases) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(e.Widget);
        ASSERT_NE(face, nullptr) << e.Widget->metaObject()->className();
        EXPECT_EQ(face->role(), e.Role) << e.Widget->metaObject()->className();
        if (!e.Name.isNull()) {
            EXPECT_EQ(face->text(QAccessible::Name).toStdString(), e.Name.toStdString());
        }
    }
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(dialog.Check)->state().checked);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(dialog.Marked)->state().checked);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(dialog.All)->state().checked);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(dialog.Ok)->state().defaultButton);
}

TEST(XPButton, DoubleClickCountsAsASecondClick)
{
    QWidget parent;
    TXPButton button(QStringLiteral("Next"), &parent);
    button.setGeometry(0, 0, 75, 23);
    QSignalSpy clicks(&button, &QPushButton::clicked);
    const QPointF at(30, 10);
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, button.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}
