#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "details/font_metrics.h"
#include "support/sandbox.h"

namespace {

using fonzeta::test::Sandbox;
using Bytes = std::vector<uint8_t>;

// The test's own reader of a font file's table directory.
std::map<std::string, Bytes> ReadTables(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto u16 = [&](size_t at) { return file.at(at) << 8 | file.at(at + 1); };
    const auto u32 = [&](size_t at) { return uint32_t(u16(at)) << 16 | u16(at + 2); };
    std::map<std::string, Bytes> tables;
    for (int i = 0; i < u16(4); ++i) {
        const size_t record = 12 + 16 * i;
        const uint32_t offset = u32(record + 8), length = u32(record + 12);
        tables[std::string(file.begin() + record, file.begin() + record + 4)] =
            Bytes(file.begin() + offset, file.begin() + offset + length);
    }
    return tables;
}

int S16(const Bytes& table, size_t at) { return int16_t(table.at(at) << 8 | table.at(at + 1)); }
int U16(const Bytes& table, size_t at) { return table.at(at) << 8 | table.at(at + 1); }

void Put16(Bytes& table, size_t at, int value)
{
    table.at(at) = uint8_t(value >> 8);
    table.at(at + 1) = uint8_t(value);
}

TFontMetrics FromFile(const std::string& path, int ppem)
{
    auto tables = ReadTables(path);
    return ComputeFontMetrics(tables["head"], tables["hhea"], tables["OS/2"], ppem);
}

// Three small tables with chosen values: unitsPerEm 1000, ascender 800, descender -200,
// hhea line gap 100, advanceWidthMax 1500, xAvgCharWidth 500, typo 750/-250/50, win 900/300.
struct Crafted {
    Bytes head = Bytes(54, 0);
    Bytes hhea = Bytes(36, 0);
    Bytes os2 = Bytes(96, 0);
    Crafted()
    {
        Put16(head, 18, 1000);
        Put16(hhea, 4, 800);
        Put16(hhea, 6, -200);
        Put16(hhea, 8, 100);
        Put16(hhea, 10, 1500);
        Put16(os2, 2, 500);
        Put16(os2, 68, 750);
        Put16(os2, 70, -250);
        Put16(os2, 72, 50);
        Put16(os2, 74, 900);
        Put16(os2, 76, 300);
    }
    TFontMetrics At(int ppem) const { return ComputeFontMetrics(head, hhea, os2, ppem); }
};

TEST(FontMetrics, PpemIsEightPointsAtTheLogicalResolution)
{
    EXPECT_EQ(MetricsPpem(96), 11);
    EXPECT_EQ(MetricsPpem(72), 8);
    EXPECT_EQ(MetricsPpem(120), 13);
    EXPECT_EQ(MetricsPpem(144), 16);
}

TEST(FontMetrics, DejaVuFacesAtElevenPixels)
{
    const TFontMetrics sans = FromFile(Sandbox::DejaVuSans(), 11);
    EXPECT_EQ(MetricText(sans.Height), "13 px");
    EXPECT_EQ(MetricText(sans.Ascent), "8 px");
    EXPECT_EQ(MetricText(sans.Descent), "-3 px");
    EXPECT_EQ(MetricText(sans.LineGap), "2 px");
    EXPECT_EQ(MetricText(sans.ExternalLeading), "0 px");
    EXPECT_EQ(MetricText(sans.InternalLeading), "2 px");
    EXPECT_EQ(MetricText(sans.AvgCharWidth), "6 px");
    EXPECT_EQ(MetricText(sans.MaxCharWidth), "21 px");
    EXPECT_EQ(FromFile(Sandbox::DejaVuSansBold(), 11).MaxCharWidth, 22);
    EXPECT_EQ(FromFile(Sandbox::DejaVuSerif(), 11).MaxCharWidth, 24);
}

TEST(FontMetrics, NanumGothicFollowsItsOwnTablesAtSeveralSizes)
{
    auto tables = ReadTables(Sandbox::NanumGothic());
    const Bytes& head = tables["head"];
    const Bytes& hhea = tables["hhea"];
    const Bytes& os2 = tables["OS/2"];
    const double upem = U16(head, 18);
    for (int ppem : {11, 13, 16, 25}) {
        const auto px = [&](double units) { return int(std::round(units * ppem / upem)); };
        const TFontMetrics m = ComputeFontMetrics(head, hhea, os2, ppem);
        const int height = px(U16(os2, 74)) + px(U16(os2, 76));
        EXPECT_EQ(m.Height, height) << ppem;
        EXPECT_EQ(m.Ascent, px(S16(os2, 68))) << ppem;
        EXPECT_EQ(m.Descent, px(S16(os2, 70))) << ppem;
        EXPECT_LT(*m.Descent, 0);
        EXPECT_EQ(m.LineGap, px(S16(os2, 72))) << ppem;
        EXPECT_EQ(m.InternalLeading, height - ppem) << ppem;
        const int extra =
            S16(hhea, 8) - (U16(os2, 74) + U16(os2, 76) - (S16(hhea, 4) - S16(hhea, 6)));
        EXPECT_EQ(m.ExternalLeading, px(std::max(0, extra))) << ppem;
        EXPECT_EQ(m.AvgCharWidth, px(S16(os2, 2))) << ppem;
        EXPECT_EQ(m.MaxCharWidth, px(U16(hhea, 10))) << ppem;
    }
}

TEST(FontMetrics, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(ScaleUnits(1024, 11, 2048), 6);    // 5.5
    EXPECT_EQ(ScaleUnits(-1024, 11, 2048), -6);  // -5.5
    EXPECT_EQ(ScaleUnits(-1023, 11, 2048), -5);
    EXPECT_EQ(ScaleUnits(65535, 100, 16), 409594);  // no overflow of 32 bits

    Crafted font;
    Put16(font.os2, 70, -50);  // -0.55 px at 11: -1
    Put16(font.os2, 68, 45);   // 0.495 px: 0
    const TFontMetrics m = font.At(11);
    EXPECT_EQ(m.Descent, -1);
    EXPECT_EQ(m.Ascent, 0);
}

TEST(FontMetrics, ExternalLeadingIsTheHheaGapBeyondTheWinBox)
{
    Crafted font;
    // win box 1200 units, hhea box 1000: a gap of 100 is covered, external leading 0.
    TFontMetrics m = font.At(10);
    EXPECT_EQ(m.ExternalLeading, 0);
    EXPECT_EQ(m.Height, 12);
    EXPECT_EQ(m.InternalLeading, 2);
    // A gap of 500 leaves 300 units beyond the win box: 3 px at 10 ppem.
    Put16(font.hhea, 8, 500);
    m = font.At(10);
    EXPECT_EQ(m.ExternalLeading, 3);
    EXPECT_EQ(m.MaxCharWidth, 15);
    EXPECT_EQ(m.AvgCharWidth, 5);
}

TEST(FontMetrics, WhatADamagedOrMissingTableCannotGiveIsADash)
{
    {
        Crafted font;
        Put16(font.head, 18, 0);
        const TFontMetrics m = font.At(11);
        for (const auto& value : {m.Height, m.Ascent, m.Descent, m.LineGap, m.ExternalLeading,
                                  m.InternalLeading, m.AvgCharWidth, m.MaxCharWidth})
            EXPECT_EQ(MetricText(value), "\u2013");
    }
    {
        Crafted font;
        font.head.resize(19);  // unitsPerEm cut in half
        EXPECT_FALSE(font.At(11).MaxCharWidth);
    }
    {
        Crafted font;
        const TFontMetrics m = ComputeFontMetrics(font.head, font.hhea, {}, 11);
        EXPECT_FALSE(m.Height || m.Ascent || m.Descent || m.LineGap || m.ExternalLeading ||
                     m.InternalLeading || m.AvgCharWidth);
        EXPECT_EQ(m.MaxCharWidth, 17);
    }
    {
        // An OS/2 table of the oldest, 68-byte layout: no typo or win values.
        Crafted font;
        font.os2.resize(68);
        const TFontMetrics m = font.At(11);
        EXPECT_EQ(m.AvgCharWidth, 6);
        EXPECT_FALSE(m.Ascent || m.Height || m.InternalLeading || m.ExternalLeading);
        Crafted typoOnly;
        typoOnly.os2.resize(76);  // typo values, win descent missing
        const TFontMetrics partial = typoOnly.At(11);
        EXPECT_EQ(partial.LineGap, 1);
        EXPECT_FALSE(partial.Height);
    }
    {
        Crafted font;
        font.hhea.resize(10);  // no advanceWidthMax
        const TFontMetrics m = font.At(10);
        EXPECT_FALSE(m.MaxCharWidth);
        EXPECT_EQ(m.ExternalLeading, 0);  // line gap still there
        font.hhea.resize(6);
        EXPECT_FALSE(font.At(10).ExternalLeading);
        EXPECT_EQ(font.At(10).Height, 12);
    }
}

}  // namespace
