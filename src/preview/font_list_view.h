#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>

#include "platform/platform.h"
#include "preview/color32.h"
#include "preview/font_styles.h"
#include "preview/raw_font_cache.h"
#include "preview/row_geometry.h"
#include "preview/sample_cache.h"
#include "preview/sample_renderer.h"
#include "preview/text_face.h"

class TFontInfo;
class TFontList;
class QPainter;
class QThreadPool;

enum TBorderStyle : uint8_t { bsNone = 0, bsSingle = 1 };

// What a vertical scroll request asks for.
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scThumbPosition,
    scThumbTrack,
    scTop,
    scBottom,
    scEndScroll,
};

// The preview list: the records of its own font list as equal-height rows, each a small
// name line (full name and, at the right, file name and size) over a sample text drawn in
// that very font, at the size, style and colours of the control, optionally anti-aliased by
// TBitmap32's supersampling renderer. It keeps one current item (ItemIndex, drawn with a band),
// lets the user mark fonts (the Selected flag of each record) and scrolls by whole rows.
//
// Faces: a record with a file is drawn from that very file (TTextFace's exact face), so the
// Bold file of a family shows bold glyphs and a folder font shows its own glyphs even when an
// installed font has the same family and style; a record without a file is drawn by its name
// as a family. The name line uses "DejaVu Sans" at 8 points and the empty-list message
// "DejaVu Sans" at 9 points: a small, clear sans face that every Debian desktop has (the
// install scripts bring it); the row height is measured in the widget's own font, which is
// the application's default face.
//
// Painting is double-buffered: the rows that meet the area to repaint are drawn into one
// off-screen image, which is copied to the window once; no background is erased before.
// Finished sample images are kept in a cache keyed by everything that decides their pixels,
// so that painting the same rows again (scrolling back, focus changes, marking) does not
// rasterise the glyphs anew.
class TFonzetaFontListView : public QAbstractScrollArea {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TFonzetaFontListView* Sender)>;

    static constexpr int DefaultFontSize = 16;
    static constexpr int MinFontSize = 4;
    static constexpr int MaxFontSize = 100;
    static constexpr TColor DefaultFontNameColor = 0x008000;
    static constexpr TColor DefaultSelColor = 33023;
    static inline const std::string DefaultText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 1234567890";
    static inline const std::string EmptyText = "There is no font items to display.";
    static inline const char* const NameFace = "DejaVu Sans";
    static constexpr int NamePointSize = 8;
    static constexpr int EmptyTextPointSize = 9;

    explicit TFonzetaFontListView(const TPlatform& platform, QWidget* parent = nullptr);
    ~TFonzetaFontListView() override;

    TFontList& Items() const { return *FItems; }

    int ItemIndex() const { return FItemIndex; }
    // Moves the current item, clamped to the records, and repaints the two rows concerned or
    // scrolls it into view. Raises no event.
    void SetItemIndex(int value);
    int TopItem() const { return FTopItem; }
    // Scrolls so that `value` is the first row, clamped so that at most one empty row shows
    // below the last record. Raises no event.
    void SetTopItem(int value);
    int PageSize() const { return FPageSize; }
    int ItemHeight() const { return FItemHeight; }
    // Height of a name line's text cell.
    int NameHeight() const;
    // The row layout of the current client area.
    TRowGeometry Geometry() const;

    int FontSize() const { return FFontSize; }
    // Ignores values outside MinFontSize..MaxFontSize; raises OnChangeFontSize after a change.
    void SetFontSize(int value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    TColor FontNameColor() const { return FFontNameColor; }
    void SetFontNameColor(TColor value);
    TColor SelColor() const { return FSelColor; }
    void SetSelColor(TColor value);
    // The background.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const std::string& Text() const { return FText; }
    // Compared case-sensitively.
    void SetText(const std::string& value);
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles value);
    bool AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(bool value);
    bool ShowFileInfo() const { return FShowFileInfo; }
    void SetShowFileInfo(bool value);
    // Draw the glyphs a font borrows from fallback faces in BorrowedGlyphColor.
    bool ShowBorrowedGlyphs() const { return FShowBorrowedGlyphs; }
    void SetShowBorrowedGlyphs(bool value);
    static constexpr QRgb BorrowedGlyphColor = 0xFFAAAAAA;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // Index of the row under client point (x, y), not limited to the records; -1 when the
    // list is empty or the point lies outside the client area.
    int GetItemAt(int x, int y) const;
    // Clears every mark when any record is marked, else marks them all; raises
    // OnChangeSelected.
    void SelectAll();
    // Flips every mark; raises OnChangeSelected.
    void InvertSelection();
    // Scrolls as a vertical scroll bar asks; `position` is the thumb's for scThumbPosition and
    // scThumbTrack.
    void WMVScroll(TScrollCode code, int position = 0);

    // Draws row `index` with its top at `top` on `canvas` (client coordinates); with `erase`
    // the row's background is filled first. Does nothing for an index outside the records.
    virtual void DrawItem(QPainter& canvas, int index, int top, bool erase);

    // The handler of the list's change notification.
    void ItemsChange(TFontList* Sender);

    // "file (size KB)" of a record: the file name without folder and the size in whole
    // kilobytes with `thousandsSeparator` between groups of three digits; at most 255
    // characters.
    static std::string FileInfoText(const TFontInfo& font, const std::string& thousandsSeparator);
    // The file information with ", n of m characters borrowed" added when the record's face
    // borrows any character of the sample text.
    std::string RowInfoText(const TFontInfo& font);

    // The threads that draw the samples of new rows besides the user-interface thread (Qt's
    // global pool unless set); null to draw them all on the user-interface thread.
    void SetSamplePool(QThreadPool* pool) { FSamplePool = pool; }
    // The face a record's sample is drawn in, with the list's size and style.
    TTextFace SampleFace(const TFontInfo& font);
    // A full paint of the client area at `scale` device pixels per logical pixel, as the
    // window would show it on a screen of that pixel ratio.
    QImage PaintImage(qreal scale);

    // The caches of faces and finished samples; the samples' one can be limited or turned off
    // (maximum 0).
    TSampleCache& SampleCache() { return FSampleCache; }
    TRawFontCache& RawFontCache() { return FRawFonts; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChangeSelected;
    TNotifyEvent OnChangeFontSize;
    // After the control's own handling of every key while the list is not empty.
    std::function<void(TFonzetaFontListView* Sender, int Key, Qt::KeyboardModifiers Shift)>
        OnKeyDown;
    // After the control's own handling of every button press; X, Y in client coordinates.
    std::function<void(TFonzetaFontListView* Sender, Qt::MouseButton Button,
                       Qt::KeyboardModifiers Shift, int X, int Y)>
        OnMouseDown;
    std::function<void(TFonzetaFontListView* Sender, Qt::MouseButtons Buttons,
                       Qt::KeyboardModifiers Shift, int X, int Y)>
        OnMouseMove;
    std::function<void(TFonzetaFontListView* Sender, Qt::MouseButton Button,
                       Qt::KeyboardModifiers Shift, int X, int Y)>
        OnMouseUp;
    TNotifyEvent OnDblClick;
    // Before the wheel scrolls the list; a handler that sets Handled keeps it from scrolling.
    std::function<void(TFonzetaFontListView* Sender, Qt::KeyboardModifiers Shift, int WheelDelta,
                       QPoint MousePos, bool& Handled)>
        OnMouseWheel;

protected:
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Repaint();
    void RepaintRow(int index);
    void ComputeRows();
    void UpdateScrollRange();
    void ScrollBarAction(int action);
    QFont NameFont() const;
    QFont RowHeightFont() const;
    std::string ThousandsSeparator() const;
    TColor32 BandColor() const;
    void PaintEmpty(QPainter& painter) const;
    // Draws `text` from the top-left of `rect`, clipped to it, its cell filled with `brush`.
    static void DrawOpaqueText(QPainter& painter, const QRect& rect, const QString& text,
                               const QColor& pen, const QColor& brush);
    void PaintRegion(QImage& buffer, const QRegion& region);
    QRect SampleArea(const TRowGeometry& geometry, int top) const;
    TSampleKey SampleKey(const TFontInfo& font, const QRect& area) const;
    TSampleJob SampleJob(const TFontInfo& font, const QRect& area);
    // Draws the samples of the rows first..last that the cache lacks, spread over the pool.
    void PrepareSamples(int first, int last);
    void DrawSample(QPainter& canvas, const TFontInfo& font, const TRowGeometry& geometry,
                    int top);

    TPlatform FPlatform;
    std::unique_ptr<TFontList> FItems;
    TBorderStyle FBorderStyle = bsSingle;
    int FTopItem = 0;
    int FPageSize = 0;
    int FItemHeight = 0;
    int FFontSize = DefaultFontSize;
    TColor FFontColor = clBlack;
    TColor FFontNameColor = DefaultFontNameColor;
    TColor FSelColor = DefaultSelColor;
    TColor FColor = clWindow;
    std::string FText = DefaultText;
    TFontStyles FFontStyle;
    int FItemIndex = -1;
    bool FAntiAlias = false;
    bool FShowFileInfo = true;
    bool FShowBorrowedGlyphs = false;
    QThreadPool* FSamplePool = nullptr;
    // Device pixels per logical pixel of the paint under way.
    qreal FDeviceScale = 1;
    // Characters and borrowed ones of the sample text by file and face, for the file
    // information; emptied when the text changes.
    std::unordered_map<std::string, std::pair<int, int>> FBorrowCounts;

    QImage FBuffer;
    TRawFontCache FRawFonts;
    TSampleCache FSampleCache;
};
