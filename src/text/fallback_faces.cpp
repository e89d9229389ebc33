#include "text/fallback_faces.h"

#include <algorithm>

#include <QFile>
#include <fontconfig/fontconfig.h>

TFallbackFaces& TFallbackFaces::Shared()
{
    static TFallbackFaces faces;
    return faces;
}

TFontFacePtr TFallbackFaces::Find(char32_t character, int weight, bool italic)
{
    // Weights are told apart in steps of 100, as fontconfig's own classes go.
    const int bucket = std::clamp((weight + 50) / 100, 1, 10);
    const uint64_t key = static_cast<uint64_t>(character) << 8 | bucket << 1 | (italic ? 1 : 0);
    std::lock_guard lock(FMutex);
    const auto found = FByCharacter.find(key);
    if (found != FByCharacter.end())
        return found->second;

    TFontFacePtr face;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(bucket * 100));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcCharSet* has = nullptr;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
            FcCharSetHasChar(has, character) &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            face = Open(reinterpret_cast<const char*>(file), index & 0xFFFF);
            if (face && !face->GlyphFor(character))
                face = nullptr;
        }
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(wanted);
    FcPatternDestroy(pattern);
    FByCharacter.emplace(key, face);
    return face;
}

TFontFacePtr TFallbackFaces::Open(const std::string& path, int index)
{
    const auto key = std::make_pair(path, index);
    const auto found = FByFile.find(key);
    if (found != FByFile.end())
        return found->second;
    QFile file(QString::fromStdString(path));
    TFontFacePtr face;
    if (file.open(QIODevice::ReadOnly))
        face = TFontFace::Load(file.readAll(), index);
    FByFile.emplace(key, face);
    return face;
}

void TFallbackFaces::Clear()
{
    std::lock_guard lock(FMutex);
    FByCharacter.clear();
    FByFile.clear();
}
