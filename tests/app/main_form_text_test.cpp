#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "app/main_form.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"

namespace {

class MainFormText : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = std::make_unique<TMainForm>(Services, Dir.path().toStdString());
        form->SetHelpFolder(Dir.path().toStdString());
        form->show();
        return form;
    }

    std::string ReadIni() const
    {
        std::ifstream in(Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(),
                         std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    QTemporaryDir Dir;
    TLinuxPlatform Linux;
    TPlatform Services;
    fonzeta::test::TScriptedDialogs Dialogs;
};

}  // namespace

TEST_F(MainFormText, ShowBorrowedGlyphsIsOffByDefaultAndKeptOnceTurnedOn)
{
    {
        auto form = Shown();
        QAction* item = form->findChild<QAction*>(QStringLiteral("ShowBorrowedGlyphs1"));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isCheckable());
        EXPECT_TRUE(item->isEnabled());
        EXPECT_FALSE(item->isChecked());
        EXPECT_FALSE(form->FontView->ShowBorrowedGlyphs());
        form->close();
    }
    // Never turned on: the settings file does not learn the key.
    EXPECT_EQ(ReadIni().find("ShowBorrowedGlyphs"), std::string::npos) << ReadIni();

    {
        auto form = Shown();
        QAction* item = form->findChild<QAction*>(QStringLiteral("ShowBorrowedGlyphs1"));
        item->trigger();
        EXPECT_TRUE(item->isChecked());
        EXPECT_TRUE(form->FontView->ShowBorrowedGlyphs());
        form->close();
    }
    const std::string saved = ReadIni();
    const auto option = saved.find("[Option]\r\n");
    const auto key = saved.find("ShowBorrowedGlyphs=1\r\n");
    ASSERT_NE(key, std::string::npos) << saved;
    EXPECT_LT(option, key);
    EXPECT_EQ(saved.find('[', option + 1) > key, true) << "under [Option]: " << saved;

    {
        auto form = Shown();
        QAction* item = form->findChild<QAction*>(QStringLiteral("ShowBorrowedGlyphs1"));
        EXPECT_TRUE(item->isChecked());
        EXPECT_TRUE(form->FontView->ShowBorrowedGlyphs());
        item->trigger();
        EXPECT_FALSE(form->FontView->ShowBorrowedGlyphs());
        form->close();
    }
    EXPECT_NE(ReadIni().find("ShowBorrowedGlyphs=0\r\n"), std::string::npos) << ReadIni();
}
