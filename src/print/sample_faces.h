#pragma once

#include <map>
#include <string>
#include <vector>

#include <QFont>
#include <QRawFont>

#include "preview/text_face.h"

class IFontTable;
class TFontInfo;
class TRawFontCache;

// The face a printed sample is drawn in. `Native`: Qt itself resolves `Font` to the record's
// very file (or the record has no file and is known by its family), so drawing with it lets
// a PDF embed the font and keeps the sample searchable. Otherwise `Face` draws the file's
// own glyphs, which a PDF receives as outlines.
struct TSampleFace {
    bool Native = false;
    QFont Font;
    TTextFace Face;
};

// Finds, once per file, the face each record's sample is printed in: regular style, at the
// printer's pixel size, unhinted. A file Qt does not know yet is registered with the process
// font table for the time this object lives, so that an installed-looking face can be
// matched; the registrations are given back on destruction, which must come after the
// painter that used the faces has ended.
class TSampleFaces {
public:
    TSampleFaces(IFontTable* table, TRawFontCache& cache, int pixelSize);
    ~TSampleFaces();
    TSampleFaces(const TSampleFaces&) = delete;
    TSampleFaces& operator=(const TSampleFaces&) = delete;

    const TSampleFace& Face(const TFontInfo& font);

    // True when the face Qt resolves for `font` is the font file `file` (their head and name
    // tables are the same bytes).
    static bool ResolvesTo(const QFont& font, const QRawFont& file);

private:
    TSampleFace Resolve(const TFontInfo& font);
    QFont Candidate(const std::string& family, const std::string& style) const;

    IFontTable* FTable;
    TRawFontCache& FCache;
    int FPixelSize;
    std::map<std::string, TSampleFace> FFaces;
    std::vector<std::string> FRegistered;
};
