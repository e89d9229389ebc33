#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "fonts/problems_form.h"
#include "fonts/scan_window.h"
#include "platform/linux_platform.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TScriptedDialogs;
namespace fs = std::filesystem;

// A folder with two good fonts and three damaged files, listed by the main window at start.
class MainFormCatalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Folder = Fonts.path().toStdString();
        fs::copy_file(Sandbox::DejaVuSans(), Folder + "/sans.ttf");
        fs::create_directories(Folder + "/sub");
        fs::copy_file(Sandbox::DejaVuSerif(), Folder + "/sub/serif.OTF");
        for (const char* name : {"a.ttf", "b.ttc", "sub/c.otf"})
            std::ofstream(Folder + "/" + name, std::ios::binary) << "damaged " << name;
        std::ofstream(Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(), std::ios::binary)
            << "[Option]\r\nViewMode=2\r\nPath=" << Folder << "\r\n";
    }

    QTemporaryDir Dir;
    QTemporaryDir Fonts;
    std::string Folder;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
};

TEST_F(MainFormCatalogue, AScanWithDamagedFilesEndsWithTheProblemsWindow)
{
    auto form = std::make_unique<TMainForm>(Services, Dir.path().toStdString());
    TfScan scan;
    form->SetScanWindow(&scan);
    form->show();

    ASSERT_EQ(form->SourceList->Count(), 2);
    // The scan window counted every file and ended showing the last count.
    EXPECT_EQ(scan.Total(), 5);
    EXPECT_EQ(scan.findChild<QLabel*>(QStringLiteral("Count"))->text(), QStringLiteral("2/5"));
    // The scripted dialogs have no check box: each problem asked once.
    EXPECT_EQ(Dialogs.Shown.size(), 3u);

    auto* problems = form->findChild<TfProblems*>(QStringLiteral("fProblems"));
    ASSERT_NE(problems, nullptr);
    EXPECT_TRUE(problems->isVisible());
    EXPECT_FALSE(problems->isModal());
    EXPECT_EQ(problems->RowCount(), 3);
    EXPECT_TRUE(problems->CopyText().contains(QString::fromStdString(Folder + "/sub/c.otf\tInvalid TrueType Font!")));

    // A listing without problems puts the window away.
    fs::remove(Folder + "/a.ttf");
    fs::remove(Folder + "/b.ttc");
    fs::remove(Folder + "/sub/c.otf");
    form->SourceList->Refresh();
    EXPECT_FALSE(problems->isVisible());
    EXPECT_EQ(form->SourceList->Count(), 2);
}

TEST(MainFormCaption, AFolderNameThatIsNotUtf8IsShownReadably)
{
    EXPECT_EQ(TMainForm::CaptionFor(flmFolder, "/media/caf\xE9"),
              "Fonzeta 1.0 - Fonts in folder (/media/caf\\xE9)");
}

}  // namespace
