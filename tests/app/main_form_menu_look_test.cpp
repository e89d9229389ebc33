#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/about_form.h"
#include "app/main_form.h"
#include "app/menu_style.h"
#include "controls/xp_controls.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"

namespace {

struct MainFormLook : ::testing::Test {
    QTemporaryDir Dir;
    TLinuxPlatform Linux;
    fonzeta::test::TScriptedDialogs Dialogs;

    std::unique_ptr<TMainForm> Make()
    {
        TPlatform services = Linux.Services();
        services.Dialogs = &Dialogs;
        return std::make_unique<TMainForm>(services, Dir.path().toStdString());
    }
};

}  // namespace

TEST_F(MainFormLook, MenuBarAndItsFiveMenusAreFlatWhilePopupsKeepTheDesktopLook)
{
    auto form = Make();
    QMenuBar* bar = form->menuBar();
    auto* style = qobject_cast<TMenuStyle*>(bar->style());
    ASSERT_NE(style, nullptr);
    for (const char* name : {"N1", "Edit1", "View1", "Favorites1", "Help1"}) {
        auto* menu = bar->findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->style(), style) << name;
    }
    ASSERT_NE(form->PopupMenu1, nullptr);
    EXPECT_EQ(qobject_cast<TMenuStyle*>(form->PopupMenu1->style()), nullptr);

    // Entries carry their menu images; a favourites group added later is drawn alike.
    for (const char* name : {"Print1", "Exit1", "FindNext1", "AddFavorites1", "Contents1"}) {
        auto* item = form->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_FALSE(item->icon().isNull()) << name;
    }
    auto* favorites = bar->findChild<QMenu*>(QStringLiteral("Favorites1"));
    QAction* group = favorites->addAction(MenuImage(MenuImageFavoritesGroup), QStringLiteral("-"));
    EXPECT_FALSE(group->isSeparator());
    EXPECT_EQ(favorites->style(), style);

    // The sample-text and size boxes are the XP combo boxes.
    EXPECT_NE(form->findChild<TXPComboBox*>(QStringLiteral("cbString")), nullptr);
    EXPECT_NE(form->findChild<TXPComboBox*>(QStringLiteral("cbFontSize")), nullptr);
}

TEST_F(MainFormLook, EditMenuShowsTheStripeAndFindNextWithItsShortcut)
{
    auto form = Make();
    form->show();
    auto* edit = form->menuBar()->findChild<QMenu*>(QStringLiteral("Edit1"));
    QAction* findNext = form->findChild<QAction*>(QStringLiteral("FindNext1"));
    edit->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    const QRect r = edit->actionGeometry(findNext);
    const QImage shot = edit->grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    const auto at = [&](int x, int y) { return QColor(shot.pixel(qRound(x * scale), qRound(y * scale))); };
    EXPECT_EQ(at(r.left() + 1, r.center().y()), QColor(0x2F, 0x7E, 0xE3));
    EXPECT_EQ(at(r.left() + 5, r.top()), QColor(Qt::white));
    EXPECT_TRUE(findNext->text().contains(QStringLiteral("Ne&xt")));
    edit->hide();
}

TEST(AboutLook, OkIsTheDefaultXPButton)
{
    TfAbout about(nullptr);
    auto* ok = about.findChild<TXPButton*>(QStringLiteral("bOK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}
