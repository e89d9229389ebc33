#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

struct hb_face_t;
struct hb_font_t;

// One face of a font file, as the text-drawing core uses it: the file's bytes, the face's
// index in a collection, HarfBuzz's view of it for shaping and glyph lookups, and what the
// file itself says about its weight, slant and vertical metrics.
//
// A face is immutable once loaded and may be shared between threads: HarfBuzz fonts are safe
// to shape with concurrently, and FreeType faces (which are not) are made per thread from the
// bytes kept here (see glyph_raster.h).
class TFontFace {
public:
    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    // The face `index` of the font data; null with a short reason when FreeType refuses it.
    static std::shared_ptr<const TFontFace> Load(const QByteArray& data, int index,
                                                 std::string* reason = nullptr);

    const QByteArray& Data() const { return FData; }
    int Index() const { return FIndex; }
    // Unique for the life of the process; glyph caches key on it.
    uint64_t Id() const { return FId; }
    // HarfBuzz's font at a scale of one unit per font unit.
    hb_font_t* HbFont() const { return FHbFont; }
    // HarfBuzz's font at `scale` units per em (1/64 pixel units for a size in 26.6), made on
    // first use and kept with the face for the last few scales asked for. Immutable, so any
    // thread may shape with it.
    hb_font_t* SizedFont(int scale) const;

    int UnitsPerEm() const { return FUnitsPerEm; }
    // usWeightClass of OS/2 (1 to 1000), else 700 or 400 from head's macStyle.
    int Weight() const { return FWeight; }
    // OS/2 fsSelection's italic or oblique bit, or head's macStyle italic bit.
    bool Italic() const { return FItalic; }
    // Vertical metrics in font units, ascender and descender positive away from the baseline.
    int Ascender() const { return FAscender; }
    int Descender() const { return FDescender; }
    int LineGap() const { return FLineGap; }
    // post's underline position (negative below the baseline) and thickness, font units.
    int UnderlinePosition() const { return FUnderlinePosition; }
    int UnderlineThickness() const { return FUnderlineThickness; }
    const QString& FamilyName() const { return FFamily; }

    // The face's glyph for a character; 0 when it has none.
    uint32_t GlyphFor(char32_t character) const;

private:
    TFontFace() = default;

    QByteArray FData;
    int FIndex = 0;
    uint64_t FId = 0;
    hb_face_t* FHbFace = nullptr;
    hb_font_t* FHbFont = nullptr;
    int FUnitsPerEm = 1000;
    int FWeight = 400;
    bool FItalic = false;
    int FAscender = 0;
    int FDescender = 0;
    int FLineGap = 0;
    int FUnderlinePosition = 0;
    int FUnderlineThickness = 0;
    QString FFamily;
    mutable std::mutex FSizedMutex;
    mutable std::vector<std::pair<int, hb_font_t*>> FSized;
};

using TFontFacePtr = std::shared_ptr<const TFontFace>;
