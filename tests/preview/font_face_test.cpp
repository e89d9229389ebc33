#include <gtest/gtest.h>

#include <fstream>

#include <QFontInfo>
#include <QTemporaryDir>

#include "preview/bitmap32.h"
#include "preview/font_face.h"
#include "support/sandbox.h"

using fonzeta::test::Sandbox;

namespace {

std::vector<TColor32> RenderFile(const std::string& file)
{
    const std::optional<QFont> face = FontFaceFromFile(file);
    EXPECT_TRUE(face.has_value()) << file;
    QFont font = face.value_or(QFont());
    font.setPointSize(20);
    TBitmap32 bitmap;
    bitmap.SetSize(300, 40);
    bitmap.Clear();
    bitmap.SetFont(font);
    bitmap.RenderText(0, 0, "Hamburgefonts", 2, 0xFFFFFFFF);
    return std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + 300 * 40);
}

int Ink(const std::vector<TColor32>& pixels)
{
    int sum = 0;
    for (TColor32 p : pixels)
        sum += static_cast<int>(p & 0xFF);
    return sum;
}

}  // namespace

TEST(FontFaceFromFile, SelectsTheFacesOfTheFileItself)
{
    const std::optional<QFont> regular = FontFaceFromFile(Sandbox::DejaVuSans());
    const std::optional<QFont> bold = FontFaceFromFile(Sandbox::DejaVuSansBold());
    ASSERT_TRUE(regular && bold);
    EXPECT_EQ(regular->family(), "DejaVu Sans");
    EXPECT_EQ(bold->family(), "DejaVu Sans");
    EXPECT_EQ(QFontInfo(*regular).styleName(), "Book");
    EXPECT_EQ(QFontInfo(*bold).styleName(), "Bold");
    EXPECT_FALSE(QFontInfo(*regular).bold());
    EXPECT_TRUE(QFontInfo(*bold).bold());

    const std::optional<QFont> nanum = FontFaceFromFile(Sandbox::NanumGothic());
    ASSERT_TRUE(nanum);
    EXPECT_EQ(QFontInfo(*nanum).family(), "NanumGothic");
}

TEST(FontFaceFromFile, RegularAndBoldFilesOfOneFamilyRenderDifferently)
{
    const auto regular = RenderFile(Sandbox::DejaVuSans());
    const auto bold = RenderFile(Sandbox::DejaVuSansBold());
    ASSERT_GT(Ink(regular), 0);
    EXPECT_NE(regular, bold);
    // Bold strokes carry more ink.
    EXPECT_GT(Ink(bold), Ink(regular) * 11 / 10);
    // The regular file draws the family's ordinary face.
    QFont plain("DejaVu Sans");
    plain.setPointSize(20);
    TBitmap32 bitmap;
    bitmap.SetSize(300, 40);
    bitmap.Clear();
    bitmap.SetFont(plain);
    bitmap.RenderText(0, 0, "Hamburgefonts", 2, 0xFFFFFFFF);
    EXPECT_EQ(std::vector<TColor32>(bitmap.Bits(), bitmap.Bits() + 300 * 40), regular);
}

TEST(FontFaceFromFile, RefusesFilesThatAreNoFonts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("notes.ttf").toStdString();
    std::ofstream(path) << "not a font";
    EXPECT_FALSE(FontFaceFromFile(path).has_value());
    EXPECT_FALSE(FontFaceFromFile(dir.filePath("missing.ttf").toStdString()).has_value());
}
