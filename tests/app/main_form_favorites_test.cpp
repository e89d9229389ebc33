#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_form.h"
#include "favorites/add_fav_form.h"
#include "favorites/favorites_pane.h"
#include "fonts/font_list.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using fonzeta::test::TObeyFilePermissions;
using fonzeta::test::TScriptedDialogs;

// The main window over a temporary settings folder whose favourites file the tests write
// and read back byte for byte; the source is the sandbox's installed fonts.
class MainFormFavorites : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        SetOptions(2, 1);
    }

    void SetOptions(int pane, int viewMode)
    {
        std::ofstream ini(Dir.filePath(QStringLiteral("fonzeta.ini")).toStdString(), std::ios::binary);
        ini << "[Option]\r\nLeft=" << pane << "\r\nViewMode=" << viewMode << "\r\n";
    }

    std::unique_ptr<TMainForm> Shown()
    {
        auto form = std::make_unique<TMainForm>(Services, Dir.path().toStdString());
        form->SetHelpFolder(Dir.path().toStdString());
        form->show();
        return form;
    }

    std::string FavPath() const { return Dir.filePath(QStringLiteral("installed.fav")).toStdString(); }
    void PutFav(const std::string& bytes) const
    {
        std::ofstream out(FavPath(), std::ios::binary);
        out << bytes;
    }
    std::string FavBytes() const
    {
        std::ifstream in(FavPath(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static std::vector<std::string> Rows(TMainForm& form)
    {
        std::vector<std::string> rows;
        const QListWidget* list = form.FavPane->lbFav;
        for (int i = 0; i < list->count(); ++i)
            rows.push_back((list->item(i)->data(FavKindRole).toInt() == fikGroup ? "[" : "") +
                           list->item(i)->text().toStdString());
        return rows;
    }

    static std::vector<std::string> MenuTexts(TMainForm& form)
    {
        std::vector<std::string> texts;
        for (QAction* action : form.menuBar()->findChild<QMenu*>(QStringLiteral("Favorites1"))->actions())
            texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return texts;
    }

    // Marks the preview's fonts with these names and makes the first font current.
    static void Mark(TMainForm& form, const std::vector<std::string>& names)
    {
        TFontList& items = form.FontView->Items();
        for (int i = 0; i < items.Count(); ++i) {
            TFontInfo* font = items.Fonts(i);
            font->Selected = std::find(names.begin(), names.end(), font->FullName) != names.end();
        }
        form.FontView->SetItemIndex(0);
    }

    static QMimeData* FontDragData()
    {
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(TMainForm::FontDragMimeType),
                      QByteArray::number(static_cast<qlonglong>(QCoreApplication::applicationPid())));
        return data;
    }

    // A drag entering the widget and moving over it; true when a drop would be taken.
    static bool DragMove(QWidget* viewport, const QPoint& at, const QMimeData* data)
    {
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        return move.isAccepted();
    }

    static bool Drop(QWidget* viewport, const QPoint& at, const QMimeData* data)
    {
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        return drop.isAccepted();
    }

    static QPoint RowCentre(TMainForm& form, int row)
    {
        QListWidget* list = form.FavPane->lbFav;
        return list->visualItemRect(list->item(row)).center();
    }

    QTemporaryDir Dir;
    TLinuxPlatform Linux;
    TPlatform Services;
    TScriptedDialogs Dialogs;
};

const std::string Groups = "\xEF\xBB\xBF; my fonts\r\n"
                           "[Sans & Co]\r\n"
                           "DejaVu Sans=/x/DejaVuSans.ttf\r\n"
                           "Gone Font=/x/gone.ttf\n"
                           "\r\n"
                           " [Serif] \n"
                           "DejaVu Serif = /x/DejaVuSerif.ttf\n"
                           "[sans & co]\r\n"
                           "NanumGothic=/x/n.ttf";

TEST_F(MainFormFavorites, PaneAndMenuShowTheGroupsOfTheFile)
{
    PutFav(Groups);
    auto form = Shown();
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(Rows(*form), (std::vector<std::string>{"[Sans & Co", "DejaVu Sans", "Gone Font", "[Serif",
                                                     "DejaVu Serif", "[sans & co", "NanumGothic"}));
    EXPECT_EQ(MenuTexts(*form), (std::vector<std::string>{"Add to Favorites", "-", "Sans && Co", "Serif",
                                                          "sans && co"}));
    EXPECT_FALSE(form->FavPane->isHidden());
    EXPECT_TRUE(form->FavPane->Label2->isHidden());
    EXPECT_TRUE(form->findChild<QToolButton*>(QStringLiteral("tbFavorites"))->isEnabled());
    EXPECT_EQ(form->GroupOfItem(4), "Serif");
    EXPECT_EQ(form->GroupIndexOfItem(6), 5);
    EXPECT_EQ(form->GroupOfItem(-1), "");

    // Layout: the title strip with its three shaded lines, rows 18 pixels high, the glyphs.
    QWidget* title = form->FavPane->pFavTitle;
    EXPECT_EQ(title->height(), 20);
    const QImage strip = title->grab().toImage();
    EXPECT_EQ(QColor(strip.pixel(40, 17)), QColor(229, 229, 229));
    EXPECT_EQ(QColor(strip.pixel(40, 18)), QColor(206, 206, 206));
    EXPECT_EQ(QColor(strip.pixel(40, 19)), QColor(174, 174, 174));
    EXPECT_EQ(form->FavPane->sbFavPaneClose->geometry(), QRect(title->width() - 20, 1, 16, 16));
    QListWidget* list = form->FavPane->lbFav;
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 18);
    const QImage rows = list->viewport()->grab().toImage();
    const QImage folder(QStringLiteral(":/fontfolder.png"));
    const QImage page(QStringLiteral(":/font.png"));
    const QRect header = list->visualItemRect(list->item(0));
    const QRect font = list->visualItemRect(list->item(1));
    int sameFolder = 0;
    int samePage = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            sameFolder += folder.pixelColor(x, y).alpha() == 255 &&
                          rows.pixelColor(header.left() + 2 + x, header.top() + 1 + y) == folder.pixelColor(x, y);
            samePage += page.pixelColor(x, y).alpha() == 255 &&
                        rows.pixelColor(font.left() + 22 + x, font.top() + 1 + y) == page.pixelColor(x, y);
        }
    EXPECT_GT(sameFolder, 40);
    EXPECT_GT(samePage, 40);

    // Choosing the second of two groups of one name shows that group.
    form->menuBar()->findChild<QMenu*>(QStringLiteral("Favorites1"))->actions().at(4)->trigger();
    EXPECT_EQ(form->ViewContent, vcFavorites);
    EXPECT_EQ(form->CurrentGroup, "sans & co");
    ASSERT_EQ(form->FontView->Items().Count(), 1);
    EXPECT_EQ(form->FontView->Items().Fonts(0)->FullName, "NanumGothic");
}

TEST_F(MainFormFavorites, MissingEmptyAndUnreadableFiles)
{
    {
        auto form = Shown();
        EXPECT_TRUE(Dialogs.Shown.empty());
        EXPECT_FALSE(form->FavPane->Label2->isHidden());
        EXPECT_EQ(MenuTexts(*form), (std::vector<std::string>{"Add to Favorites", "-"}));
        EXPECT_FALSE(fs::exists(FavPath()));
    }
    PutFav("");
    Shown();
    EXPECT_TRUE(Dialogs.Shown.empty());

    PutFav(Groups);
    fs::permissions(FavPath(), fs::perms::none);
    {
        TObeyFilePermissions obey;
        ASSERT_TRUE(obey.Active());
        auto form = Shown();
        ASSERT_EQ(Dialogs.Shown.size(), 1u);
        EXPECT_NE(Dialogs.Shown[0].Text.find(FavPath()), std::string::npos) << Dialogs.Shown[0].Text;
        EXPECT_EQ(form->FavPane->lbFav->count(), 0);
        // Adding fonts then fails with one message and writes nothing.
        Mark(*form, {"DejaVu Sans Bold"});
        form->AddFontsToGroup("Serif", {"DejaVu Sans Bold"}, {"/x/b.ttf"});
        EXPECT_EQ(Dialogs.Shown.size(), 2u);
    }
    fs::permissions(FavPath(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(FavBytes() == Groups);

    fs::remove(FavPath());
    fs::create_directory(FavPath());
    Dialogs.Shown.clear();
    Shown();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find(FavPath()), std::string::npos);
    EXPECT_TRUE(fs::is_directory(FavPath()));
}

TEST_F(MainFormFavorites, DraggingMarkedFontsOntoAGroup)
{
    PutFav(Groups);
    auto form = Shown();
    Mark(*form, {"DejaVu Sans Bold", "DejaVu Sans"});
    QWidget* view = form->FontView->viewport();
    QWidget* target = form->FavPane->lbFav->viewport();
    int drags = 0;
    QImage during;
    bool acceptedOverGroup = false;
    bool acceptedOther = true;
    form->StartFontDrag = [&](QMimeData* data) {
        ++drags;
        acceptedOverGroup = DragMove(target, RowCentre(*form, 4), data);  // a font of Serif
        during = target->grab().toImage();
        QMimeData text;
        text.setText(QStringLiteral("DejaVu Sans"));
        acceptedOther = DragMove(target, RowCentre(*form, 4), &text);
        EXPECT_TRUE(Drop(target, RowCentre(*form, 4), data));
        delete data;
    };
    const auto mouse = [view](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    mouse(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(26, 26), Qt::LeftButton);
    EXPECT_EQ(drags, 0) << "six pixels are not yet a drag";
    mouse(QEvent::MouseMove, QPoint(20, 27), Qt::LeftButton);
    EXPECT_EQ(drags, 1);
    mouse(QEvent::MouseButtonRelease, QPoint(20, 27), Qt::NoButton);
    EXPECT_TRUE(acceptedOverGroup);
    EXPECT_FALSE(acceptedOther);

    // While over Serif, its header and font are drawn orange and the other groups are not.
    const auto hasOrange = [&during, &form](int row) {
        const QRect r = form->FavPane->lbFav->visualItemRect(form->FavPane->lbFav->item(row));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left() + 20; x < r.right(); ++x)
                if (QColor(during.pixel(x, y)) == QColor(255, 128, 0))
                    return true;
        return false;
    };
    EXPECT_TRUE(hasOrange(3));
    EXPECT_TRUE(hasOrange(4));
    EXPECT_FALSE(hasOrange(1));
    EXPECT_FALSE(hasOrange(6));
    EXPECT_EQ(form->FavPane->lbFav->Tag(), -1) << "the highlight ends with the drag";

    std::string expected = Groups;
    expected.replace(expected.find("[sans & co]"), 0,
                     "DejaVu Sans=" + form->SourceList->Fonts(form->SourceList->Find("DejaVu Sans"))->FileName +
                         "\r\nDejaVu Sans Bold=" +
                         form->SourceList->Fonts(form->SourceList->Find("DejaVu Sans Bold"))->FileName + "\r\n");
    EXPECT_EQ(FavBytes(), expected);
    EXPECT_EQ(form->FavPane->lbFav->count(), 9);
    EXPECT_TRUE(Dialogs.Shown.empty());

    // Data of another kind is refused on drop; nothing is written.
    QMimeData text;
    text.setText(QStringLiteral("DejaVu Sans"));
    EXPECT_FALSE(DragMove(target, RowCentre(*form, 1), &text));
    EXPECT_FALSE(Drop(target, RowCentre(*form, 1), &text));
    EXPECT_EQ(FavBytes(), expected);

    // No drag with the pane closed, nor while screen fonts are listed.
    form->sbFavPaneCloseClick();
    mouse(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(40, 40), Qt::LeftButton);
    form->tbFavoritesClick();
    EXPECT_TRUE(form->FavPane->isHidden());
    EXPECT_EQ(drags, 1);
}

TEST_F(MainFormFavorites, DeletingWhatTheUserClicked)
{
    PutFav("[Sans]\r\nA=1\r\n[sans]\nDejaVu Sans=2\n");
    auto form = Shown();
    QListWidget* list = form->FavPane->lbFav;

    list->setCurrentRow(2);
    Dialogs.Answers = {TMsgAnswer::No};
    form->Delete1Click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Caption, "Confirm Delete");
    EXPECT_EQ(Dialogs.Shown[0].Text, "Are you sure you want to delete this favorites group?");
    EXPECT_EQ(Dialogs.Shown[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[sans]\nDejaVu Sans=2\n");

    list->setCurrentRow(3);
    form->Delete1Click();
    EXPECT_EQ(Dialogs.Shown[1].Text, "Are you sure you want to delete this font from favorites?");
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[sans]\n");

    list->setCurrentRow(2);
    form->Delete1Click();
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n");

    // A file edited since the pane was filled: the clicked line is gone, nothing changes.
    PutFav("[Other]\r\nA=1\r\n");
    list->setCurrentRow(0);
    form->Delete1Click();
    EXPECT_EQ(FavBytes(), "[Other]\r\nA=1\r\n");
    EXPECT_EQ(Rows(*form), (std::vector<std::string>{"[Other", "A"}));

    list->setCurrentRow(0);
    form->Delete1Click();
    EXPECT_EQ(FavBytes(), "");
    EXPECT_FALSE(form->FavPane->Label2->isHidden());
    EXPECT_EQ(MenuTexts(*form), (std::vector<std::string>{"Add to Favorites", "-"}));
    EXPECT_EQ(Dialogs.Shown.size(), 5u);
}

TEST_F(MainFormFavorites, DoubleClickShowsTheGroupFromInstalledFonts)
{
    SetOptions(2, 0);
    PutFav(Groups);
    auto form = Shown();
    ASSERT_EQ(form->SourceList->Mode(), flmScreen);
    form->Favorites1Click();
    EXPECT_FALSE(form->AddFavorites1->isEnabled());
    emit form->PopupMenu1->aboutToShow();
    EXPECT_FALSE(form->AddtoFavorites1->isEnabled());

    QListWidget* list = form->FavPane->lbFav;
    list->setCurrentRow(4);  // DejaVu Serif
    form->lbFavDblClick();
    EXPECT_EQ(form->SourceList->Mode(), flmInstalled);
    EXPECT_EQ(form->FontView->Items().Mode(), flmInstalled);
    EXPECT_EQ(form->ViewContent, vcFavorites);
    EXPECT_EQ(form->CurrentGroup, "Serif");
    ASSERT_EQ(form->FontView->Items().Count(), 1);
    EXPECT_EQ(form->FontView->ItemIndex(), 0);
    form->Favorites1Click();
    EXPECT_TRUE(form->AddFavorites1->isEnabled());
    emit form->PopupMenu1->aboutToShow();
    EXPECT_TRUE(form->AddtoFavorites1->isEnabled());

    // A font missing from the installed ones is left out without a message.
    list->setCurrentRow(2);
    form->lbFavDblClick();
    EXPECT_EQ(form->CurrentGroup, "Sans & Co");
    ASSERT_EQ(form->FontView->Items().Count(), 1);
    EXPECT_EQ(form->FontView->Items().Fonts(0)->FullName, "DejaVu Sans");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(MainFormFavorites, AddingThroughTheDialogAndFailedWrites)
{
    PutFav(Groups);
    auto form = Shown();
    Mark(*form, {"DejaVu Serif"});
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfAddFav*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->lFontName->text(), "DejaVu Serif");
        dialog->lbGroup->setCurrentRow(1);
        dialog->bOK->click();
    });
    form->AddFavorites1Click();
    const std::string serif = form->SourceList->Fonts(form->SourceList->Find("DejaVu Serif"))->FileName;
    std::string expected = Groups;
    expected.replace(expected.find("DejaVu Serif = /x/DejaVuSerif.ttf\n"), 34, "DejaVu Serif=" + serif + "\n");
    EXPECT_EQ(FavBytes(), expected);
    EXPECT_EQ(form->FavPane->lbFav->count(), 7);

    // A read-only settings folder: one message naming the file, the file as it was.
    fs::permissions(Dir.path().toStdString(), fs::perms::owner_read | fs::perms::owner_exec);
    {
        TObeyFilePermissions obey;
        ASSERT_TRUE(obey.Active());
        Mark(*form, {"DejaVu Sans Bold"});
        form->AddFontsToGroup("Serif", {"DejaVu Sans Bold", "bad=name"}, {"/b.ttf", "/c.ttf"});
    }
    fs::permissions(Dir.path().toStdString(), fs::perms::owner_all);
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("bad=name"), std::string::npos) << Dialogs.Shown[0].Text;
    EXPECT_NE(Dialogs.Shown[1].Text.find(FavPath()), std::string::npos) << Dialogs.Shown[1].Text;
    EXPECT_EQ(FavBytes(), expected);
    EXPECT_EQ(form->FavPane->lbFav->count(), 7);
}

}  // namespace

namespace {

TEST_F(MainFormFavorites, RenameAndNewFolderAskForTheName)
{
    PutFav("[Sans]\r\nA=1\r\n[sans]\nB=2\n");
    auto form = Shown();
    std::vector<std::string> asked;
    std::vector<std::string> answers;
    form->PromptTextFn = [&](QWidget*, const std::string& caption, const std::string& prompt,
                             std::string& text) {
        asked.push_back(caption + "|" + prompt + "|" + text);
        if (answers.empty())
            return 2;
        text = answers.front();
        answers.erase(answers.begin());
        return 1;
    };
    QListWidget* list = form->FavPane->lbFav;

    list->setCurrentRow(3);
    form->pmFavPopup();
    EXPECT_FALSE(form->FavPane->Rename1->isVisible());
    list->setCurrentRow(2);
    form->pmFavPopup();
    EXPECT_TRUE(form->FavPane->Rename1->isVisible());
    EXPECT_TRUE(form->FavPane->Delete1->isVisible());

    answers = {"Mono"};
    form->Rename1Click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Rename|\n\nNew Favorites Folder Name:|sans");
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[Mono]\nB=2\n");
    EXPECT_EQ(MenuTexts(*form).back(), "Mono");

    // Another group's name, letter case aside, is refused with a message.
    list->setCurrentRow(2);
    answers = {"SANS"};
    form->Rename1Click();
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[Mono]\nB=2\n");
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_NE(Dialogs.Shown[0].Text.find("SANS"), std::string::npos);

    answers = {" Serif "};
    form->tbNewFolderClick();
    EXPECT_EQ(asked.back(), "New Folder|\n\nNew Folder:|New Folder");
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[Mono]\nB=2\n[Serif]\r\n");
    EXPECT_EQ(list->currentRow(), 4);

    // A name in use selects that group; an empty name and Cancel do nothing.
    answers = {"mono", ""};
    form->tbNewFolderClick();
    EXPECT_EQ(list->currentRow(), 2);
    form->tbNewFolderClick();
    form->tbNewFolderClick();
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n[Mono]\nB=2\n[Serif]\r\n");
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
}

}  // namespace

namespace {

TEST_F(MainFormFavorites, ADropBelowTheLastItemLetsTheDialogChoose)
{
    PutFav("[Sans]\r\nA=1\r\n");
    auto form = Shown();
    Mark(*form, {"DejaVu Serif"});
    QWidget* target = form->FavPane->lbFav->viewport();
    const QPoint below(10, target->height() - 5);
    ASSERT_EQ(form->FavPane->lbFav->ItemAt(below), -1);
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        auto* dialog = qobject_cast<TfAddFav*>(QApplication::activeModalWidget());
        asked = dialog != nullptr;
        if (dialog)
            dialog->bCancel->click();
    });
    std::unique_ptr<QMimeData> data(FontDragData());
    EXPECT_TRUE(DragMove(target, below, data.get()));
    EXPECT_EQ(form->FavPane->lbFav->Tag(), -1);
    EXPECT_TRUE(Drop(target, below, data.get()));
    EXPECT_TRUE(asked);
    EXPECT_EQ(FavBytes(), "[Sans]\r\nA=1\r\n");
}

}  // namespace
