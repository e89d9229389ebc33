#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

#include "text/font_face.h"

// Faces that lend glyphs to fonts lacking them: for a character, the face fontconfig picks for
// it in the sans-serif family, in the weight and slant asked for. Safe to use from any thread.
class TFallbackFaces {
public:
    static TFallbackFaces& Shared();

    // The face to borrow `character` from at `weight` (OS/2 scale) and slant; null when no
    // font of the system has it.
    TFontFacePtr Find(char32_t character, int weight, bool italic);
    void Clear();

private:
    TFontFacePtr Open(const std::string& path, int index);

    std::mutex FMutex;
    std::unordered_map<uint64_t, TFontFacePtr> FByCharacter;
    std::map<std::pair<std::string, int>, TFontFacePtr> FByFile;
};
