#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <fstream>

#include "details/char_grid.h"
#include "details/char_table_form.h"
#include "details/glyph_edit.h"
#include "details/glyph_label.h"
#include "fonts/font_info.h"
#include "fonts/naming_table.h"
#include "preview/raw_font_cache.h"
#include "preview/text_face.h"
#include "support/look_alike.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TTempFolder;

class CharTable : public ::testing::Test {
protected:
    std::unique_ptr<TfCharTable> Shown(const std::string& path)
    {
        TFontInfo font;
        ReadNamingTable(font, path, 0x0409);
        auto form = std::make_unique<TfCharTable>(Cache, font);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->show();
        return form;
    }

    static QImage Cells(TfCharTable& form) { return form.sgTable->grab().toImage(); }

    TRawFontCache Cache;
};

TEST(CharGrid, CellsHoldTheTwoRangesInOrder)
{
    EXPECT_EQ(TCharGrid::CodeAt(0, 0), 33);
    EXPECT_EQ(TCharGrid::CodeAt(13, 5), 126);  // k = 93
    EXPECT_EQ(TCharGrid::CodeAt(14, 5), 160);
    EXPECT_EQ(TCharGrid::CodeAt(13, 11), 255);
    EXPECT_EQ(TCharGrid::CodeAt(14, 11), -1);
    EXPECT_EQ(TCharGrid::CodeAt(15, 11), -1);
    EXPECT_EQ(TCharGrid::CodeAt(16, 0), -1);
    EXPECT_EQ(TCharGrid::CodeAt(0, 12), -1);
    int cells = 0;
    for (int row = 0; row < TCharGrid::RowCount; ++row)
        for (int col = 0; col < TCharGrid::ColCount; ++col)
            cells += TCharGrid::CodeAt(col, row) >= 0;
    EXPECT_EQ(cells, 190);
}

TEST_F(CharTable, EmptyCellsShowNoCodeAndSelectNothing)
{
    auto form = Shown(Sandbox::DejaVuSans());
    EXPECT_EQ(form->sgTable->geometry().width(), 16 * 25 + 1);
    EXPECT_EQ(form->lChar->Text(), "!");
    form->sgTable->SetCell(15, 11);
    EXPECT_TRUE(form->Hex->text().isEmpty());
    EXPECT_TRUE(form->Decimal->text().isEmpty());
    EXPECT_TRUE(form->lChar->Text().isEmpty());
    form->bbSelectClick();
    QTest::keyClick(form->sgTable, Qt::Key_Return);
    EXPECT_TRUE(form->eChars->Text().isEmpty());
    // Arrows stay inside the grid.
    QTest::keyClick(form->sgTable, Qt::Key_Down);
    QTest::keyClick(form->sgTable, Qt::Key_Right);
    EXPECT_EQ(form->sgTable->Col(), 15);
    EXPECT_EQ(form->sgTable->Row(), 11);
    QTest::keyClick(form->sgTable, Qt::Key_Left);
    QTest::keyClick(form->sgTable, Qt::Key_Left);
    EXPECT_EQ(form->Decimal->text(), "255");
    EXPECT_EQ(form->Hex->text(), "00FF");
    EXPECT_EQ(form->lChar->Text(), QString(QChar(0xFF)));

    // Escape closes the window from the grid and from the collecting box alike.
    QTest::keyClick(form->sgTable, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    form->show();
    form->eChars->setFocus();
    QTest::keyClick(form->eChars, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CharTable, CellsAreDrawnInTheRecordsOwnFace)
{
    TTempFolder folder;
    const std::string lookAlike = fonzeta::test::SerifNamedSans(folder);
    auto regular = Shown(Sandbox::DejaVuSans());
    auto bold = Shown(Sandbox::DejaVuSansBold());
    auto serif = Shown(Sandbox::DejaVuSerif());
    auto named = Shown(lookAlike);
    EXPECT_NE(Cells(*regular), Cells(*bold));
    EXPECT_NE(Cells(*regular), Cells(*named));
    EXPECT_EQ(Cells(*serif), Cells(*named));
    // Both DejaVu faces have every one of the characters.
    for (int code : {33, 126, 160, 181, 255})
        EXPECT_TRUE(regular->sgTable->HasGlyph(code)) << code;
}

TEST_F(CharTable, CharactersTheFileLacksAreGreyedNotBorrowed)
{
    auto form = Shown(Sandbox::NanumGothic());
    const int micro = 181 - 66;  // cell index of U+00B5
    const int col = micro % 16, row = micro / 16;
    ASSERT_EQ(TCharGrid::CodeAt(col, row), 181);
    EXPECT_FALSE(form->sgTable->HasGlyph(181));
    EXPECT_TRUE(form->sgTable->HasGlyph(161));
    const QImage cells = Cells(*form);
    const QRect cell = form->sgTable->CellRect(col, row);
    // One flat grey, nothing drawn in it.
    const QRgb grey = cells.pixel(cell.topLeft());
    EXPECT_NE(grey, form->sgTable->palette().color(QPalette::Base).rgb());
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            ASSERT_EQ(cells.pixel(x, y), grey) << x << "," << y;
    // A character the file has draws ink in its cell.
    const QRect present = form->sgTable->CellRect(0, 1);  // '1'
    int ink = 0;
    const QRgb paper = cells.pixel(present.topLeft());
    for (int y = present.top(); y <= present.bottom(); ++y)
        for (int x = present.left(); x <= present.right(); ++x)
            ink += cells.pixel(x, y) != paper;
    EXPECT_GT(ink, 10);
    form->sgTable->SetCell(col, row);
    EXPECT_EQ(form->Hex->text(), "00B5");
    EXPECT_TRUE(form->lChar->Text().isEmpty());
}

TEST_F(CharTable, AFileThatIsNoFontHasNoCharacters)
{
    TTempFolder folder;
    const std::string path = folder / "broken.ttf";
    std::ofstream(path, std::ios::binary) << std::string(64, 'x');
    auto form = Shown(path);
    for (int code : {33, 65, 160, 255})
        EXPECT_FALSE(form->sgTable->HasGlyph(code)) << code;
    EXPECT_TRUE(form->lChar->Text().isEmpty());
    // The codes still show, and the character can still be collected.
    EXPECT_EQ(form->Hex->text(), "0021");
    form->bbSelectClick();
    EXPECT_EQ(form->eChars->Text(), "!");
}

class GlyphEdit : public ::testing::Test {
protected:
    GlyphEdit()
    {
        TFontInfo font;
        font.FileName = Sandbox::DejaVuSans();
        Face = RecordFace(Cache, font, 19, {}, QFont());
        Edit.SetFace(Face);
        Edit.resize(200, 30);
        Edit.show();
        Edit.setFocus();
    }

    TRawFontCache Cache;
    TTextFace Face;
    TGlyphEdit Edit;
};

TEST_F(GlyphEdit, EditsAtTheCaretWhichStandsAtTheFacesAdvance)
{
    QTest::keyClicks(&Edit, QStringLiteral("Wave"));
    EXPECT_EQ(Edit.Text(), "Wave");
    QTest::keyClick(&Edit, Qt::Key_Left);
    QTest::keyClick(&Edit, Qt::Key_Left);
    const int caret = Edit.CaretX();
    EXPECT_EQ(caret - 3, Face.Advance(QStringLiteral("Wa")));
    QTest::keyClick(&Edit, Qt::Key_Backspace);
    EXPECT_EQ(Edit.Text(), "Wve");
    QTest::keyClick(&Edit, Qt::Key_Delete);
    EXPECT_EQ(Edit.Text(), "We");
    QTest::keyClick(&Edit, Qt::Key_Home);
    QTest::keyClicks(&Edit, QStringLiteral("A"));
    QTest::keyClick(&Edit, Qt::Key_End);
    QTest::keyClicks(&Edit, QStringLiteral("Z"));
    EXPECT_EQ(Edit.Text(), "AWeZ");
    EXPECT_EQ(Edit.CursorPosition(), 4);

    // A character outside the basic plane goes in and out as one.
    QApplication::clipboard()->setText(QStringLiteral("x\n\U0001F600"));
    QTest::keyClick(&Edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit.Text(), QStringLiteral("AWeZx \U0001F600"));
    QTest::keyClick(&Edit, Qt::Key_Left);
    EXPECT_EQ(Edit.CursorPosition(), 6);
    QTest::keyClick(&Edit, Qt::Key_Delete);
    EXPECT_EQ(Edit.Text(), "AWeZx ");

    Edit.SelectAll();
    QTest::keyClicks(&Edit, QStringLiteral("q"));
    EXPECT_EQ(Edit.Text(), "q");

    // Text composed by an input method is inserted at the caret.
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("한"));
    QApplication::sendEvent(&Edit, &composed);
    EXPECT_EQ(Edit.Text(), "q한");
}

TEST_F(GlyphEdit, DrawsItsTextInTheFace)
{
    Edit.SetText(QStringLiteral("Hamburg"));
    Edit.clearFocus();
    QImage drawn = Edit.grab().toImage();
    QImage expected(Edit.size(), drawn.format());
    expected.fill(drawn.pixel(1, 1));
    {
        QPainter painter(&expected);
        painter.setPen(Edit.palette().color(QPalette::Mid));
        painter.drawRect(expected.rect().adjusted(0, 0, -1, -1));
        painter.setPen(Edit.palette().color(QPalette::Text));
        Face.Draw(painter, QPointF(3, (Edit.height() - Face.Height()) / 2), QStringLiteral("Hamburg"));
    }
    EXPECT_EQ(drawn, expected);
}

}  // namespace
