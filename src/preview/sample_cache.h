#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include <QImage>

// Everything that decides the pixels of a row's sample.
struct TSampleKey {
    // The font file drawn from, or empty for a face chosen by name.
    std::string FileName;
    int FaceIndex = 0;
    int64_t FileSize = 0;
    // The name a face by name was chosen with.
    std::string FaceName;
    int FontSize = 0;
    int Style = 0;
    // Colours resolved to RGB.
    int32_t FontColor = 0;
    int32_t Color = 0;
    std::string Text;
    int Width = 0;
    int Height = 0;
    bool AntiAlias = false;
    bool ShowBorrowed = false;
    // Device pixels per logical pixel.
    double Scale = 1;

    bool operator==(const TSampleKey&) const = default;
};

struct TSampleKeyHash {
    std::size_t operator()(const TSampleKey& key) const;
};

// Finished sample images of the preview's rows, kept for the rows drawn most recently so that
// painting the same rows again costs a copy instead of rasterising large glyphs anew. An image
// is stored only as wide as its rightmost pixel that differs from the background; the rest of
// the sample's area is plain background. The cache holds at most `maxBytes` bytes of images;
// with 0 it keeps nothing.
class TSampleCache {
public:
    explicit TSampleCache(std::size_t maxBytes = 32u << 20);
    TSampleCache(const TSampleCache&) = delete;
    TSampleCache& operator=(const TSampleCache&) = delete;

    // The image stored for `key`; a null image when there is none.
    QImage Find(const TSampleKey& key);
    void Insert(const TSampleKey& key, const QImage& image);
    void Clear();

    std::size_t MaxBytes() const { return FMaxBytes; }
    void SetMaxBytes(std::size_t value);
    std::size_t Bytes() const { return FBytes; }
    std::size_t Count() const { return FEntries.size(); }

    // `image` cut to the columns left of the first column, from the right, that holds a pixel
    // other than `background` (RGB compared); at least 1 column wide.
    static QImage Cropped(const QImage& image, QRgb background);

private:
    struct TEntry {
        TSampleKey key;
        QImage image;
    };

    void Trim();

    std::size_t FMaxBytes;
    std::size_t FBytes = 0;
    // Most recently used first.
    std::list<TEntry> FEntries;
    std::unordered_map<TSampleKey, std::list<TEntry>::iterator, TSampleKeyHash> FIndex;
};
