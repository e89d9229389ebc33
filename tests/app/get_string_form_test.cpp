#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/get_string_form.h"
#include "controls/xp_controls.h"

namespace {

// Runs `drive` on the prompt once it is shown modally; a prompt still open after a few
// seconds is closed so that a broken test cannot hang.
void WhenShown(std::function<void(TfGetString&)> drive)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, drive] {
        auto* form = qobject_cast<TfGetString*>(QApplication::activeModalWidget());
        if (form && form->isVisible()) {
            poll->stop();
            poll->deleteLater();
            drive(*form);
            return;
        }
        if (++*tries > 300) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "the prompt never came up";
        }
    });
    poll->start();
}

struct TSeen {
    QString Caption;
    QString Prompt;
    QString Selected;
    bool EditHasFocus = false;
    QRect Frame;
    QSize Client;
};

TSeen Look(TfGetString& form)
{
    TSeen seen;
    seen.Caption = form.windowTitle();
    seen.Prompt = form.Descript->text();
    seen.Selected = form.Edit->selectedText();
    seen.EditHasFocus = form.focusWidget() == form.Edit;
    seen.Frame = QRect(form.pos(), form.size());
    seen.Client = form.size();
    return seen;
}

class GetString : public ::testing::Test {
protected:
    void SetUp() override
    {
        Owner.setGeometry(200, 150, 640, 480);
        Owner.show();
    }
    QWidget Owner;
};

TEST_F(GetString, EnterConfirmsTheEditedTextInAWindowCentredOverItsOwner)
{
    TSeen seen;
    WhenShown([&seen](TfGetString& form) {
        seen = Look(form);
        QTest::keyClicks(form.Edit, QStringLiteral("Sans"));
        QTest::keyClick(form.Edit, Qt::Key_Return);
    });
    std::string text = "Old group";
    EXPECT_EQ(PromptText(&Owner, "Find", "\n\nFind Text:", text), 1);
    EXPECT_EQ(text, "Sans");  // the typed text replaced the selected old one

    EXPECT_EQ(seen.Caption, QStringLiteral("Find"));
    EXPECT_EQ(seen.Prompt, QStringLiteral("\n\nFind Text:"));
    EXPECT_EQ(seen.Selected, QStringLiteral("Old group"));
    EXPECT_TRUE(seen.EditHasFocus);
    EXPECT_GE(seen.Client.width(), 377);
    EXPECT_GE(seen.Client.height(), 101);
    EXPECT_EQ(seen.Frame.x(), Owner.x() + Owner.width() / 2 - seen.Frame.width() / 2);
    EXPECT_EQ(seen.Frame.y(), Owner.y() + Owner.height() / 2 - seen.Frame.height() / 2);
}

TEST_F(GetString, EveryCloseButOkGivesTwoAndKeepsTheText)
{
    const std::vector<std::function<void(TfGetString&)>> closes = {
        [](TfGetString& form) { QTest::keyClick(form.Edit, Qt::Key_Escape); },
        [](TfGetString& form) { form.close(); },  // the title bar's close button
        [](TfGetString& form) { QTest::mouseClick(form.Cancel, Qt::LeftButton); },
    };
    for (size_t i = 0; i < closes.size(); ++i) {
        WhenShown([&closes, i](TfGetString& form) {
            QTest::keyClicks(form.Edit, QStringLiteral("typed"));
            closes[i](form);
        });
        std::string text = "kept";
        EXPECT_EQ(PromptText(&Owner, "Group", "Name:", text), 2) << i;
        EXPECT_EQ(text, "kept") << i;
    }
}

TEST_F(GetString, OkWithAnEmptyBoxGivesAnEmptyText)
{
    WhenShown([](TfGetString& form) {
        QTest::keyClick(form.Edit, Qt::Key_Delete);  // removes the selected text
        QTest::mouseClick(form.Ok, Qt::LeftButton);
    });
    std::string text = "something";
    EXPECT_EQ(PromptText(&Owner, "Find", "Find Text:", text), 1);
    EXPECT_EQ(text, "");
}

TEST_F(GetString, PastedLineBreaksBecomeSpaces)
{
    struct TCase {
        QString Pasted;
        std::string Expected;
    };
    const std::vector<TCase> cases = {
        {QStringLiteral("a\nb"), "a b"},
        {QStringLiteral("one\r\ntwo\rthree"), "one two three"},
        {QString::fromUtf8("가\u2029나\n"), "가 나 "},
    };
    for (const auto& c : cases) {
        QString shown;
        WhenShown([&c, &shown](TfGetString& form) {
            QApplication::clipboard()->setText(c.Pasted);
            QTest::keyClick(form.Edit, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(form.Edit, Qt::Key_X);  // typing goes on after the paste
            shown = form.Edit->text();
            QTest::keyClick(form.Edit, Qt::Key_Return);
        });
        std::string text;
        EXPECT_EQ(PromptText(&Owner, "Group", "Name:", text), 1);
        EXPECT_EQ(text, c.Expected + "x");
        EXPECT_EQ(shown.toStdString(), c.Expected + "x");
    }
}

// A larger desktop font grows the window: every text shows whole and nothing overlaps.
TEST_F(GetString, ALargeFontGrowsTheWindowAndCutsNothing)
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPixelSize(24);
    QApplication::setFont(large);

    TfGetString form;
    form.Setup("Caption", "\n\nA long description that needs more than one line here:", "x");
    QApplication::setFont(before);

    const QLabel& d = *form.Descript;
    EXPECT_GE(d.height(), d.heightForWidth(d.width()));
    EXPECT_GE(form.Edit->height(), QFontMetrics(form.Edit->font()).height() + 6);
    EXPECT_GT(form.height(), 101);
    const QRect client = form.rect();
    const QList<QWidget*> parts = {form.Descript, form.Edit, form.Ok, form.Cancel};
    for (QWidget* part : parts) {
        EXPECT_TRUE(client.contains(part->geometry())) << part->objectName().toStdString();
        if (auto* button = qobject_cast<QPushButton*>(part)) {
            const QFontMetrics metrics(button->font());
            EXPECT_GE(button->width(), metrics.horizontalAdvance(button->text()) + 8);
            EXPECT_GE(button->height(), metrics.height() + 4);
        }
        for (QWidget* other : parts) {
            if (other != part) {
                EXPECT_FALSE(part->geometry().intersects(other->geometry()))
                    << part->objectName().toStdString() << " meets "
                    << other->objectName().toStdString();
            }
        }
    }
}

TEST_F(GetString, TheSmallestLayoutKeepsItsPlaces)
{
    // A font small enough that every control fits in its place.
    const QFont before = QApplication::font();
    QFont small = before;
    small.setPixelSize(9);
    QApplication::setFont(small);
    TfGetString form;
    form.Setup("Find", "\n\nFind Text:", "");
    QApplication::setFont(before);

    EXPECT_EQ(form.size(), QSize(377, 101));
    EXPECT_EQ(form.Descript->geometry(), QRect(13, 16, 269, 48));
    EXPECT_EQ(form.Edit->geometry().topLeft(), QPoint(13, 69));
    EXPECT_EQ(form.Edit->width(), 277);
    EXPECT_EQ(form.Ok->geometry().topLeft(), QPoint(300, 37));
    EXPECT_EQ(form.Cancel->geometry().topLeft(), QPoint(300, 65));
}

}  // namespace
