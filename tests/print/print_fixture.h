#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QRect>

#include "fonts/font_info.h"
#include "fonts/font_list.h"
#include "fonts/naming_table.h"
#include "support/sandbox.h"

namespace fonzeta::test {

// A record read from a font file, as a listing makes it.
inline std::unique_ptr<TFontInfo> FontRecord(const std::string& path)
{
    auto font = std::make_unique<TFontInfo>();
    ReadNamingTable(*font, path, 0x0409);
    return font;
}

// A white image with the given resolution, standing in for a printer's page.
inline QImage PageImage(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int perMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(perMeter);
    image.setDotsPerMeterY(perMeter);
    return image;
}

// Bounding box of the pixels inside `area` that `match` accepts; null when there is none.
template <typename TMatch>
QRect InkBox(const QImage& image, QRect area, TMatch match)
{
    area = area.intersected(image.rect());
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline bool NotWhite(const QColor& c)
{
    return c.red() < 250 || c.green() < 250 || c.blue() < 250;
}

// A pixel of `hue` or an anti-aliased shade of it over white: the channels that are 0 in
// `hue` stay below the others.
inline auto Tinted(const QColor& hue)
{
    return [hue](const QColor& c) {
        if (!NotWhite(c))
            return false;
        const int channels[3] = {c.red(), c.green(), c.blue()};
        const int wanted[3] = {hue.red(), hue.green(), hue.blue()};
        int lowMax = -1;
        int highMin = 256;
        for (int i = 0; i < 3; ++i) {
            if (wanted[i] == 0)
                lowMax = std::max(lowMax, channels[i]);
            else
                highMin = std::min(highMin, channels[i]);
        }
        return lowMax >= 0 && highMin <= 255 && highMin - lowMax > 40;
    };
}

}  // namespace fonzeta::test
