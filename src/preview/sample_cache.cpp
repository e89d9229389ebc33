#include "preview/sample_cache.h"

#include <functional>

namespace {

void Combine(std::size_t& seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

std::size_t ImageBytes(const QImage& image) { return static_cast<std::size_t>(image.sizeInBytes()); }

}  // namespace

std::size_t TSampleKeyHash::operator()(const TSampleKey& key) const
{
    std::size_t seed = std::hash<std::string>()(key.FileName);
    Combine(seed, std::hash<std::string>()(key.FaceName));
    Combine(seed, std::hash<std::string>()(key.Text));
    Combine(seed, std::hash<int64_t>()(key.FileSize));
    Combine(seed, std::hash<int>()(key.FontSize));
    Combine(seed, std::hash<int>()(key.Style));
    Combine(seed, std::hash<int32_t>()(key.FontColor));
    Combine(seed, std::hash<int32_t>()(key.Color));
    Combine(seed, std::hash<int>()(key.Width));
    Combine(seed, std::hash<int>()(key.Height));
    Combine(seed, std::hash<bool>()(key.AntiAlias));
    Combine(seed, std::hash<bool>()(key.ShowBorrowed));
    Combine(seed, std::hash<int>()(key.FaceIndex));
    Combine(seed, std::hash<double>()(key.Scale));
    return seed;
}

TSampleCache::TSampleCache(std::size_t maxBytes) : FMaxBytes(maxBytes) {}

QImage TSampleCache::Find(const TSampleKey& key)
{
    const auto found = FIndex.find(key);
    if (found == FIndex.end())
        return {};
    FEntries.splice(FEntries.begin(), FEntries, found->second);
    return found->second->image;
}

void TSampleCache::Insert(const TSampleKey& key, const QImage& image)
{
    const std::size_t bytes = ImageBytes(image);
    if (image.isNull() || bytes > FMaxBytes)
        return;
    const auto found = FIndex.find(key);
    if (found != FIndex.end()) {
        FBytes -= ImageBytes(found->second->image);
        FEntries.erase(found->second);
        FIndex.erase(found);
    }
    FEntries.push_front({key, image});
    FIndex.emplace(key, FEntries.begin());
    FBytes += bytes;
    Trim();
}

void TSampleCache::Trim()
{
    while (FBytes > FMaxBytes && !FEntries.empty()) {
        FBytes -= ImageBytes(FEntries.back().image);
        FIndex.erase(FEntries.back().key);
        FEntries.pop_back();
    }
}

void TSampleCache::Clear()
{
    FIndex.clear();
    FEntries.clear();
    FBytes = 0;
}

void TSampleCache::SetMaxBytes(std::size_t value)
{
    FMaxBytes = value;
    Trim();
}

QImage TSampleCache::Cropped(const QImage& image, QRgb background)
{
    const QImage source = image.format() == QImage::Format_RGB32 ||
                                  image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const QRgb rgb = background & 0x00FFFFFF;
    int width = 1;
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = source.width() - 1; x >= width; --x) {
            if ((line[x] & 0x00FFFFFF) != rgb) {
                width = x + 1;
                break;
            }
        }
    }
    return source.copy(0, 0, width, source.height());
}
