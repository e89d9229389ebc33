#include "preview/font_list_view.h"

#include <algorithm>

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QThreadPool>
#include <QWheelEvent>

#include "fonts/font_info.h"
#include "fonts/font_list.h"
#include "platform/locale_info.h"

namespace {

// Longest file information text, in characters.
constexpr std::size_t MaxFileInfoLength = 255;

// Adds `amount` to each 8-bit channel of an RGB colour, modulo 256.
TColor AddToChannels(TColor rgb, int amount)
{
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8)
        result |= (((rgb >> shift & 0xFF) + amount) & 0xFF) << shift;
    return result;
}

// Keeps at most `count` characters (code points) of UTF-8 text.
std::string LeadingCharacters(const std::string& text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80 && characters++ == count)
            return text.substr(0, i);
    }
    return text;
}


}  // namespace

TFonzetaFontListView::TFonzetaFontListView(const TPlatform& platform, QWidget* parent)
    : QAbstractScrollArea(parent),
      FPlatform(platform),
      FItems(std::make_unique<TFontList>(platform, false)),
      FSamplePool(QThreadPool::globalInstance())
{
    // Every paint covers all of its area, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &TFonzetaFontListView::ScrollBarAction);
    resize(200, 200);
    FItems->OnChange = [this](TFontList* sender) { ItemsChange(sender); };
    ComputeRows();
    UpdateScrollRange();
}

TFonzetaFontListView::~TFonzetaFontListView()
{
    FItems->OnChange = nullptr;
}

// --- properties --------------------------------------------------------------------------

QFont TFonzetaFontListView::NameFont() const
{
    QFont name(QString::fromLatin1(NameFace), NamePointSize);
    name.setWeight(QFont::Normal);
    name.setStyle(QFont::StyleNormal);
    return name;
}

QFont TFonzetaFontListView::RowHeightFont() const
{
    QFont face = font();
    face.setPointSize(FFontSize);
    return face;
}

int TFonzetaFontListView::NameHeight() const { return QFontMetrics(NameFont()).height(); }

TRowGeometry TFonzetaFontListView::Geometry() const
{
    return {FItemHeight, NameHeight(), viewport()->width(), viewport()->height()};
}

void TFonzetaFontListView::ComputeRows()
{
    FItemHeight = QFontMetrics(RowHeightFont()).height() + 40;
    FPageSize = Geometry().PageSize();
}

void TFonzetaFontListView::UpdateScrollRange()
{
    const int count = FItems->Count();
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(std::max(FPageSize, 1));
    bar->setRange(0, Geometry().MaxTopItem(count));
    // Hidden while one page holds the records and an empty row.
    const bool shown = count > 0 && FPageSize <= count;
    setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TFonzetaFontListView::Repaint() { viewport()->update(); }

void TFonzetaFontListView::RepaintRow(int index)
{
    if (index < FTopItem || index >= FTopItem + FPageSize)
        return;
    const TRowGeometry geometry = Geometry();
    viewport()->update(geometry.RowRect(geometry.RowTop(index, FTopItem)));
}

void TFonzetaFontListView::SetFontSize(int value)
{
    if (value == FFontSize || value < MinFontSize || value > MaxFontSize)
        return;
    FFontSize = value;
    ComputeRows();
    UpdateScrollRange();
    Repaint();
    if (OnChangeFontSize)
        OnChangeFontSize(this);
}

void TFonzetaFontListView::SetFontColor(TColor value)
{
    if (value == FFontColor)
        return;
    FFontColor = value;
    Repaint();
}

void TFonzetaFontListView::SetFontNameColor(TColor value)
{
    if (value == FFontNameColor)
        return;
    FFontNameColor = value;
    Repaint();
}

void TFonzetaFontListView::SetSelColor(TColor value)
{
    if (value == FSelColor)
        return;
    FSelColor = value;
    Repaint();
}

void TFonzetaFontListView::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Repaint();
}

void TFonzetaFontListView::SetText(const std::string& value)
{
    if (value == FText)
        return;
    FText = value;
    FBorrowCounts.clear();
    Repaint();
}

void TFonzetaFontListView::SetFontStyle(TFontStyles value)
{
    if (value == FFontStyle)
        return;
    FFontStyle = value;
    Repaint();
}

void TFonzetaFontListView::SetAntiAlias(bool value)
{
    if (value == FAntiAlias)
        return;
    FAntiAlias = value;
    Repaint();
}

void TFonzetaFontListView::SetShowFileInfo(bool value)
{
    if (value == FShowFileInfo)
        return;
    FShowFileInfo = value;
    Repaint();
}

void TFonzetaFontListView::SetShowBorrowedGlyphs(bool value)
{
    if (value == FShowBorrowedGlyphs)
        return;
    FShowBorrowedGlyphs = value;
    Repaint();
}

void TFonzetaFontListView::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    setFrameStyle(value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

// --- the list --------------------------------------------------------------------------

void TFonzetaFontListView::ItemsChange(TFontList* /*Sender*/)
{
    const int count = FItems->Count();
    UpdateScrollRange();
    if (count == 0) {
        FItemIndex = -1;
        FTopItem = -1;
        Repaint();
    } else if (FItemIndex == -1 || FItemIndex >= count) {
        FItemIndex = 0;
        if (FTopItem != 0)
            SetTopItem(0);
        else
            Repaint();
    } else {
        // The current index stays the same number: after a refill it names whatever record
        // now stands there.
        if (FTopItem > count || FTopItem < 0)
            FTopItem = 0;
        Repaint();
    }
    // The bar follows TopItem also where it was set directly above.
    verticalScrollBar()->setValue(std::max(FTopItem, 0));
    if (OnChange)
        OnChange(this);
    if (OnChangeSelected)
        OnChangeSelected(this);
}

std::string TFonzetaFontListView::ThousandsSeparator() const
{
    if (FPlatform.Locale)
        return FPlatform.Locale->ThousandsSeparator();
    return QLocale().groupSeparator().toStdString();
}

std::string TFonzetaFontListView::FileInfoText(const TFontInfo& font,
                                               const std::string& thousandsSeparator)
{
    const std::size_t slash = font.FileName.find_last_of('/');
    const std::string name =
        slash == std::string::npos ? font.FileName : font.FileName.substr(slash + 1);
    const uint64_t kilobytes = font.FileSize > 0 ? static_cast<uint64_t>(font.FileSize) / 1024 : 0;
    const std::string digits = std::to_string(kilobytes);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += thousandsSeparator;
        grouped += digits[i];
    }
    return LeadingCharacters(name + " (" + grouped + " KB)", MaxFileInfoLength);
}

std::string TFonzetaFontListView::RowInfoText(const TFontInfo& font)
{
    std::string info = FileInfoText(font, ThousandsSeparator());
    const std::string key = font.FileName + '\n' + std::to_string(font.FaceIndex);
    auto counts = FBorrowCounts.find(key);
    if (counts == FBorrowCounts.end())
        counts = FBorrowCounts
                     .emplace(key, SampleFace(font).BorrowedCount(QString::fromStdString(FText)))
                     .first;
    const auto [characters, borrowed] = counts->second;
    if (borrowed > 0)
        info = LeadingCharacters(info + ", " + std::to_string(borrowed) + " of " +
                                     std::to_string(characters) + " characters borrowed",
                                 MaxFileInfoLength);
    return info;
}

// --- navigation --------------------------------------------------------------------------

void TFonzetaFontListView::SetItemIndex(int value)
{
    if (value == FItemIndex)
        return;
    const int old = FItemIndex;
    FItemIndex = value;
    if (FItemIndex < 0)
        FItemIndex = 0;
    if (FItemIndex > FItems->Count() - 1)
        FItemIndex = FItems->Count() - 1;
    if (FItemIndex < FTopItem) {
        FTopItem = -1;
        SetTopItem(FItemIndex);
        return;
    }
    const TRowGeometry geometry = Geometry();
    if (FItemIndex < FTopItem + FPageSize - geometry.PartialRow()) {
        if (FItemIndex == old)
            return;
        RepaintRow(old);
        RepaintRow(FItemIndex);
    } else {
        FTopItem = -1;
        SetTopItem(FItemIndex - FPageSize + 1 + geometry.ScrollInShift());
    }
}

void TFonzetaFontListView::SetTopItem(int value)
{
    if (value == FTopItem)
        return;
    FTopItem = value;
    const int largest = FItems->Count() - FPageSize + 1;
    if (FTopItem > largest)
        FTopItem = largest;
    if (FTopItem < 0)
        FTopItem = 0;
    verticalScrollBar()->setValue(FTopItem);
    Repaint();
}

int TFonzetaFontListView::GetItemAt(int x, int y) const
{
    return Geometry().ItemAt(x, y, FTopItem, FItems->Count());
}

void TFonzetaFontListView::SelectAll()
{
    bool anyMarked = false;
    for (int i = 0; i < FItems->Count() && !anyMarked; ++i)
        anyMarked = FItems->Fonts(i)->Selected;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Fonts(i)->Selected = !anyMarked;
    Repaint();
    if (OnChangeSelected)
        OnChangeSelected(this);
}

void TFonzetaFontListView::InvertSelection()
{
    for (int i = 0; i < FItems->Count(); ++i) {
        TFontInfo* font = FItems->Fonts(i);
        font->Selected = !font->Selected;
    }
    Repaint();
    if (OnChangeSelected)
        OnChangeSelected(this);
}

void TFonzetaFontListView::WMVScroll(TScrollCode code, int position)
{
    int top = verticalScrollBar()->value();
    switch (code) {
    case scLineUp:
        --top;
        break;
    case scLineDown:
        ++top;
        break;
    case scPageUp:
        top -= FPageSize;
        break;
    case scPageDown:
        top += FPageSize;
        break;
    case scThumbPosition:
    case scThumbTrack:
        top = position;
        break;
    case scTop:
        top = 0;
        break;
    case scBottom:
        top = FItems->Count() - 1;
        break;
    case scEndScroll:
        return;
    }
    top = std::min(top, FItems->Count() - 1);
    top = std::max(top, 0);
    SetTopItem(top);
}

void TFonzetaFontListView::ScrollBarAction(int action)
{
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        WMVScroll(scLineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        WMVScroll(scLineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        WMVScroll(scPageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        WMVScroll(scPageDown);
        break;
    case QAbstractSlider::SliderMove:
        WMVScroll(scThumbTrack, bar->sliderPosition());
        break;
    case QAbstractSlider::SliderToMinimum:
        WMVScroll(scTop);
        break;
    case QAbstractSlider::SliderToMaximum:
        WMVScroll(scBottom);
        break;
    default:
        WMVScroll(scEndScroll);
        return;
    }
    // The bar applies its own step after this signal; it is told where the list went instead.
    bar->setSliderPosition(std::max(FTopItem, 0));
}

void TFonzetaFontListView::scrollContentsBy(int, int)
{
    // SetTopItem repaints; the bar's value only mirrors TopItem.
}

// --- keys and mouse ------------------------------------------------------------------------

void TFonzetaFontListView::KeyDown(int key, Qt::KeyboardModifiers shift)
{
    const int count = FItems->Count();
    const int old = FItemIndex;
    const Qt::KeyboardModifiers chord =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    TFontInfo* current = FItems->Fonts(FItemIndex);
    if (chord == Qt::ShiftModifier) {
        if (key == Qt::Key_Up && FItemIndex > 0 && current) {
            current->Selected = true;
            FItems->Fonts(FItemIndex - 1)->Selected = true;
            SetItemIndex(FItemIndex - 1);
            if (OnChangeSelected)
                OnChangeSelected(this);
        } else if (key == Qt::Key_Down && FItemIndex + 1 < count && current) {
            current->Selected = true;
            FItems->Fonts(FItemIndex + 1)->Selected = true;
            SetItemIndex(FItemIndex + 1);
            if (OnChangeSelected)
                OnChangeSelected(this);
        }
    } else if (chord == Qt::NoModifier) {
        const bool keypad = shift.testFlag(Qt::KeypadModifier);
        switch (key) {
        case Qt::Key_Space:
            if (current) {
                current->Selected = !current->Selected;
                if (OnChangeSelected)
                    OnChangeSelected(this);
            }
            SetItemIndex(FItemIndex + 1);
            if (FItemIndex == old)
                RepaintRow(FItemIndex);
            break;
        case Qt::Key_Down:
            SetItemIndex(FItemIndex + 1);
            break;
        case Qt::Key_Up:
            SetItemIndex(FItemIndex - 1);
            break;
        case Qt::Key_PageDown:
            SetItemIndex(FItemIndex + FPageSize - 1);
            break;
        case Qt::Key_PageUp:
            SetItemIndex(FItemIndex - (FPageSize - 1));
            break;
        case Qt::Key_End:
            SetItemIndex(count - 1);
            break;
        case Qt::Key_Home:
            SetItemIndex(0);
            break;
        case Qt::Key_Plus:
            if (keypad)
                SetFontSize(FFontSize + 1);
            break;
        case Qt::Key_Minus:
            if (keypad)
                SetFontSize(FFontSize - 1);
            break;
        default:
            break;
        }
    }
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TFonzetaFontListView::keyPressEvent(QKeyEvent* event)
{
    // An empty list takes no keys: they go on to the parent, and no OnKeyDown is raised.
    if (FItems->Count() == 0) {
        event->ignore();
        return;
    }
    KeyDown(event->key(), event->modifiers());
    event->accept();
}

void TFonzetaFontListView::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                     int y)
{
    setFocus(Qt::MouseFocusReason);
    const int index = GetItemAt(x, y);
    if (index != -1) {
        if (shift.testFlag(Qt::ControlModifier) && index < FItems->Count()) {
            TFontInfo* font = FItems->Fonts(index);
            font->Selected = !font->Selected;
            if (OnChangeSelected)
                OnChangeSelected(this);
        }
        if (index == FItemIndex)
            RepaintRow(index);
        else
            SetItemIndex(index);
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TFonzetaFontListView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TFonzetaFontListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is also a press, as the first click of the pair was.
    if (OnDblClick)
        OnDblClick(this);
    const QPoint at = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TFonzetaFontListView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, event->buttons(), event->modifiers(), at.x(), at.y());
}

void TFonzetaFontListView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TFonzetaFontListView::wheelEvent(QWheelEvent* event)
{
    // The list has no wheel scrolling of its own: its owner decides what a wheel turn does.
    // A sideways turn or swipe (no vertical part) is not a turn up or down: it goes on to the
    // parent untouched.
    if (event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, event->modifiers(), event->angleDelta().y(),
                     event->position().toPoint(), handled);
    event->setAccepted(handled);
}

void TFonzetaFontListView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Repaint();
}

void TFonzetaFontListView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Repaint();
}

void TFonzetaFontListView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ComputeRows();
    UpdateScrollRange();
}

void TFonzetaFontListView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The row height follows the widget's font; fallback glyphs may come from it too.
        FSampleCache.Clear();
        ComputeRows();
        UpdateScrollRange();
        Repaint();
    } else if (event->type() == QEvent::PaletteChange) {
        Repaint();
    }
}

// --- painting ------------------------------------------------------------------------------

TColor32 TFonzetaFontListView::BandColor() const
{
    return Color32(AddToChannels(ColorToRGB(FColor), hasFocus() ? 196 : 236));
}

void TFonzetaFontListView::DrawOpaqueText(QPainter& painter, const QRect& rect,
                                          const QString& text, const QColor& pen,
                                          const QColor& brush)
{
    if (rect.isEmpty() || text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const int flags = Qt::AlignLeft | Qt::AlignTop;
    const QSize cell = painter.fontMetrics().size(flags, text);
    painter.fillRect(QRect(rect.topLeft(), cell), brush);
    painter.setPen(pen);
    painter.drawText(rect, flags, text);
    painter.restore();
}

void TFonzetaFontListView::DrawItem(QPainter& canvas, int index, int top, bool erase)
{
    const TFontInfo* font = FItems->Fonts(index);
    if (!font)
        return;
    const QFont nameFont = NameFont();
    const QFontMetrics nameMetrics(nameFont);
    const TRowGeometry geometry(FItemHeight, nameMetrics.height(), viewport()->width(),
                                viewport()->height());
    const QColor background = ColorToQColor(FColor);
    if (erase)
        canvas.fillRect(geometry.EraseRect(top), background);

    QColor brush = background;
    if (index == FItemIndex) {
        brush = QColor::fromRgb(BandColor());
        canvas.fillRect(geometry.BandRect(top), brush);
    }
    const TColor nameColor = font->Selected ? FSelColor
                             : index == FItemIndex ? FColor
                                                   : FFontNameColor;
    canvas.setFont(nameFont);
    DrawOpaqueText(canvas, geometry.NameRect(top), QString::fromStdString(font->FullName),
                   ColorToQColor(nameColor), brush);

    if (FShowFileInfo && !font->FileName.empty()) {
        const TColor infoColor =
            index == FItemIndex ? FColor : AddToChannels(ColorToRGB(FColor), 176);
        const QString info = QString::fromStdString(RowInfoText(*font));
        DrawOpaqueText(canvas, geometry.FileInfoRect(top, nameMetrics.horizontalAdvance(info)),
                       info, ColorToQColor(infoColor), brush);
    }

    DrawSample(canvas, *font, geometry, top);

    canvas.fillRect(QRect(0, geometry.SeparatorY(top), geometry.ClientWidth(), 1),
                    QColor(128, 128, 128));
}

TTextFace TFonzetaFontListView::SampleFace(const TFontInfo& font)
{
    return RecordFace(FRawFonts, font, FFontSize * TTextFace::PixelsPerPoint(), FFontStyle,
                      this->font());
}

QRect TFonzetaFontListView::SampleArea(const TRowGeometry& geometry, int top) const
{
    return FAntiAlias ? geometry.AntiAliasRect(top) : geometry.PlainSampleRect(top);
}

TSampleKey TFonzetaFontListView::SampleKey(const TFontInfo& font, const QRect& area) const
{
    TSampleKey key;
    key.FileName = font.FileName;
    key.FaceIndex = font.FaceIndex;
    key.FileSize = font.FileSize;
    key.FaceName = font.FullName;
    key.FontSize = FFontSize;
    key.Style = static_cast<int>(FFontStyle);
    key.FontColor = ColorToRGB(FFontColor);
    key.Color = ColorToRGB(FColor);
    key.Text = FText;
    key.Width = area.width();
    key.Height = area.height();
    key.AntiAlias = FAntiAlias;
    key.ShowBorrowed = FShowBorrowedGlyphs;
    key.Scale = FDeviceScale;
    return key;
}

TSampleJob TFonzetaFontListView::SampleJob(const TFontInfo& font, const QRect& area)
{
    TSampleJob job;
    job.Face = SampleFace(font);
    job.Text = QString::fromStdString(FText);
    job.Size = area.size();
    job.Scale = FDeviceScale;
    job.Background = ColorToQColor(FColor).rgb();
    job.Color = ColorToQColor(FFontColor).rgb();
    if (FShowBorrowedGlyphs)
        job.Borrowed = QColor::fromRgba(BorrowedGlyphColor);
    job.ProblemColor = Color32(AddToChannels(ColorToRGB(FColor), 128));
    job.AntiAlias = FAntiAlias;
    return job;
}

void TFonzetaFontListView::PrepareSamples(int first, int last)
{
    const TRowGeometry geometry = Geometry();
    std::vector<TSampleKey> keys;
    std::vector<TSampleJob> jobs;
    for (int i = first; i <= last; ++i) {
        const TFontInfo* font = FItems->Fonts(i);
        const QRect area = SampleArea(geometry, geometry.RowTop(i, FTopItem));
        if (!font || area.isEmpty())
            continue;
        TSampleKey key = SampleKey(*font, area);
        if (!FSampleCache.Find(key).isNull())
            continue;
        jobs.push_back(SampleJob(*font, area));
        keys.push_back(std::move(key));
    }
    if (jobs.empty())
        return;
    const std::vector<QImage> images = RenderSamples(jobs, FSamplePool);
    for (std::size_t i = 0; i < images.size(); ++i)
        if (!images[i].isNull())
            FSampleCache.Insert(keys[i], TSampleCache::Cropped(images[i], jobs[i].Background));
}

void TFonzetaFontListView::DrawSample(QPainter& canvas, const TFontInfo& font,
                                      const TRowGeometry& geometry, int top)
{
    const QRect area = SampleArea(geometry, top);
    if (area.isEmpty())
        return;
    const TSampleKey key = SampleKey(font, area);
    const QColor background = ColorToQColor(FColor);
    QImage image = FSampleCache.Find(key);
    if (image.isNull()) {
        image = TSampleCache::Cropped(RenderSample(SampleJob(font, area)), background.rgb());
        FSampleCache.Insert(key, image);
    }
    canvas.drawImage(area.topLeft(), image);
    // Right of the stored image the sample is plain background.
    const int stored = qRound(image.width() / image.devicePixelRatio());
    if (stored < area.width())
        canvas.fillRect(QRect(area.left() + stored, area.top(), area.width() - stored,
                              area.height()),
                        background);
}

void TFonzetaFontListView::PaintEmpty(QPainter& painter) const
{
    painter.fillRect(Geometry().ClientRect(), ColorToQColor(FColor));
    const QFont face(QString::fromLatin1(NameFace), EmptyTextPointSize);
    painter.setFont(face);
    painter.setPen(ColorToQColor(clWindowText));
    painter.drawText(QPoint(10, 10 + QFontMetrics(face).ascent()),
                     QString::fromStdString(EmptyText));
}

void TFonzetaFontListView::PaintRegion(QImage& buffer, const QRegion& region)
{
    const QRect client = viewport()->rect();
    const bool full = (QRegion(client) - region).isEmpty();
    QPainter canvas(&buffer);
    if (FItems->Count() == 0 || FTopItem == -1) {
        canvas.setClipRegion(region);
        PaintEmpty(canvas);
        return;
    }
    if (full)
        ComputeRows();
    const TRowGeometry geometry = Geometry();
    const int last = std::min(FItems->Count(), FTopItem + FPageSize) - 1;
    const QColor background = ColorToQColor(FColor);
    const QRect bounds = region.boundingRect();
    PrepareSamples(FTopItem + bounds.top() / geometry.ItemHeight(),
                   std::min(last, FTopItem + bounds.bottom() / geometry.ItemHeight()));
    for (const QRect& rect : region) {
        canvas.setClipRect(rect);
        canvas.fillRect(rect, background);
        const int first = FTopItem + rect.top() / geometry.ItemHeight();
        const int below = std::min(last, FTopItem + rect.bottom() / geometry.ItemHeight());
        for (int i = first; i <= below; ++i) {
            const int top = geometry.RowTop(i, FTopItem);
            // A row repainted on its own is cut at its edges, the anti-aliased bitmap's reach
            // into the next row included; a full paint draws the rows top to bottom, each
            // over the reach of the one above.
            if (!full)
                canvas.setClipRect(rect & geometry.RowRect(top));
            DrawItem(canvas, i, top, !full);
        }
    }
}

QImage TFonzetaFontListView::PaintImage(qreal scale)
{
    const QRect client = viewport()->rect();
    QImage image(QSize(qRound(client.width() * scale), qRound(client.height() * scale)),
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(scale);
    const qreal screen = FDeviceScale;
    FDeviceScale = scale;
    PaintRegion(image, QRegion(client));
    FDeviceScale = screen;
    return image;
}

void TFonzetaFontListView::paintEvent(QPaintEvent* event)
{
    // While the list is in an update what is on the screen stays.
    if (FItems->Updating())
        return;
    const QRect client = viewport()->rect();
    const QRegion region = event->region() & client;
    if (region.isEmpty())
        return;
    // The samples are drawn at the resolution of the screen the list is on; row geometry
    // stays in logical pixels.
    const qreal scale = std::max<qreal>(viewport()->devicePixelRatioF(), 1);
    FDeviceScale = scale;
    const QSize device(qRound(client.width() * scale), qRound(client.height() * scale));
    if (FBuffer.size() != device || FBuffer.devicePixelRatio() != scale) {
        FBuffer = QImage(device, QImage::Format_RGB32);
        FBuffer.setDevicePixelRatio(scale);
    }
    if (FBuffer.isNull())
        return;
    PaintRegion(FBuffer, region);
    QPainter window(viewport());
    for (const QRect& rect : region)
        window.drawImage(QRectF(rect), FBuffer,
                         QRectF(rect.x() * scale, rect.y() * scale, rect.width() * scale,
                                rect.height() * scale));
}
