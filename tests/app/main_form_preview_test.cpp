#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "fonts/font_list.h"
#include "platform/font_table.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TScriptedDialogs;

// The main window with the real preview, listing a folder of copies of the sandbox fonts.
class MainFormPreview : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        namespace fs = std::filesystem;
        const fs::path folder = fs::path(Fonts.path().toStdString());
        const char* files[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf",
                               "NanumGothic.ttf"};
        for (int copy = 0; copy < 3; ++copy)
            for (const char* file : files)
                fs::copy_file(fs::path(Sandbox::SystemFontFolder()) / file,
                              folder / (std::to_string(copy) + "-" + file));
        std::ofstream ini(Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(),
                          std::ios::binary);
        ini << "[Option]\r\nViewMode=2\r\nPath=" << Fonts.path().toStdString() << "\r\n";
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = std::make_unique<TMainForm>(Services, Dir.path().toStdString());
        form->SetHelpFolder(Dir.path().toStdString());
        form->show();
        return form;
    }

    static void Wheel(QWidget* target, int delta)
    {
        const QPointF at(20, 20);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    QTemporaryDir Dir;
    QTemporaryDir Fonts;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
};

TEST_F(MainFormPreview, ShowsACopyOfEverySourceFontWithTheFirstCurrent)
{
    auto form = Shown();
    TFonzetaFontListView* view = form->FontView;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->objectName(), "FontView");
    ASSERT_EQ(form->SourceList->Count(), 12);
    ASSERT_EQ(view->Items().Count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NE(view->Items().Fonts(i), form->SourceList->Fonts(i)) << "records are copies";
        EXPECT_EQ(view->Items().Fonts(i)->FullName, form->SourceList->Fonts(i)->FullName);
    }
    EXPECT_EQ(view->ItemIndex(), 0);
    EXPECT_EQ(view->Text(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ 123 한글보기");
    EXPECT_EQ(form->ViewContent, vcAll);
}

TEST_F(MainFormPreview, PreviewFillsTheClientAreaBesideTheHiddenPanes)
{
    auto form = Shown();
    const QRect area = form->FontView->geometry();
    EXPECT_GT(area.width(), form->width() - 10);
    EXPECT_GT(area.height(), 300);
}

TEST_F(MainFormPreview, WheelScrollsOneRowPerTurn)
{
    auto form = Shown();
    TFonzetaFontListView* view = form->FontView;
    ASSERT_EQ(view->TopItem(), 0);
    Wheel(view->viewport(), -120);
    EXPECT_EQ(view->TopItem(), 1);
    Wheel(view->viewport(), -120);
    EXPECT_EQ(view->TopItem(), 2);
    Wheel(view->viewport(), 120);
    EXPECT_EQ(view->TopItem(), 1);
}

TEST_F(MainFormPreview, LookControlsReachThePreview)
{
    auto form = Shown();
    TFonzetaFontListView* view = form->FontView;
    auto* size = form->findChild<QComboBox*>(QStringLiteral("cbFontSize"));
    size->setEditText(QStringLiteral("36"));
    EXPECT_EQ(view->FontSize(), 36);
    form->findChild<QToolButton*>(QStringLiteral("sbItalic"))->click();
    EXPECT_EQ(view->FontStyle(), TFontStyles(fsItalic));
    form->Antialiasing1Click();
    EXPECT_TRUE(view->AntiAlias());
    auto* text = form->findChild<QComboBox*>(QStringLiteral("cbString"));
    text->setEditText(QStringLiteral("Quartz"));
    EXPECT_EQ(view->Text(), "Quartz");
}

TEST_F(MainFormPreview, PaintedPreviewShowsTheCurrentBandAndSamples)
{
    auto form = Shown();
    TFonzetaFontListView* view = form->FontView;
    const QImage image = view->viewport()->grab().toImage();
    const int nameHeight = view->NameHeight();
    // The current item's band without focus: white background plus 236 in each channel.
    EXPECT_EQ(QColor(image.pixel(2, nameHeight / 2)), QColor(235, 235, 235));
    // The first sample holds ink in the text colour's direction (dark on white).
    int dark = 0;
    for (int y = nameHeight + 8; y < view->ItemHeight() - 1; ++y)
        for (int x = 10; x < 200; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 50);
}

TEST_F(MainFormPreview, ClosingGivesBackTheFolderFontsOfTheSource)
{
    auto form = Shown();
    const std::string first = form->SourceList->Fonts(0)->FileName;
    // Registered only once something asks to draw it by family.
    EXPECT_FALSE(Linux.Services().FontTable->IsRegistered(first));
    ASSERT_TRUE(form->SourceList->EnsureRegistered(0));
    ASSERT_TRUE(Linux.Services().FontTable->IsRegistered(first));
    form->close();
    form.reset();
    EXPECT_FALSE(Linux.Services().FontTable->IsRegistered(first));
}

}  // namespace
