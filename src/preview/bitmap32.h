#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include "preview/color32.h"
#include "preview/custom_map.h"
#include "preview/text_face.h"

class QPainter;

enum TDrawMode { dmOpaque = 0, dmBlend = 1 };

// Raised when a bitmap's pixels cannot be created, or a transfer lacks a source or target.
class EBitmapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 32-bit ARGB bitmap that draws anti-aliased text by supersampling.
//
// Pixels are TColor32 values, rows top to bottom, each row left to right with no padding:
// pixel (x, y) is Bits()[x + y * Width()]. Text is drawn by Qt's raster engine through a
// QImage that wraps this very buffer (Format_ARGB32_Premultiplied, so the engine uses
// grey-scale anti-aliasing and white text on black leaves its coverage in every colour
// channel, the blue one included). Fonts are sized in points at the screen's resolution.
// Like all painting it is used on the user-interface thread only: RenderText keeps its
// working memory between calls.
class TBitmap32 : public TCustomMap {
public:
    TBitmap32();
    ~TBitmap32() override;

    // Values below 1 become 0; the contents are undefined afterwards (every caller fills the
    // bitmap). Raises EBitmapError and leaves the bitmap empty when the pixels or the drawing
    // surface cannot be created.
    void SetSize(int newWidth, int newHeight) override;
    bool Empty() const override;

    TColor32* Bits() { return FStore.bits.get(); }
    const TColor32* Bits() const { return FStore.bits.get(); }
    // Address of pixel (x, y); no bounds checks.
    TColor32* GetPixelPtr(int x, int y)
    {
        return Bits() + x + static_cast<std::ptrdiff_t>(y) * Width();
    }
    const TColor32* GetPixelPtr(int x, int y) const
    {
        return Bits() + x + static_cast<std::ptrdiff_t>(y) * Width();
    }

    // Fills every pixel; without an argument with opaque black.
    void Clear();
    void Clear(TColor32 fillColor);
    // Stores the value into x1 <= x < x2, y1 <= y < y2, without blending. The caller passes a
    // rectangle inside the bitmap; any part outside is left out rather than written past the
    // buffer.
    void FillRect(int x1, int y1, int x2, int y2, TColor32 value);
    // The same for any rectangle: nothing happens when it is empty or wholly outside.
    void FillRectS(int x1, int y1, int x2, int y2, TColor32 value);

    // Face, size and style of the text, by family; a copy of the given font is kept. To draw
    // the face of one font file (its Bold file, say), use SetTextFace.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& font);
    // An exact face to draw and measure text in instead of Font, such as the face of one font
    // file that no QFont can name; nothing to use Font again.
    const std::optional<TTextFace>& TextFace() const { return FTextFace; }
    void SetTextFace(std::optional<TTextFace> face);
    // Text colour of Textout; may be a system colour.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);

    // Draws UTF-8 text in Font and FontColor with the top-left corner of its cell at (x, y),
    // over the existing pixels, without clipping rectangle. Does nothing on an empty bitmap.
    void Textout(int x, int y, const std::string& text);
    // Width and height of the text's cell box in Font.
    QSize TextExtent(const std::string& text) const;
    // Draws the text at (x, y) blended by coverage in the colour's RGB, with the colour's alpha
    // as overall opacity. level 0 uses the rasteriser's own anti-aliasing; levels 1 to 4 draw
    // at 2^level times the size and average 2^level x 2^level samples per pixel. Other levels
    // are clamped to 0..4. Does nothing on an empty bitmap.
    void RenderText(int x, int y, const std::string& text, int level, TColor32 color);

    TDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode value);
    // Opacity of the whole bitmap in a dmBlend transfer; values above 255 count as 255.
    TColor32 MasterAlpha() const { return FMasterAlpha; }
    void SetMasterAlpha(TColor32 value);

    // Transfers the whole bitmap onto target with its top-left corner at (x, y), clipped to
    // the target: dmOpaque copies the pixels as they are (alpha included); dmBlend blends
    // them with BlendLine, or with BlendLineEx when MasterAlpha is below 255. Then raises
    // target.Changed. Raises EBitmapError when the target or this bitmap is empty.
    void DrawTo(TBitmap32& target, int x, int y) const;
    // Transfers the bitmap onto a painter's device (a widget's back buffer, a QImage...):
    // dmOpaque draws the pixels as an opaque image, their alpha ignored; dmBlend composes them
    // as non-premultiplied ARGB at MasterAlpha opacity with the painter's own source-over
    // blending (equal to BlendLine's result within Qt's rounding). Raises EBitmapError when
    // the painter is not active or this bitmap is empty.
    void DrawTo(QPainter& painter, int x, int y) const;

private:
    // The pixel memory; capacity may exceed Width() * Height() when a smaller size reuses it.
    struct TPixelStore {
        std::unique_ptr<TColor32[]> bits;
        std::size_t capacity = 0;
    };
    // Pixel memory kept for RenderText's working bitmaps between calls.
    struct TScratch {
        TPixelStore store;
        bool inUse = false;
    };
    class TScratchLease;

    void ReleaseSurface();
    void DrawString(int x, int y, const QString& text);
    QSize MeasureString(const QString& text) const;

    TPixelStore FStore;
    // The drawing surface: a QImage over FStore.bits. It is never copied, so painting on it
    // never detaches it from the buffer.
    QImage FSurface;
    QFont FFont;
    std::optional<TTextFace> FTextFace;
    TColor FFontColor = clWindowText;
    TDrawMode FDrawMode = dmOpaque;
    TColor32 FMasterAlpha = 255;
};
