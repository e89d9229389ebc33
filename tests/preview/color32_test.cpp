#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "preview/color32.h"

TEST(Color32, MovesPlainColoursToArgbOrderAndMakesThemOpaque)
{
    EXPECT_EQ(Color32(clNavy), 0xFF000080u);
    EXPECT_EQ(Color32(clRed), 0xFFFF0000u);
    EXPECT_EQ(Color32(0x00332211), 0xFF112233u);
    EXPECT_EQ(Color32(33023), 0xFFFF8000u);  // the preview's default selection orange
    EXPECT_EQ(ColorToRGB(0x00332211), 0x00332211);
}

TEST(Color32, ResolvesSystemColoursThroughTheApplicationPalette)
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(250, 240, 230));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
    QApplication::setPalette(palette);

    EXPECT_EQ(Color32(clBtnFace), 0xFF0A141Eu);
    EXPECT_EQ(Color32(clWindow), 0xFFFAF0E6u);
    EXPECT_EQ(Color32(clHighlight), 0xFF010203u);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x001E140A);
    EXPECT_EQ(ColorToQColor(clWindow), QColor(250, 240, 230));

    QApplication::setPalette(saved);
}

TEST(Color32, UnknownSystemColourIsBlack)
{
    EXPECT_EQ(Color32(SystemColor(200)), 0xFF000000u);
}

TEST(Color32, QColorRoundTrip)
{
    EXPECT_EQ(QColorToColor(QColor(0x11, 0x22, 0x33)), 0x00332211);
    EXPECT_EQ(ColorToQColor(clGreen), QColor(0, 128, 0));
}
