#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <string>

// A widget's pixels read in logical coordinates, at whatever scale the tests run (they run
// at 1 and again at 2): a logical pixel is a Scale × Scale block of device pixels.
struct Shot {
    QImage Image;
    int Scale = 1;

    explicit Shot(const QPixmap& pixmap)
        : Image(pixmap.toImage().convertToFormat(QImage::Format_RGB32)),
          Scale(qRound(pixmap.devicePixelRatio()))
    {
    }
    // The widget alone, or `area` of it (a parent's region shows what lies around a child).
    explicit Shot(QWidget& widget, const QRect& area = QRect(QPoint(0, 0), QSize(-1, -1)))
        : Shot(widget.grab(area))
    {
    }

    int Width() const { return Image.width() / Scale; }
    int Height() const { return Image.height() / Scale; }

    QColor At(int x, int y) const { return QColor(Image.pixel(x * Scale, y * Scale)); }

    // The colour of logical pixel (x, y) when all its device pixels agree, else "mixed";
    // as a name so that a failing comparison shows both colours.
    std::string Solid(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= Width() || y >= Height())
            return "outside";
        const QRgb first = Image.pixel(x * Scale, y * Scale);
        for (int dy = 0; dy < Scale; ++dy)
            for (int dx = 0; dx < Scale; ++dx)
                if (Image.pixel(x * Scale + dx, y * Scale + dy) != first)
                    return "mixed";
        return QColor(first).name().toStdString();
    }

    // How many logical pixels of `area` have a device pixel matching `test`.
    template <typename Test>
    int Count(const QRect& area, Test test) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                bool hit = false;
                for (int dy = 0; dy < Scale && !hit; ++dy)
                    for (int dx = 0; dx < Scale && !hit; ++dx)
                        hit = test(QColor(Image.pixel(x * Scale + dx, y * Scale + dy)));
                n += hit;
            }
        return n;
    }
};

inline std::string Name(const QColor& color)
{
    return color.name().toStdString();
}

inline bool IsDark(const QColor& c)
{
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}

inline bool IsGrey(const QColor& c)
{
    return c.red() == c.green() && c.green() == c.blue();
}
