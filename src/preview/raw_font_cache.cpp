#include "preview/raw_font_cache.h"

#include <algorithm>

#include "platform/byte_path.h"

TRawFontCache::TRawFontCache(std::size_t maxFiles, std::size_t maxBytes)
    : FMaxFiles(std::max<std::size_t>(maxFiles, 1)), FMaxBytes(maxBytes)
{
}

TRawFontCache::TFile& TRawFontCache::Open(const std::string& path)
{
    auto found = FIndex.find(path);
    if (found != FIndex.end()) {
        FFiles.splice(FFiles.begin(), FFiles, found->second);
        return FFiles.front();
    }
    TFile file;
    file.path = path;
    // Read by bytes: a file name that is no valid UTF-8 cannot be spelt for QFile.
    std::string error;
    if (!ReadWholeFile(path, file.data, error))
        file.readError = error;
    ++FLoads;
    FBytes += static_cast<std::size_t>(file.data.size());
    FFiles.push_front(std::move(file));
    FIndex.emplace(path, FFiles.begin());
    Trim();
    return FFiles.front();
}

TFontFacePtr TRawFontCache::Face(const std::string& path, int index, std::string* reason)
{
    TFile& file = Open(path);
    if (!file.readError.empty()) {
        if (reason)
            *reason = "cannot read the file: " + file.readError;
        return nullptr;
    }
    auto known = file.faces.find(index);
    if (known == file.faces.end()) {
        std::string why;
        TFontFacePtr face = TFontFace::Load(file.data, index, &why);
        known = file.faces.emplace(index, std::make_pair(face, why)).first;
    }
    if (!known->second.first && reason)
        *reason = known->second.second;
    return known->second.first;
}

QRawFont TRawFontCache::Find(const std::string& path, qreal pixelSize,
                             QFont::HintingPreference hinting)
{
    TFile& opened = Open(path);
    if (!opened.probed) {
        opened.probed = true;
        QRawFont probe;
        probe.loadFromData(opened.data, pixelSize, hinting);
        opened.font = probe.isValid();
        if (opened.font)
            opened.sizes.push_back(probe);
    }
    TFile& file = FFiles.front();
    if (!file.font)
        return {};
    const QRawFont* sameHinting = nullptr;
    for (const QRawFont& sized : file.sizes) {
        if (sized.hintingPreference() != hinting)
            continue;
        if (sized.pixelSize() == pixelSize)
            return sized;
        sameHinting = &sized;
    }
    // Another size of the same hinting shares its font face; a new hinting needs a face of
    // its own, made from the data read before.
    QRawFont sized;
    if (sameHinting) {
        sized = *sameHinting;
        sized.setPixelSize(pixelSize);
    } else {
        sized.loadFromData(file.data, pixelSize, hinting);
    }
    if (file.sizes.size() >= SizesPerFile)
        file.sizes.erase(file.sizes.begin());
    file.sizes.push_back(sized);
    return sized;
}

void TRawFontCache::Trim()
{
    while (FFiles.size() > 1 && (FFiles.size() > FMaxFiles || FBytes > FMaxBytes)) {
        FBytes -= static_cast<std::size_t>(FFiles.back().data.size());
        FIndex.erase(FFiles.back().path);
        FFiles.pop_back();
    }
}

void TRawFontCache::Clear()
{
    FIndex.clear();
    FFiles.clear();
    FBytes = 0;
}
