#include "preview/raw_font_cache.h"

#include <algorithm>

#include <QFile>

TRawFontCache::TRawFontCache(std::size_t maxFiles, std::size_t maxBytes)
    : FMaxFiles(std::max<std::size_t>(maxFiles, 1)), FMaxBytes(maxBytes)
{
}

QRawFont TRawFontCache::Find(const std::string& path, qreal pixelSize,
                             QFont::HintingPreference hinting)
{
    auto found = FIndex.find(path);
    if (found != FIndex.end()) {
        FFiles.splice(FFiles.begin(), FFiles, found->second);
    } else {
        TFile file;
        file.path = path;
        QFile data(QString::fromStdString(path));
        if (data.open(QIODevice::ReadOnly))
            file.data = data.readAll();
        ++FLoads;
        QRawFont probe;
        probe.loadFromData(file.data, pixelSize, hinting);
        file.font = probe.isValid();
        if (!file.font)
            file.data.clear();
        else
            file.sizes.push_back(probe);
        FBytes += static_cast<std::size_t>(file.data.size());
        FFiles.push_front(std::move(file));
        FIndex.emplace(path, FFiles.begin());
        Trim();
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
