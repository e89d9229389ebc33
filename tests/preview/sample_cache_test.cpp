#include <gtest/gtest.h>

#include <unordered_set>

#include "preview/sample_cache.h"

namespace {

TSampleKey Key(const std::string& file, int size = 16)
{
    TSampleKey key;
    key.FileName = file;
    key.FaceName = "Face";
    key.FontSize = size;
    key.Text = "Sample";
    key.Width = 100;
    key.Height = 20;
    return key;
}

QImage Image(int width, QRgb fill = 0xFFFFFFFF)
{
    QImage image(width, 20, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

TEST(SampleCache, FindsWhatWasStoredUnderTheSameKeyOnly)
{
    TSampleCache cache;
    const QImage image = Image(10, 0xFF102030);
    cache.Insert(Key("a.ttf"), image);
    EXPECT_EQ(cache.Find(Key("a.ttf")), image);
    EXPECT_TRUE(cache.Find(Key("b.ttf")).isNull());
    EXPECT_TRUE(cache.Find(Key("a.ttf", 17)).isNull());
    TSampleKey other = Key("a.ttf");
    other.AntiAlias = true;
    EXPECT_TRUE(cache.Find(other).isNull());
    other = Key("a.ttf");
    other.Color = 1;
    EXPECT_TRUE(cache.Find(other).isNull());
}

TEST(SampleCache, KeysThatDifferHashApartMostly)
{
    std::unordered_set<std::size_t> hashes;
    for (int size = 4; size <= 100; ++size)
        hashes.insert(TSampleKeyHash()(Key("a.ttf", size)));
    EXPECT_GT(hashes.size(), 90u);
}

TEST(SampleCache, DropsTheLeastRecentlyUsedBeyondItsBudget)
{
    const std::size_t one = static_cast<std::size_t>(Image(10).sizeInBytes());
    TSampleCache cache(3 * one);
    cache.Insert(Key("a"), Image(10));
    cache.Insert(Key("b"), Image(10));
    cache.Insert(Key("c"), Image(10));
    EXPECT_FALSE(cache.Find(Key("a")).isNull());  // "b" is now the oldest
    cache.Insert(Key("d"), Image(10));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_TRUE(cache.Find(Key("b")).isNull());
    EXPECT_FALSE(cache.Find(Key("a")).isNull());
    EXPECT_EQ(cache.Bytes(), 3 * one);

    // Storing a key again replaces its image.
    cache.Insert(Key("a"), Image(10, 0xFF000000));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_EQ(cache.Find(Key("a")).pixel(0, 0), 0xFF000000);

    cache.SetMaxBytes(one);
    EXPECT_EQ(cache.Count(), 1u);
    cache.SetMaxBytes(0);
    EXPECT_EQ(cache.Count(), 0u);
    cache.Insert(Key("e"), Image(10));
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_EQ(cache.Bytes(), 0u);
}

TEST(SampleCache, CropsAtTheLastColumnThatIsNotBackground)
{
    QImage image = Image(50);
    image.setPixel(3, 5, qRgb(0, 0, 0));
    image.setPixel(30, 19, qRgb(254, 255, 255));
    const QImage cropped = TSampleCache::Cropped(image, qRgb(255, 255, 255));
    EXPECT_EQ(cropped.size(), QSize(31, 20));
    EXPECT_EQ(cropped.pixel(30, 19), qRgb(254, 255, 255));
    // Alpha does not count: only the colour is compared.
    EXPECT_EQ(TSampleCache::Cropped(Image(50), 0x00FFFFFF).width(), 1);
    EXPECT_EQ(TSampleCache::Cropped(Image(50), qRgb(0, 0, 0)).width(), 50);
}

}  // namespace
