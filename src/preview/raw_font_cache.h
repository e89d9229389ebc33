#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include <QByteArray>
#include <QRawFont>

#include "text/font_face.h"

// The exact faces of font files, loaded from the files on first use and kept for the files
// used most recently.
//
// Loading a file reads all of it, so each file is read once and every size and hinting of it
// is made from that load (the sizes share the file's data). A file that is not a font is
// remembered as such and not read again. The cache holds at most `maxFiles` files and, beyond
// the most recent one, at most `maxBytes` bytes of font files; of each file it keeps the last
// `SizesPerFile` sizes asked for.
class TRawFontCache {
public:
    static constexpr std::size_t SizesPerFile = 4;

    explicit TRawFontCache(std::size_t maxFiles = 64, std::size_t maxBytes = 64u << 20);
    TRawFontCache(const TRawFontCache&) = delete;
    TRawFontCache& operator=(const TRawFontCache&) = delete;

    // The face of the file at `pixelSize`; an invalid QRawFont when the file cannot be read
    // as a font.
    QRawFont Find(const std::string& path, qreal pixelSize,
                  QFont::HintingPreference hinting = QFont::PreferDefaultHinting);
    // Face `index` of the file for the text-drawing core; null with a short reason when the
    // file cannot be read or FreeType refuses the face.
    TFontFacePtr Face(const std::string& path, int index, std::string* reason = nullptr);
    // Number of files kept, fonts or not.
    std::size_t Count() const { return FFiles.size(); }
    // Number of times a file was read.
    std::size_t Loads() const { return FLoads; }
    void Clear();

private:
    struct TFile {
        std::string path;
        QByteArray data;
        bool font = false;
        bool probed = false;
        std::vector<QRawFont> sizes;
        // Faces by index, or why FreeType refused them; the reason the file could not be
        // read when it could not.
        std::unordered_map<int, std::pair<TFontFacePtr, std::string>> faces;
        std::string readError;
    };

    TFile& Open(const std::string& path);
    void Trim();

    std::size_t FMaxFiles;
    std::size_t FMaxBytes;
    std::size_t FBytes = 0;
    std::size_t FLoads = 0;
    // Most recently used first.
    std::list<TFile> FFiles;
    std::unordered_map<std::string, std::list<TFile>::iterator> FIndex;
};
