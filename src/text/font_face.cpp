#include "text/font_face.h"

#include <algorithm>
#include <atomic>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ot.h>
#include <hb.h>

#include "text/glyph_raster.h"

namespace {

uint16_t ReadU16(const char* data, unsigned length, unsigned offset, bool& ok)
{
    if (offset + 2 > length) {
        ok = false;
        return 0;
    }
    return static_cast<uint16_t>(static_cast<unsigned char>(data[offset]) << 8 |
                                 static_cast<unsigned char>(data[offset + 1]));
}

std::string FreeTypeReason(FT_Error error, int index)
{
    switch (error) {
    case FT_Err_Unknown_File_Format:
        return "not a font file FreeType can read";
    case FT_Err_Invalid_Argument:
        return "the file has no face " + std::to_string(index);
    case FT_Err_Invalid_File_Format:
    case FT_Err_Invalid_Table:
    case FT_Err_Invalid_Offset:
    case FT_Err_Table_Missing:
        return "damaged font file";
    case FT_Err_Out_Of_Memory:
        return "out of memory";
    default:
        break;
    }
    if (const char* text = FT_Error_String(error))
        return text;
    return "FreeType error " + std::to_string(error);
}

std::atomic<uint64_t> NextId{1};

}  // namespace

TFontFace::~TFontFace()
{
    for (const auto& sized : FSized)
        hb_font_destroy(sized.second);
    hb_font_destroy(FHbFont);
    hb_face_destroy(FHbFace);
}

std::shared_ptr<const TFontFace> TFontFace::Load(const QByteArray& data, int index,
                                                 std::string* reason)
{
    // FreeType decides whether the face can be drawn at all; HarfBuzz accepts anything.
    FT_Face probe = nullptr;
    const FT_Error error =
        data.isEmpty()
            ? FT_Err_Unknown_File_Format
            : FT_New_Memory_Face(ThreadFreeType(), reinterpret_cast<const FT_Byte*>(data.constData()),
                                 static_cast<FT_Long>(data.size()), index, &probe);
    if (error || !probe || !(probe->face_flags & FT_FACE_FLAG_SCALABLE)) {
        if (reason)
            *reason = error ? FreeTypeReason(error, index) : "not a scalable font";
        if (probe)
            FT_Done_Face(probe);
        return nullptr;
    }
    std::shared_ptr<TFontFace> face(new TFontFace);
    face->FData = data;
    face->FIndex = index;
    face->FId = NextId++;
    face->FUnitsPerEm = std::max<int>(probe->units_per_EM, 16);
    face->FAscender = probe->ascender;
    face->FDescender = -probe->descender;
    face->FLineGap = std::max(0, probe->height - probe->ascender + probe->descender);
    face->FUnderlinePosition = probe->underline_position;
    face->FUnderlineThickness = probe->underline_thickness;
    face->FFamily = QString::fromUtf8(probe->family_name ? probe->family_name : "");
    FT_Done_Face(probe);

    // The blob borrows the bytes; the face keeps them alive as long as the HarfBuzz objects.
    hb_blob_t* blob = hb_blob_create(face->FData.constData(),
                                     static_cast<unsigned>(face->FData.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    face->FHbFace = hb_face_create(blob, static_cast<unsigned>(index));
    hb_blob_destroy(blob);
    hb_face_make_immutable(face->FHbFace);
    face->FHbFont = hb_font_create(face->FHbFace);
    hb_font_make_immutable(face->FHbFont);

    // Weight and slant as the file states them: OS/2 first, head's macStyle otherwise.
    bool haveWeight = false;
    if (hb_blob_t* os2 = hb_face_reference_table(face->FHbFace, HB_TAG('O', 'S', '/', '2'))) {
        unsigned length = 0;
        const char* bytes = hb_blob_get_data(os2, &length);
        bool ok = true;
        int weight = ReadU16(bytes, length, 4, ok);
        if (ok && weight > 0) {
            // Some old files give the weight in hundreds.
            if (weight < 10)
                weight *= 100;
            face->FWeight = std::clamp(weight, 1, 1000);
            haveWeight = true;
        }
        bool selectionOk = true;
        const uint16_t selection = ReadU16(bytes, length, 62, selectionOk);
        if (selectionOk && (selection & (1u << 0 | 1u << 9)))
            face->FItalic = true;
        hb_blob_destroy(os2);
    }
    if (hb_blob_t* head = hb_face_reference_table(face->FHbFace, HB_TAG('h', 'e', 'a', 'd'))) {
        unsigned length = 0;
        const char* bytes = hb_blob_get_data(head, &length);
        bool ok = true;
        const uint16_t macStyle = ReadU16(bytes, length, 44, ok);
        if (ok) {
            if (!haveWeight && (macStyle & 1u))
                face->FWeight = 700;
            if (macStyle & 2u)
                face->FItalic = true;
        }
        hb_blob_destroy(head);
    }
    return face;
}

uint32_t TFontFace::GlyphFor(char32_t character) const
{
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(FHbFont, character, &glyph))
        return 0;
    return glyph;
}

hb_font_t* TFontFace::SizedFont(int scale) const
{
    // Fonts of every scale a thread may still hold are kept until the face goes; a face is
    // drawn at a handful of sizes.
    constexpr std::size_t Kept = 16;
    std::lock_guard lock(FSizedMutex);
    for (const auto& sized : FSized)
        if (sized.first == scale)
            return sized.second;
    if (FSized.size() >= Kept)
        return nullptr;
    hb_font_t* font = hb_font_create(FHbFace);
    hb_font_set_scale(font, scale, scale);
    hb_font_make_immutable(font);
    FSized.emplace_back(scale, font);
    return font;
}
