#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <iterator>

#include "controls/xp_controls.h"
#include "details/font_info_form.h"
#include "fonts/font_info.h"
#include "fonts/naming_table.h"
#include "platform/platform.h"
#include "preview/raw_font_cache.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"
#include "support/ttf_builder.h"

namespace {

using fonzeta::test::Sandbox;
using fonzeta::test::TFakeLocale;
using fonzeta::test::TScriptedDialogs;
using fonzeta::test::TTempFolder;
using fonzeta::test::TTtfBuilder;

class FontInfoForm : public ::testing::Test {
protected:
    FontInfoForm()
    {
        Services.Dialogs = &Dialogs;
        Services.Locale = &Locale;
    }

    // A filled window; the caller owns it (it would free itself when closed).
    std::unique_ptr<TfFontInfo> Filled(const TFontInfo& font)
    {
        auto form = std::make_unique<TfFontInfo>(Cache, Services);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->Fill(font);
        return form;
    }

    static QString Text(TfFontInfo& form, const char* name)
    {
        return form.findChild<QLabel*>(QLatin1String(name))->text();
    }

    static std::vector<QString> Metrics(TfFontInfo& form)
    {
        std::vector<QString> values;
        for (const char* name : {"lHeight", "lAscent", "lDescent", "lLineGap", "lExtLeading",
                                 "lIntLeading", "lAvgCharWidth", "lMaxCharWidth"})
            values.push_back(Text(form, name));
        return values;
    }

    static TFontInfo FromFile(const std::string& path, uint16_t langID = 0x0409)
    {
        TFontInfo font;
        EXPECT_EQ(ReadNamingTable(font, path, langID).Status, TNameReadStatus::Done);
        return font;
    }

    TTempFolder Temp;
    TRawFontCache Cache;
    TPlatform Services;
    TScriptedDialogs Dialogs;
    TFakeLocale Locale;
};

TEST_F(FontInfoForm, LayoutOfTheWindow)
{
    auto form = Filled(FromFile(Sandbox::DejaVuSans()));
    EXPECT_EQ(form->size(), QSize(402, 426));
    EXPECT_EQ(form->PageControl1->geometry(), QRect(8, 8, 385, 381));
    EXPECT_EQ(form->OK->geometry(), QRect(316, 396, 76, 22));
    EXPECT_TRUE(form->OK->isDefault());
    EXPECT_EQ(form->PageControl1->tabText(0), "General");
    EXPECT_EQ(form->PageControl1->tabText(1), "Metrics");
    // Value labels end where the layout puts their right edges.
    EXPECT_EQ(form->lHeight->geometry().right() + 1, 130);
    EXPECT_EQ(form->lMaxCharWidth->geometry().right() + 1, 337);
    // Values keep their right edges and never run under their captions.
    for (QLabel* value : {form->FullName, form->FamilyName, form->FileName, form->Size}) {
        EXPECT_EQ(value->geometry().right() + 1, 365) << value->objectName().toStdString();
        for (QLabel* caption : form->General->findChildren<QLabel*>()) {
            if (caption->objectName().isEmpty() && std::abs(caption->y() - value->y()) < 4) {
                EXPECT_LT(caption->geometry().right(), value->x());
            }
        }
    }
}

TEST_F(FontInfoForm, EnglishTitleFollowsTheLocalisedNameOfAKoreanUser)
{
    const std::string path = TTtfBuilder()
                                 .Name(1, "나눔고딕", 0x0412)
                                 .Name(4, "나눔고딕", 0x0412)
                                 .Name(1, "Nanum Gothic", 0x0409)
                                 .Name(4, "Nanum Gothic", 0x0409)
                                 .Write(Temp / "built.ttf");
    auto korean = Filled(FromFile(path, 0x0412));
    EXPECT_EQ(Text(*korean, "FontTitle"), "나눔고딕 (Nanum Gothic)");
    EXPECT_EQ(korean->FontTitle->toolTip(), "나눔고딕 (Nanum Gothic)");
    EXPECT_EQ(Text(*korean, "FullName"), "나눔고딕");
    auto english = Filled(FromFile(path, 0x0409));
    EXPECT_EQ(Text(*english, "FontTitle"), "Nanum Gothic");
    // Not a font Qt can load: every metric is a dash, none is 0.
    for (const QString& value : Metrics(*english))
        EXPECT_EQ(value, QStringLiteral("\u2013"));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(FontInfoForm, LongTitleIsElidedWithAllOfItInTheTooltip)
{
    EXPECT_EQ(TfFontInfo::TitleText("Nanum Gothic", "NANUM GOTHIC"), "Nanum Gothic");
    const std::string longName(300, 'W');
    TFontInfo font = FromFile(Sandbox::DejaVuSans());
    font.FullName = "가" + longName;
    auto form = Filled(font);
    const QString full = QString::fromStdString(font.FullName + " (DejaVu Sans)");
    EXPECT_EQ(form->FontTitle->toolTip(), full);
    EXPECT_TRUE(Text(*form, "FontTitle").endsWith(QChar(0x2026)));
    EXPECT_LE(form->FontTitle->fontMetrics().horizontalAdvance(Text(*form, "FontTitle")),
              form->FontTitle->width());
}

TEST_F(FontInfoForm, TextsFromTheFileAreNeverMarkup)
{
    TFontInfo font = FromFile(Sandbox::DejaVuSans());
    font.Copyright = "<b>Bold</b> &amp;";
    font.Version = "<i>1.0</i>";
    auto form = Filled(font);
    EXPECT_EQ(form->Copyright->toPlainText(), "<b>Bold</b> &amp;");
    EXPECT_EQ(form->Version->textFormat(), Qt::PlainText);
    EXPECT_EQ(form->FontTitle->textFormat(), Qt::PlainText);
    EXPECT_TRUE(form->Copyright->isReadOnly());
}

TEST_F(FontInfoForm, SizeOfEmptyVanishedAndRootFiles)
{
    EXPECT_EQ(TfFontInfo::SizeText(1234567, ","), "1,234,567 bytes");
    EXPECT_EQ(TfFontInfo::SizeText(999, "."), "999 bytes");
    EXPECT_EQ(TfFontInfo::SizeText(18446744073709551615ull, " "),
              "18 446 744 073 709 551 615 bytes");

    TFontInfo font = FromFile(Sandbox::DejaVuSans());
    font.FileName = Temp / "empty.ttf";
    std::ofstream(font.FileName).close();
    auto empty = Filled(font);
    EXPECT_EQ(Text(*empty, "Size"), "0 bytes");
    EXPECT_EQ(Text(*empty, "Folder"), QString::fromStdString(Temp.Path()));
    EXPECT_EQ(Text(*empty, "FontTitle"), "DejaVu Sans");

    font.FileName = "/NoSuchFont-fonzeta.ttf";
    auto root = Filled(font);
    EXPECT_EQ(Text(*root, "Size"), "file not found");
    EXPECT_EQ(Text(*root, "Folder"), "/");
    EXPECT_EQ(Text(*root, "FileName"), "NoSuchFont-fonzeta.ttf");
    EXPECT_TRUE(root->PageControl1->isTabVisible(0));
    // The empty file was reported by the name reader; the missing one is no failure.
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
}

TEST_F(FontInfoForm, NameOnlyRecordsShowMetricsOnly)
{
    TFontInfo screen;
    screen.FullName = "DejaVu Sans";
    auto form = Filled(screen);
    EXPECT_FALSE(form->PageControl1->isTabVisible(0));
    EXPECT_TRUE(form->PageControl1->isTabVisible(1));
    auto file = Filled(FromFile(Sandbox::DejaVuSans()));
    EXPECT_EQ(Metrics(*form), Metrics(*file));
    EXPECT_EQ(Text(*form, "lHeight"), "13 px");

    // A family the system does not have is not replaced by another font's metrics.
    TFontInfo unknown;
    unknown.FullName = "No Such Family Fonzeta";
    auto missing = Filled(unknown);
    for (const QString& value : Metrics(*missing))
        EXPECT_EQ(value, QStringLiteral("\u2013"));
    EXPECT_EQ(Text(*missing, "FontTitle"), "No Such Family Fonzeta");
}

// A collection of DejaVu Sans (face 0) and DejaVu Sans Bold (face 1): each font's bytes
// follow the collection header, with its table offsets moved by where it starts.
std::string WriteCollection(const std::string& path)
{
    std::string file("ttcf\0\1\0\0\0\0\0\2", 12);
    const auto put32 = [](std::string& bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(value >> (24 - 8 * i));
    };
    file.resize(20);
    for (int face = 0; face < 2; ++face) {
        std::ifstream in(face == 0 ? Sandbox::DejaVuSans() : Sandbox::DejaVuSansBold(),
                         std::ios::binary);
        std::string font((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        file.resize((file.size() + 3) / 4 * 4);
        const uint32_t base = uint32_t(file.size());
        put32(file, 12 + 4 * face, base);
        const int tables = uint8_t(font[4]) << 8 | uint8_t(font[5]);
        for (int i = 0; i < tables; ++i) {
            const size_t at = 12 + 16 * i + 8;
            uint32_t offset = 0;
            for (int b = 0; b < 4; ++b)
                offset = offset << 8 | uint8_t(font[at + b]);
            put32(font, at, offset + base);
        }
        file += font;
    }
    std::ofstream(path, std::ios::binary) << file;
    return path;
}

TEST_F(FontInfoForm, EachFaceOfACollectionShowsItsOwnMetrics)
{
    const std::string path = WriteCollection(Temp / "pair.ttc");
    TFontInfo font = FromFile(Sandbox::DejaVuSans());
    font.FileName = path;
    font.FaceIndex = 0;
    EXPECT_EQ(Text(*Filled(font), "lMaxCharWidth"), "21 px");
    font.FaceIndex = 1;
    EXPECT_EQ(Text(*Filled(font), "lMaxCharWidth"), "22 px");
}

TEST_F(FontInfoForm, EnterAndEscapeClose)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        auto form = Filled(FromFile(Sandbox::DejaVuSans()));
        form->show();
        QTest::keyClick(form.get(), key);
        EXPECT_FALSE(form->isVisible()) << key;
        EXPECT_EQ(form->result(), key == Qt::Key_Return ? 1 : 0);
    }
}

}  // namespace
