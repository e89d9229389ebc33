#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "favorites/add_fav_form.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using fonzeta::test::TObeyFilePermissions;
using fonzeta::test::TScriptedDialogs;
using fonzeta::test::TTempFolder;

// The add dialog over a temporary favourites file, with the prompt answered by the test.
class AddFavForm : public ::testing::Test {
protected:
    void Put(const std::string& bytes) const
    {
        std::ofstream out(Path, std::ios::binary);
        out << bytes;
    }
    std::string Bytes() const
    {
        std::ifstream in(Path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::unique_ptr<TfAddFav> Make(const std::vector<std::string>& names)
    {
        auto form = std::make_unique<TfAddFav>(&Dialogs);
        form->SetPromptText([this](QWidget* owner, const std::string& caption, const std::string& prompt,
                                   std::string& text) {
            Prompts.push_back(caption + "|" + prompt + "|" + text);
            EXPECT_EQ(owner, Form);
            if (Answers.empty())
                return 2;
            text = Answers.front();
            Answers.erase(Answers.begin());
            return 1;
        });
        Form = form.get();
        std::vector<std::string> files;
        for (const auto& name : names)
            files.push_back("/fonts/" + name + ".ttf");
        form->Prepare(Path, names, files);
        return form;
    }
    static std::vector<std::string> Groups(const TfAddFav& form)
    {
        std::vector<std::string> groups;
        for (int i = 0; i < form.lbGroup->count(); ++i)
            groups.push_back(form.lbGroup->item(i)->text().toStdString());
        return groups;
    }

    TTempFolder Temp;
    const std::string Path = Temp / "installed.fav";
    TScriptedDialogs Dialogs;
    std::vector<std::string> Answers;
    std::vector<std::string> Prompts;
    TfAddFav* Form = nullptr;
};

TEST_F(AddFavForm, OkWritesIntoTheChosenGroupInPlace)
{
    Put("[Sans]\r\nOld=/o.ttf\r\n[Serif]\nTwo=/x.ttf\nOne = /y.ttf\n; end\n");
    auto form = Make({"One", "Three", "Two"});
    EXPECT_EQ(form->windowTitle(), "Add Favorites");
    EXPECT_EQ(form->size(), QSize(351, 245));
    EXPECT_EQ(form->lbGroup->geometry(), QRect(20, 80, 237, 149));
    EXPECT_EQ(form->bNewFolder->geometry(), QRect(266, 80, 77, 23));
    EXPECT_EQ(form->lFontName->text(), "Selected 3 Fonts");
    EXPECT_EQ(Groups(*form), (std::vector<std::string>{"Sans", "Serif"}));
    EXPECT_EQ(form->lbGroup->currentRow(), 0);
    EXPECT_EQ(form->lbGroup->visualItemRect(form->lbGroup->item(1)).height(), 18);

    form->lbGroup->setCurrentRow(1);
    form->bOK->click();
    EXPECT_EQ(form->result(), 1);
    EXPECT_EQ(Bytes(), "[Sans]\r\nOld=/o.ttf\r\n[Serif]\nTwo=/fonts/Two.ttf\nOne=/fonts/One.ttf\n"
                       "; end\nThree=/fonts/Three.ttf\r\n");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(AddFavForm, NothingIsWrittenWithoutAGroupOrOnCancel)
{
    auto form = Make({"DejaVu Sans"});
    EXPECT_EQ(form->lFontName->text(), "DejaVu Sans");
    EXPECT_EQ(form->lbGroup->count(), 0);
    form->show();
    form->bOK->click();
    EXPECT_TRUE(form->isVisible()) << "OK without a group leaves the dialog open";
    form->bCancel->click();
    EXPECT_EQ(form->result(), 2);
    EXPECT_FALSE(fs::exists(Path));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(AddFavForm, NewFolderAppendsAnEmptyGroupThatCancelKeeps)
{
    Put("[Temp]\r\nTemp=/fonts/temp.ttf\r\n");
    auto form = Make({"DejaVu Sans"});
    Answers = {"Fresh"};
    form->bNewFolder->click();
    ASSERT_EQ(Prompts.size(), 1u);
    EXPECT_EQ(Prompts[0], "New Folder|\n\nNew Folder:|");
    EXPECT_EQ(Bytes(), "[Temp]\r\nTemp=/fonts/temp.ttf\r\n[Fresh]\r\n");
    EXPECT_EQ(Groups(*form), (std::vector<std::string>{"Temp", "Fresh"}));
    EXPECT_EQ(form->lbGroup->currentRow(), 0) << "the selection stays";

    // A name in use selects that group and writes nothing; the favourite "Temp" stays.
    Answers = {"TEMP"};
    form->lbGroup->setCurrentRow(1);
    form->bNewFolder->click();
    EXPECT_EQ(form->lbGroup->currentRow(), 0);
    EXPECT_EQ(Groups(*form).size(), 2u);
    // An empty name and a cancelled prompt change nothing.
    Answers = {"   "};
    form->bNewFolder->click();
    form->bNewFolder->click();
    EXPECT_EQ(Bytes(), "[Temp]\r\nTemp=/fonts/temp.ttf\r\n[Fresh]\r\n");

    form->bCancel->click();
    EXPECT_EQ(form->result(), 2);
    EXPECT_EQ(Bytes(), "[Temp]\r\nTemp=/fonts/temp.ttf\r\n[Fresh]\r\n");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(AddFavForm, AFailedWriteIsReportedAndReturnsTwo)
{
    const std::string old = "[Sans]\r\nA=1\r\n";
    Put(old);
    auto form = Make({"DejaVu Sans", "bad=name"});
    fs::permissions(Temp.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    {
        TObeyFilePermissions obey;
        ASSERT_TRUE(obey.Active());
        Answers = {"Other"};
        form->bNewFolder->click();
        form->bOK->click();
    }
    fs::permissions(Temp.Path(), fs::perms::owner_all);
    EXPECT_EQ(form->result(), 2);
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(Groups(*form), std::vector<std::string>{"Sans"});
    ASSERT_EQ(Dialogs.Shown.size(), 3u);
    EXPECT_NE(Dialogs.Shown[0].Text.find(Path), std::string::npos) << Dialogs.Shown[0].Text;
    EXPECT_NE(Dialogs.Shown[1].Text.find("\"bad=name\""), std::string::npos) << Dialogs.Shown[1].Text;
    EXPECT_NE(Dialogs.Shown[2].Text.find(Path), std::string::npos) << Dialogs.Shown[2].Text;
}

}  // namespace
