#include "print/sheet_painter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include "app/string_table.h"
#include "fonts/font_list.h"
#include "print/sample_faces.h"

namespace {

const QColor Grey(128, 128, 128);
const QColor Silver(192, 192, 192);

// Whole pixels of `points` at `dpi`, rounded half away from zero.
int PointsToPixels(int points, int dpi)
{
    return static_cast<int>((static_cast<long long>(points) * dpi + 36) / 72);
}

// Draws `text` in `font` with the top of its cell at (x, y).
void DrawCell(QPainter& painter, const QFont& font, const QColor& color, int x, int y,
              const QString& text)
{
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
}

int TextHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

int TextWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

// Division rounding toward minus infinity.
int FloorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

}  // namespace

const char* const TSheetPainter::Credit = "Fonzeta 1.0";

QFont SheetFont(int points, int dpiY)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(PointsToPixels(points, dpiY), 1));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TSheetMetrics MeasureSheet(const QPaintDevice& device, int fontSize)
{
    TSheetMetrics metrics;
    metrics.PageWidth = device.width();
    metrics.PageHeight = device.height();
    metrics.DpiX = device.logicalDpiX();
    metrics.DpiY = device.logicalDpiY();
    metrics.LabelHeight = TextHeight(SheetFont(8, metrics.DpiY));
    metrics.SampleHeight = TextHeight(SheetFont(fontSize, metrics.DpiY));
    return metrics;
}

QString OneLine(const std::string& text)
{
    QString line = QString::fromStdString(text);
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

TSheetPainter::TSheetPainter(const TSheetLayout& layout, const TSheetTexts& texts,
                             const TFontList& fonts, TSampleFaces& faces)
    : FLayout(layout),
      FTexts(texts),
      FFonts(fonts),
      FFaces(faces),
      FLabelFont(SheetFont(8, layout.Metrics().DpiY)),
      FTitleFont(SheetFont(10, layout.Metrics().DpiY)),
      FHeadFont(SheetFont(9, layout.Metrics().DpiY)),
      FSample(OneLine(texts.Sample))
{
}

void TSheetPainter::PaintPage(QPainter& painter, int page) const
{
    painter.save();
    PaintHeader(painter);
    PaintRows(painter, page);
    PaintFooter(painter, page);
    painter.restore();
}

void TSheetPainter::PaintHeader(QPainter& painter) const
{
    const TSheetMetrics& m = FLayout.Metrics();
    const int top = FLayout.TopPx();
    const int right = m.PageWidth - FLayout.RightPx();
    painter.setPen(QPen(Grey, 1));
    painter.drawLine(FLayout.LeftPx(), top - 20, right, top - 20);

    DrawCell(painter, FHeadFont, Qt::black, FLayout.LeftPx() + 4,
             top - TextHeight(FHeadFont) - 28, QStringLiteral("Font List by Fonzeta"));

    // A title wider than the space between the margins is shortened with an ellipsis.
    const int room = std::max(right - FLayout.LeftPx(), 1);
    const QString title =
        QFontMetrics(FTitleFont).elidedText(OneLine(FTexts.Title), Qt::ElideRight, room);
    DrawCell(painter, FTitleFont, ColorToQColor(FTexts.TitleColor),
             FloorHalf(m.PageWidth - TextWidth(FTitleFont, title)),
             top - TextHeight(FTitleFont) - 35, title);

    const QString size = QString::fromStdString(FormatStr("Font Size: %dpt", FTexts.FontSize));
    DrawCell(painter, FLabelFont, Grey, right - TextWidth(FLabelFont, size) - 4,
             top - TextHeight(FLabelFont) - 28, size);
}

void TSheetPainter::PaintRows(QPainter& painter, int page) const
{
    const TSheetMetrics& m = FLayout.Metrics();
    const QColor nameColor = ColorToQColor(FTexts.NameColor);
    const QColor sampleColor = ColorToQColor(FTexts.SampleColor);
    const int left = FLayout.LeftPx();
    const int width = m.PageWidth - FLayout.RightPx() - left;
    for (int row = 0, rows = FLayout.RowCount(page); row < rows; ++row) {
        const int index = FLayout.FontIndex(page, row);
        const TFontInfo* font = FFonts.Fonts(index);
        if (!font)
            break;
        const QString label =
            QString::number(index + 1) + QStringLiteral(". ") + OneLine(font->FullName);
        DrawCell(painter, FLabelFont, nameColor, left, FLayout.LabelTop(row), label);

        painter.save();
        painter.setClipRect(QRect(left, FLayout.RowTop(row), width, m.RowHeight()));
        const TSampleFace& face = FFaces.Face(*font);
        const int x = FLayout.SampleLeft();
        const int y = FLayout.SampleTop(row);
        if (face.Native) {
            DrawCell(painter, face.Font, sampleColor, x, y, FSample);
        } else if (face.Face.IsNull()) {
            // A file that cannot be drawn: the reason stands in for the sample.
            DrawCell(painter, FLabelFont, sampleColor, x, y,
                     QString::fromStdString(face.Face.Problem()));
        } else {
            painter.setPen(sampleColor);
            face.Face.Draw(painter, QPointF(x, y), FSample);
        }
        painter.restore();
    }
}

void TSheetPainter::PaintFooter(QPainter& painter, int page) const
{
    const TSheetMetrics& m = FLayout.Metrics();
    const int y = m.PageHeight - FLayout.BottomPx() + 40;
    DrawCell(painter, FLabelFont, Silver, FLayout.LeftPx(), y, QString::fromLatin1(Credit));
    const QString number =
        QString::fromStdString(FormatStr("%d of %d pages", page + 1, FLayout.Pages()));
    DrawCell(painter, FLabelFont, Grey, FloorHalf(m.PageWidth - TextWidth(FLabelFont, number)), y,
             number);
}
