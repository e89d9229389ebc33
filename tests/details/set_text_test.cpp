#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <iterator>

#include "controls/xp_controls.h"
#include "details/set_text_form.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

using fonzeta::test::TScriptedDialogs;
using fonzeta::test::TTempFolder;

class SetText : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { std::ofstream(Path, std::ios::binary) << bytes; }
    std::string Read() const
    {
        std::ifstream in(Path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The editor shown on the file, its memo replaced by `memo`, saved.
    std::unique_ptr<TfSetText> Saved(const QString& memo)
    {
        auto form = std::make_unique<TfSetText>(Path, &Dialogs);
        form->show();
        form->Memo1->setPlainText(memo);
        QTest::mouseClick(form->bSave, Qt::LeftButton);
        return form;
    }

    TTempFolder Temp;
    std::string Path = Temp / "fonzeta.ini";
    TScriptedDialogs Dialogs;
};

TEST_F(SetText, ShowsTheHistoryLinesInKeyOrder)
{
    // Three lines, key 2 missing: an empty line stands in for it; key 4 is beyond the count.
    Write("[History]\r\n3=third = 3\r\n1=first\r\n4=fourth\r\n[Font]\r\nSize=12\r\n");
    TfSetText form(Path, &Dialogs);
    EXPECT_EQ(form.size(), QSize(433, 256));
    EXPECT_EQ(form.Memo1->geometry(), QRect(8, 16, 409, 201));
    EXPECT_EQ(form.windowTitle(), "Set Sample Text");
    form.show();
    EXPECT_EQ(form.Memo1->toPlainText(), "first\n\nthird = 3");
}

TEST_F(SetText, SaveWritesNumberedNonEmptyTrimmedLinesAndKeepsTheRest)
{
    Write("[Window]\r\nMain=0,1,2,3,4\r\n[History]\r\n1=old\r\n2=older\r\n[Font]\r\nSize=12\r\n");
    auto form = Saved(QStringLiteral("  Hello  \n\n \t \nkey=value=x\n한글 보기\n"));
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    // The erased section is written anew at the end of the file.
    EXPECT_EQ(Read(),
              "[Window]\r\nMain=0,1,2,3,4\r\n[Font]\r\nSize=12\r\n[History]\r\n1=Hello\r\n"
              "2=key=value=x\r\n3=한글 보기\r\n");
    EXPECT_TRUE(Dialogs.Shown.empty());
    // What was written reads back as it was typed.
    TfSetText again(Path, &Dialogs);
    again.show();
    EXPECT_EQ(again.Memo1->toPlainText(), "Hello\nkey=value=x\n한글 보기");
}

TEST_F(SetText, AnEmptyMemoLeavesAnEmptySection)
{
    Write("[History]\r\n1=old\r\n[Font]\r\nSize=12\r\n");
    auto form = Saved(QString());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(form->Texts().empty());
    EXPECT_EQ(Read().find("old"), std::string::npos);
    EXPECT_NE(Read().find("[Font]\r\nSize=12\r\n"), std::string::npos);
}

TEST_F(SetText, CancelChangesNothing)
{
    Write("[History]\r\n1=old\r\n");
    TfSetText form(Path, &Dialogs);
    form.show();
    form.Memo1->setPlainText(QStringLiteral("new"));
    QTest::mouseClick(form.bCancel, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(Read(), "[History]\r\n1=old\r\n");
}

TEST_F(SetText, AFailedSaveSaysWhyAndKeepsTheWindowAndTheFile)
{
    // A folder that is a regular file cannot hold the settings, even for root.
    Write("[History]\r\n1=old\r\n");
    const std::string blocked = Temp / "blocked/fonzeta.ini";
    std::ofstream(Temp / "blocked") << "a file";
    TfSetText form(blocked, &Dialogs);
    form.show();
    form.Memo1->setPlainText(QStringLiteral("kept"));
    QTest::mouseClick(form.bSave, Qt::LeftButton);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("could not be saved"), std::string::npos);
    EXPECT_NE(Dialogs.Shown[0].Text.find(blocked), std::string::npos) << Dialogs.Shown[0].Text;
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Memo1->toPlainText(), "kept");
    EXPECT_EQ(Read(), "[History]\r\n1=old\r\n");
    std::ifstream blocker(Temp / "blocked");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(blocker), {}), "a file");
}

}  // namespace
