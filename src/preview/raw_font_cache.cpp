#include "preview/raw_font_cache.h"

#include <algorithm>

#include <QFile>

TRawFontCache::TRawFontCache(std::size_t maxFiles, std::size_t maxBytes)
    : FMaxFiles(std::max<std::size_t>(maxFiles, 1)), FMaxBytes(maxBytes)
{
}

QRawFont TRawFontCache::Find(const std::string& path, qreal pixelSize)
{
    auto found = FIndex.find(path);
    if (found != FIndex.end()) {
        FFiles.splice(FFiles.begin(), FFiles, found->second);
    } else {
        TFile file;
        file.path = path;
        QFile data(QString::fromStdString(path));
        if (data.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = data.readAll();
            file.bytes = static_cast<std::size_t>(bytes.size());
            file.base.loadFromData(bytes, pixelSize, QFont::PreferDefaultHinting);
        }
        ++FLoads;
        FBytes += file.bytes;
        FFiles.push_front(std::move(file));
        FIndex.emplace(path, FFiles.begin());
        Trim();
    }
    TFile& file = FFiles.front();
    if (!file.base.isValid())
        return {};
    for (const QRawFont& sized : file.sizes)
        if (sized.pixelSize() == pixelSize)
            return sized;
    QRawFont sized = file.base;
    sized.setPixelSize(pixelSize);
    if (file.sizes.size() >= SizesPerFile)
        file.sizes.erase(file.sizes.begin());
    file.sizes.push_back(sized);
    return sized;
}

void TRawFontCache::Trim()
{
    while (FFiles.size() > 1 && (FFiles.size() > FMaxFiles || FBytes > FMaxBytes)) {
        FBytes -= FFiles.back().bytes;
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
