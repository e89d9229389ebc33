#pragma once

#include <string>
#include <vector>

#include "preview/color32.h"
#include "preview/font_styles.h"

class TIniFile;

// Which side pane is open, as kept under [Option] Left.
enum : int { spNone = 0, spSelected = 1, spFavorites = 2 };

// What fonzeta.ini keeps between runs: the main window's place, the open side pane, the
// font source, the preview's look and the sample-text history. The defaults are those of a
// first run.
struct TSettings {
    bool Maximized = false;
    int Left = 100;
    int Top = 100;
    int Width = 550;
    int Height = 500;
    int Pane = spNone;
    int ViewMode = 1;  // the installed fonts
    std::string Path;
    // Glyphs a font borrows from fallback faces drawn in light grey ([Option]
    // ShowBorrowedGlyphs, written once it has been turned on).
    bool ShowBorrowedGlyphs = false;
    int Style = 0;  // fsBold | fsItalic | fsUnderline
    int Size = 16;
    bool AntiAlias = false;
    TColor Back = clWhite;
    TColor Fore = clBlack;
    TColor Name = clGreen;
    std::vector<std::string> History;
};

// Reads the settings in the file's key order. A missing or unreadable value keeps its
// default. A [Window] Main value that is not five whole numbers keeps the default window
// place; the returned texts say what was wrong so the caller can tell the user, and the
// other keys are read all the same.
std::vector<std::string> ReadSettings(TIniFile& ini, TSettings& settings);

// Writes the settings in the file's key order and rewrites [History] from 1, leaving every
// other line of the file alone ([Color] Name is never written). The file is replaced in one
// step, so a failed write leaves the old file whole. False when anything failed; the ini's
// LastError() tells why.
bool WriteSettings(TIniFile& ini, const TSettings& settings);

// The sample texts of [History]: keys 1..n, n being the number of its lines; a missing key
// gives an empty text.
std::vector<std::string> ReadHistory(TIniFile& ini);
// Erases [History] and writes `texts` as keys 1..n. False when a change could not be made.
bool WriteHistory(TIniFile& ini, const std::vector<std::string>& texts);
