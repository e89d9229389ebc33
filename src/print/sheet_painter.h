#pragma once

#include <string>

#include <QFont>
#include <QString>

#include "preview/color32.h"
#include "print/sheet_layout.h"

class QPaintDevice;
class QPainter;
class TFontList;
class TSampleFaces;

// The texts and colours of a sample sheet that the user chose.
struct TSheetTexts {
    std::string Title;
    TColor NameColor = 0x008000;
    TColor SampleColor = 0x000000;
    TColor TitleColor = 0x000000;
    // The preview's size in points.
    int FontSize = 16;
    // The main window's sample text.
    std::string Sample;
};

// The sheet's own texts are set in "DejaVu Sans", a clear sans face every Debian desktop
// has; `points` at the device's vertical resolution, rounded to whole pixels, unhinted.
QFont SheetFont(int points, int dpiY);

// What `device` (a printer, or an image in tests) measures for a sheet with samples of
// `fontSize` points: its printable area, resolutions, and the heights of "Ag" in the label
// face and in the sample size.
TSheetMetrics MeasureSheet(const QPaintDevice& device, int fontSize);

// Draws pages of a sample sheet: the header (a grey rule, "Font List by Fonzeta", the
// title and the sample size), one row per font (its number and name over its sample, in the
// font's own face, clipped to the row) and the footer (a credit line and the page number).
// Positions are the tops of text cells; the baseline lies an ascent below.
class TSheetPainter {
public:
    TSheetPainter(const TSheetLayout& layout, const TSheetTexts& texts, const TFontList& fonts,
                  TSampleFaces& faces);

    void PaintPage(QPainter& painter, int page) const;

    static const char* const Credit;

private:
    void PaintHeader(QPainter& painter) const;
    void PaintRows(QPainter& painter, int page) const;
    void PaintFooter(QPainter& painter, int page) const;

    const TSheetLayout& FLayout;
    const TSheetTexts& FTexts;
    const TFontList& FFonts;
    TSampleFaces& FFaces;
    QFont FLabelFont;
    QFont FTitleFont;
    QFont FHeadFont;
    QString FSample;
};

// Line breaks of a text become spaces, so one line is printed.
QString OneLine(const std::string& text);
