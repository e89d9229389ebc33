#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/about_form.h"
#include "app/main_form.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace fs = std::filesystem;
using fonzeta::test::Sandbox;

namespace {

// The settings line must sit inside the box, between the home-page line and the OK button.
void ExpectPlacedInside(const TfAbout& about, const QLabel& line)
{
    const QRect box = about.rect();
    const QRect bounds = line.geometry();
    EXPECT_TRUE(box.contains(bounds)) << bounds.x() << "," << bounds.y() << " " << bounds.width();
    EXPECT_LE(bounds.right(), box.width() - line.x());
    const auto* homePage = about.findChild<QLabel*>(QStringLiteral("lHomePage"));
    const auto* ok = about.findChild<QPushButton*>(QStringLiteral("bOK"));
    EXPECT_GT(bounds.top(), homePage->geometry().bottom());
    EXPECT_LT(bounds.bottom(), ok->geometry().top());
}

TEST(AboutSettings, TheFormsSettingsFolderIsShownFromHome)
{
    const std::string folder = Sandbox::Root() + "/home/.config/fonzeta";
    fs::create_directories(folder);
    TLinuxPlatform linux;
    TPlatform services = linux.Services();
    fonzeta::test::TScriptedDialogs dialogs;
    services.Dialogs = &dialogs;
    TMainForm form(services, folder);
    QString text, tip;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TfAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        auto* line = about->findChild<QLabel*>(QStringLiteral("lSettings"));
        ASSERT_NE(line, nullptr);
        text = line->text();
        tip = line->toolTip();
        ExpectPlacedInside(*about, *line);
        about->accept();
    });
    form.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    EXPECT_EQ(text, QStringLiteral("Settings: ~/.config/fonzeta"));
    EXPECT_EQ(tip.toStdString(), folder);
}

TEST(AboutSettings, LongAndForeignFoldersStayReadable)
{
    TfAbout about(nullptr);
    const std::string home = Sandbox::Root() + "/home";

    // A folder merely starting with the home folder's name is not inside it.
    about.SetSettingsFolder(home + "2/fonzeta");
    auto* line = about.findChild<QLabel*>(QStringLiteral("lSettings"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("Settings: /"))) << line->text().toStdString();
    EXPECT_TRUE(line->text().endsWith(QStringLiteral("home2/fonzeta")));

    // Too long for the box: both ends stay, the middle gives way, the tooltip is whole.
    const std::string deep = home + "/" + std::string(120, 'x') + "/fonzeta";
    about.SetSettingsFolder(deep);
    EXPECT_EQ(about.findChildren<QLabel*>(QStringLiteral("lSettings")).size(), 1);
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("Settings: ~/xxx")));
    EXPECT_TRUE(line->text().endsWith(QStringLiteral("/fonzeta")));
    EXPECT_TRUE(line->text().contains(QChar(0x2026)));
    EXPECT_EQ(line->toolTip().toStdString(), deep);
    about.show();
    ExpectPlacedInside(about, *line);
}

}  // namespace
