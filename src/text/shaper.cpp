#include "text/shaper.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <fribidi.h>
#include <hb.h>

#include "text/fallback_faces.h"

namespace {

struct TChar {
    char32_t code = 0;
    int index = 0;   // UTF-16 index
    int length = 1;  // UTF-16 units
    int face = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    FriBidiLevel level = 0;
};

struct TRun {
    int first = 0;  // index into the characters
    int count = 0;
};

using THbFont = std::unique_ptr<hb_font_t, decltype(&hb_font_destroy)>;

// The face's font at the size; a font of its own when the face keeps no more sizes.
THbFont SizedFont(const TFontFace& face, double pixelSize)
{
    const int scale = static_cast<int>(std::lround(pixelSize * 64));
    if (hb_font_t* kept = face.SizedFont(scale))
        return THbFont(hb_font_reference(kept), &hb_font_destroy);
    hb_font_t* font = hb_font_create(hb_font_get_face(face.HbFont()));
    hb_font_set_scale(font, scale, scale);
    return THbFont(font, &hb_font_destroy);
}

std::vector<TChar> Decode(const QString& line)
{
    std::vector<TChar> chars;
    chars.reserve(static_cast<std::size_t>(line.size()));
    const QChar* data = line.constData();
    const int size = static_cast<int>(line.size());
    for (int i = 0; i < size;) {
        TChar c;
        c.index = i;
        if (data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            c.code = QChar::surrogateToUcs4(data[i], data[i + 1]);
            c.length = 2;
        } else {
            c.code = data[i].unicode();
        }
        chars.push_back(c);
        i += c.length;
    }
    return chars;
}

bool StaysWithPrevious(char32_t code)
{
    if (code == 0x200C || code == 0x200D || (code >= 0xFE00 && code <= 0xFE0F) ||
        (code >= 0xE0100 && code <= 0xE01EF))
        return true;
    const hb_unicode_general_category_t category =
        hb_unicode_general_category(hb_unicode_funcs_get_default(), code);
    return category == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK;
}

bool IsControl(char32_t code)
{
    return hb_unicode_general_category(hb_unicode_funcs_get_default(), code) ==
           HB_UNICODE_GENERAL_CATEGORY_CONTROL;
}

// Picks the face of every character; counts the borrowed ones.
void AssignFaces(std::vector<TChar>& chars, TShapedLine& shaped, const TFallbackStyle& fallback)
{
    const TFontFace& own = *shaped.Faces.front();
    for (std::size_t i = 0; i < chars.size(); ++i) {
        TChar& c = chars[i];
        c.face = 0;
        if (own.GlyphFor(c.code) == 0 && !IsControl(c.code)) {
            if (i > 0 && StaysWithPrevious(c.code)) {
                c.face = chars[i - 1].face;
            } else if (fallback.Enabled) {
                const TFontFacePtr lender =
                    TFallbackFaces::Shared().Find(c.code, fallback.Weight, fallback.Italic);
                if (lender) {
                    const auto known = std::find_if(
                        shaped.Faces.begin(), shaped.Faces.end(),
                        [&](const TFontFacePtr& face) { return face->Id() == lender->Id(); });
                    c.face = static_cast<int>(known - shaped.Faces.begin());
                    if (known == shaped.Faces.end())
                        shaped.Faces.push_back(lender);
                }
            }
        }
        ++shaped.Characters;
        if (c.face != 0)
            ++shaped.Borrowed;
    }
}

// Scripts, with common and inherited characters taking the script around them.
void AssignScripts(std::vector<TChar>& chars)
{
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    hb_script_t last = HB_SCRIPT_INVALID;
    for (TChar& c : chars) {
        const hb_script_t script = hb_unicode_script(unicode, c.code);
        if (script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED ||
            script == HB_SCRIPT_UNKNOWN) {
            c.script = last;
        } else {
            c.script = script;
            last = script;
        }
    }
    hb_script_t next = HB_SCRIPT_COMMON;
    for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
        if (it->script == HB_SCRIPT_INVALID)
            it->script = next;
        else
            next = it->script;
    }
}

void AssignLevels(std::vector<TChar>& chars)
{
    const auto count = static_cast<FriBidiStrIndex>(chars.size());
    std::vector<FriBidiChar> text(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i)
        text[i] = chars[i].code;
    std::vector<FriBidiCharType> types(chars.size());
    std::vector<FriBidiBracketType> brackets(chars.size());
    std::vector<FriBidiLevel> levels(chars.size());
    fribidi_get_bidi_types(text.data(), count, types.data());
    fribidi_get_bracket_types(text.data(), count, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), count, &direction,
                                             levels.data()))
        std::fill(levels.begin(), levels.end(), 0);
    for (std::size_t i = 0; i < chars.size(); ++i)
        chars[i].level = levels[i];
}

std::vector<TRun> LogicalRuns(const std::vector<TChar>& chars)
{
    std::vector<TRun> runs;
    for (int i = 0; i < static_cast<int>(chars.size()); ++i) {
        const TChar& c = chars[static_cast<std::size_t>(i)];
        if (!runs.empty()) {
            const TChar& first = chars[static_cast<std::size_t>(runs.back().first)];
            if (first.face == c.face && first.script == c.script && first.level == c.level) {
                ++runs.back().count;
                continue;
            }
        }
        runs.push_back({i, 1});
    }
    return runs;
}

// Rule L2 of the bidirectional algorithm on whole runs: from the highest level down to the
// lowest odd one, every sequence of runs at that level or above is reversed.
void ReorderRuns(std::vector<TRun>& runs, const std::vector<TChar>& chars)
{
    if (runs.empty())
        return;
    const auto level = [&](const TRun& run) { return chars[static_cast<std::size_t>(run.first)].level; };
    FriBidiLevel highest = 0;
    FriBidiLevel lowestOdd = 255;
    for (const TRun& run : runs) {
        highest = std::max(highest, level(run));
        if (level(run) % 2)
            lowestOdd = std::min(lowestOdd, level(run));
    }
    for (int at = highest; at >= lowestOdd && at > 0; --at) {
        for (std::size_t i = 0; i < runs.size();) {
            if (level(runs[i]) < at) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < runs.size() && level(runs[end]) >= at)
                ++end;
            std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i),
                         runs.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
    }
}

}  // namespace

TShapedLine ShapeLine(const TFontFacePtr& face, const QString& line, double pixelSize,
                      const TFallbackStyle& fallback)
{
    TShapedLine shaped;
    if (!face)
        return shaped;
    shaped.Faces.push_back(face);
    std::vector<TChar> chars = Decode(line);
    if (chars.empty())
        return shaped;
    AssignFaces(chars, shaped, fallback);
    AssignScripts(chars);
    AssignLevels(chars);
    std::vector<TRun> runs = LogicalRuns(chars);
    ReorderRuns(runs, chars);

    std::vector<THbFont> fonts;
    for (const TFontFacePtr& each : shaped.Faces)
        fonts.push_back(SizedFont(*each, pixelSize));
    hb_buffer_t* buffer = hb_buffer_create();
    const auto* utf16 = reinterpret_cast<const uint16_t*>(line.constData());
    int32_t pen = 0;
    for (const TRun& run : runs) {
        const TChar& first = chars[static_cast<std::size_t>(run.first)];
        const TChar& last = chars[static_cast<std::size_t>(run.first + run.count - 1)];
        hb_buffer_clear_contents(buffer);
        // The whole line is the context, so that letters join across runs of other faces.
        hb_buffer_add_utf16(buffer, utf16, static_cast<int>(line.size()), static_cast<unsigned>(first.index),
                            last.index + last.length - first.index);
        hb_buffer_set_direction(buffer, first.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, first.script);
        hb_buffer_set_language(buffer, hb_language_get_default());
        hb_shape(fonts[static_cast<std::size_t>(first.face)].get(), buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned i = 0; i < count; ++i) {
            TShapedGlyph glyph;
            glyph.Face = first.face;
            glyph.Glyph = infos[i].codepoint;
            glyph.Cluster = static_cast<int>(infos[i].cluster);
            glyph.X = pen + positions[i].x_offset;
            glyph.Y = positions[i].y_offset;
            glyph.Advance = positions[i].x_advance;
            pen += positions[i].x_advance;
            shaped.Glyphs.push_back(glyph);
        }
    }
    hb_buffer_destroy(buffer);
    shaped.Width = pen;
    return shaped;
}

TShapedLine LookUpLine(const TFontFacePtr& face, const QString& line, double pixelSize,
                       const TFallbackStyle& fallback)
{
    TShapedLine shaped;
    if (!face)
        return shaped;
    shaped.Faces.push_back(face);
    std::vector<TChar> chars = Decode(line);
    AssignFaces(chars, shaped, fallback);
    std::vector<THbFont> fonts;
    for (const TFontFacePtr& each : shaped.Faces)
        fonts.push_back(SizedFont(*each, pixelSize));
    int32_t pen = 0;
    for (const TChar& c : chars) {
        const TFontFace& from = *shaped.Faces[static_cast<std::size_t>(c.face)];
        TShapedGlyph glyph;
        glyph.Face = c.face;
        glyph.Glyph = from.GlyphFor(c.code);
        glyph.Cluster = c.index;
        glyph.X = pen;
        glyph.Advance = hb_font_get_glyph_h_advance(fonts[static_cast<std::size_t>(c.face)].get(),
                                                    glyph.Glyph);
        pen += glyph.Advance;
        shaped.Glyphs.push_back(glyph);
    }
    shaped.Width = pen;
    return shaped;
}
