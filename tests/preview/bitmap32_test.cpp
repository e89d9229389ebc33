#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "preview/bitmap32.h"

namespace {

std::vector<TColor32> Pixels(const TBitmap32& bitmap)
{
    return std::vector<TColor32>(bitmap.Bits(),
                                 bitmap.Bits() + bitmap.Width() * bitmap.Height());
}

// Runs f and returns the message of the EBitmapError it raised, or "" when it raised none.
template <typename F>
std::string ErrorOf(F f)
{
    try {
        f();
    } catch (const EBitmapError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(TBitmap32, SizeAndEmptiness)
{
    TBitmap32 bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Bits(), nullptr);

    bitmap.SetSize(-3, 5);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 5);
    EXPECT_TRUE(bitmap.Empty());

    bitmap.SetSize(4, 3);
    ASSERT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.GetPixelPtr(1, 2), bitmap.Bits() + 9);
    EXPECT_EQ(bitmap.GetPixelPtr(3, 0), bitmap.Bits() + 3);

    bitmap.SetWidth(6);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.GetPixelPtr(0, 1), bitmap.Bits() + 6);
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(TBitmap32, ResizingRaisesChangeAndResizeOnceAndNothingForTheSameSize)
{
    TBitmap32 bitmap;
    int changes = 0, resizes = 0;
    bitmap.OnChange = [&](TCustomMap* sender) {
        EXPECT_EQ(sender, &bitmap);
        ++changes;
    };
    bitmap.OnResize = [&](TCustomMap*) { ++resizes; };
    bitmap.SetSize(10, 10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(resizes, 1);
    bitmap.SetSize(10, 10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(resizes, 1);

    bitmap.BeginUpdate();
    bitmap.Clear();
    bitmap.EndUpdate();
    EXPECT_EQ(changes, 1);
    bitmap.Clear();
    EXPECT_EQ(changes, 2);
}

TEST(TBitmap32, ClearFillsEveryPixel)
{
    TBitmap32 bitmap;
    bitmap.Clear(0x12345678);  // empty: nothing to do, no crash
    bitmap.SetSize(7, 5);
    bitmap.Clear(0x12345678);
    EXPECT_EQ(Pixels(bitmap), std::vector<TColor32>(35, 0x12345678));
    bitmap.Clear();
    EXPECT_EQ(Pixels(bitmap), std::vector<TColor32>(35, 0xFF000000));
}

TEST(TBitmap32, FillRectSFillsOnlyTheInsidePart)
{
    TBitmap32 bitmap;
    bitmap.SetSize(5, 4);
    bitmap.Clear(0);
    bitmap.FillRectS(-2, -2, 3, 2, 0xAABBCCDD);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(*bitmap.GetPixelPtr(x, y), (x < 3 && y < 2) ? 0xAABBCCDDu : 0u)
                << x << "," << y;

    bitmap.FillRectS(3, 1, 9, 9, 0x11);  // runs past the right and bottom edges
    EXPECT_EQ(*bitmap.GetPixelPtr(4, 3), 0x11u);
    EXPECT_EQ(*bitmap.GetPixelPtr(3, 1), 0x11u);
    EXPECT_EQ(*bitmap.GetPixelPtr(2, 3), 0u);

    const std::vector<TColor32> before = Pixels(bitmap);
    bitmap.FillRectS(5, 0, 9, 4, 0xFF);    // right of the bitmap
    bitmap.FillRectS(0, 4, 5, 8, 0xFF);    // below it
    bitmap.FillRectS(-5, -5, 0, 3, 0xFF);  // left of it
    bitmap.FillRectS(0, -5, 5, 0, 0xFF);   // above it
    bitmap.FillRectS(3, 1, 2, 3, 0xFF);    // inverted
    bitmap.FillRectS(1, 1, 1, 3, 0xFF);    // no width
    EXPECT_EQ(Pixels(bitmap), before);
}

TEST(TBitmap32, FillRectStoresWithoutBlending)
{
    TBitmap32 bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Clear(0xFFFFFFFF);
    bitmap.FillRect(1, 1, 3, 3, 0x00000000);
    EXPECT_EQ(*bitmap.GetPixelPtr(1, 1), 0u);
    EXPECT_EQ(*bitmap.GetPixelPtr(2, 2), 0u);
    EXPECT_EQ(*bitmap.GetPixelPtr(3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(*bitmap.GetPixelPtr(0, 1), 0xFFFFFFFFu);
}

TEST(TBitmap32, ARefusedSizeRaisesAndLeavesTheBitmapEmpty)
{
    TBitmap32 bitmap;
    bitmap.SetSize(8, 8);
    EXPECT_EQ(ErrorOf([&] { bitmap.SetSize(100000, 100000); }), "Can't allocate the DIB handle");
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    bitmap.SetSize(2, 2);  // usable again
    bitmap.Clear(1);
    EXPECT_EQ(*bitmap.GetPixelPtr(1, 1), 1u);
}

TEST(TBitmap32, TransferToOrFromAnEmptyBitmapRaises)
{
    TBitmap32 empty, full;
    full.SetSize(2, 2);
    full.Clear();
    EXPECT_EQ(ErrorOf([&] { full.DrawTo(empty, 0, 0); }), "Destination bitmap is nil or empty");
    EXPECT_EQ(ErrorOf([&] { empty.DrawTo(empty, 0, 0); }), "Destination bitmap is nil or empty");
    EXPECT_EQ(ErrorOf([&] { empty.DrawTo(full, 0, 0); }), "Source bitmap is nil or empty");
    empty.SetDrawMode(dmBlend);
    EXPECT_EQ(ErrorOf([&] { empty.DrawTo(full, 0, 0); }), "Source bitmap is nil or empty");

    QPainter inactive;
    EXPECT_EQ(ErrorOf([&] { full.DrawTo(inactive, 0, 0); }), "Destination bitmap is nil or empty");
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_EQ(ErrorOf([&] { empty.DrawTo(painter, 0, 0); }), "Source bitmap is nil or empty");
}

TEST(TBitmap32, OpaqueTransferCopiesPixelsWithAlphaAndClipsToTheTarget)
{
    TBitmap32 source, target;
    source.SetSize(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            *source.GetPixelPtr(x, y) = 0x10000000u | static_cast<TColor32>(y * 16 + x);
    target.SetSize(4, 4);
    target.Clear(0xFFFFFFFF);
    int changes = 0;
    target.OnChange = [&](TCustomMap*) { ++changes; };

    source.DrawTo(target, -1, 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(*target.GetPixelPtr(0, 3), 0x10000001u);
    EXPECT_EQ(*target.GetPixelPtr(1, 3), 0x10000002u);
    EXPECT_EQ(*target.GetPixelPtr(2, 3), 0xFFFFFFFFu);
    EXPECT_EQ(*target.GetPixelPtr(0, 2), 0xFFFFFFFFu);

    source.DrawTo(target, 2, 0);
    EXPECT_EQ(*target.GetPixelPtr(2, 0), 0x10000000u);
    EXPECT_EQ(*target.GetPixelPtr(3, 1), 0x10000011u);

    const std::vector<TColor32> before = Pixels(target);
    source.DrawTo(target, 4, 0);  // wholly outside
    source.DrawTo(target, -3, -2);
    EXPECT_EQ(Pixels(target), before);
}

TEST(TBitmap32, BlendTransferUsesTheSourceAlphaAndTheMasterAlpha)
{
    TBitmap32 source, target;
    source.SetSize(2, 1);
    *source.GetPixelPtr(0, 0) = 0x80FF0000;  // half-transparent red
    *source.GetPixelPtr(1, 0) = 0xFFFF0000;  // opaque red
    source.SetDrawMode(dmBlend);
    target.SetSize(2, 1);

    target.Clear(0xFF000000);
    source.DrawTo(target, 0, 0);
    EXPECT_EQ(*target.GetPixelPtr(0, 0), 0xC0800000u);
    EXPECT_EQ(*target.GetPixelPtr(1, 0), 0xFFFF0000u);

    target.Clear(0xFF000000);
    source.SetMasterAlpha(128);
    source.DrawTo(target, 0, 0);
    // Opaque red at master alpha 128: A' = 128 * 256 >> 8 = 128.
    EXPECT_EQ(*target.GetPixelPtr(1, 0), 0xFF800000u);
    // Half-transparent red: A' = 128 * 129 >> 8 = 64; red (255 * 64 + 128) >> 8 = 64.
    EXPECT_EQ(*target.GetPixelPtr(0, 0) >> 16 & 0xFF, 64u);

    target.Clear(0xFF000000);
    source.SetMasterAlpha(0);
    source.DrawTo(target, 0, 0);
    EXPECT_EQ(Pixels(target), std::vector<TColor32>(2, 0xFF000000));

    source.SetMasterAlpha(1000);
    EXPECT_EQ(source.MasterAlpha(), 255u);
}

TEST(TBitmap32, DrawingABitmapOntoItselfReadsTheOriginalPixels)
{
    TBitmap32 bitmap;
    bitmap.SetSize(4, 2);
    for (int i = 0; i < 8; ++i)
        bitmap.Bits()[i] = 0xFF000000u | static_cast<TColor32>(i + 1);
    bitmap.DrawTo(bitmap, 1, 1);
    EXPECT_EQ(*bitmap.GetPixelPtr(0, 1), 0xFF000005u);
    EXPECT_EQ(*bitmap.GetPixelPtr(1, 1), 0xFF000001u);
    EXPECT_EQ(*bitmap.GetPixelPtr(2, 1), 0xFF000002u);
    EXPECT_EQ(*bitmap.GetPixelPtr(3, 1), 0xFF000003u);
}

TEST(TBitmap32, OpaqueTransferToAPainterIgnoresAlpha)
{
    TBitmap32 source;
    source.SetSize(2, 2);
    source.Clear(0x40123456);
    *source.GetPixelPtr(1, 1) = 0x00ABCDEF;
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(0xFFFFFFFF);
    {
        QPainter painter(&image);
        source.DrawTo(painter, 1, 1);
    }
    EXPECT_EQ(image.pixel(1, 1), 0xFF123456u);
    EXPECT_EQ(image.pixel(2, 2), 0xFFABCDEFu);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(3, 3), 0xFFFFFFFFu);
}

TEST(TBitmap32, BlendTransferToAPainterComposesOverTheImage)
{
    TBitmap32 source;
    source.SetSize(1, 1);
    source.Clear(0x80FF0000);
    source.SetDrawMode(dmBlend);
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    {
        QPainter painter(&image);
        source.DrawTo(painter, 0, 0);
    }
    const QColor result = image.pixelColor(0, 0);
    EXPECT_EQ(result.red(), 255);
    EXPECT_NEAR(result.green(), 127, 2);
    EXPECT_NEAR(result.blue(), 127, 2);
}
