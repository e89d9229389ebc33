#include "preview/color32.h"

#include <iterator>

#include <QApplication>
#include <QPalette>

namespace {

struct TPaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Palette entry that plays the part of each system colour index in a Qt desktop.
constexpr TPaletteEntry SystemColorEntries[] = {
    {QPalette::Active, QPalette::Button},            // scroll bar
    {QPalette::Active, QPalette::Dark},              // desktop background
    {QPalette::Active, QPalette::Highlight},         // active caption
    {QPalette::Inactive, QPalette::Highlight},       // inactive caption
    {QPalette::Active, QPalette::Window},            // menu
    {QPalette::Active, QPalette::Base},              // window
    {QPalette::Active, QPalette::Shadow},            // window frame
    {QPalette::Active, QPalette::WindowText},        // menu text
    {QPalette::Active, QPalette::Text},              // window text
    {QPalette::Active, QPalette::HighlightedText},   // caption text
    {QPalette::Active, QPalette::Button},            // active border
    {QPalette::Inactive, QPalette::Button},          // inactive border
    {QPalette::Active, QPalette::Dark},              // application work space
    {QPalette::Active, QPalette::Highlight},         // highlight
    {QPalette::Active, QPalette::HighlightedText},   // highlight text
    {QPalette::Active, QPalette::Button},            // button face
    {QPalette::Active, QPalette::Dark},              // button shadow
    {QPalette::Disabled, QPalette::Text},            // grey text
    {QPalette::Active, QPalette::ButtonText},        // button text
    {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    {QPalette::Active, QPalette::Light},             // button highlight
    {QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // tooltip background
    {QPalette::Active, QPalette::Window},            // (unused index)
    {QPalette::Active, QPalette::Link},              // hot-tracked item
    {QPalette::Active, QPalette::Highlight},         // active caption gradient
    {QPalette::Inactive, QPalette::Highlight},       // inactive caption gradient
    {QPalette::Active, QPalette::Highlight},         // menu highlight
    {QPalette::Active, QPalette::Window},            // menu bar
};

}  // namespace

TColor QColorToColor(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return static_cast<TColor>(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
}

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color & 0x00FFFFFF;
    const unsigned index = static_cast<unsigned>(color) & 0xFF;
    if (index >= std::size(SystemColorEntries))
        return clBlack;
    const TPaletteEntry& entry = SystemColorEntries[index];
    return QColorToColor(QApplication::palette().color(entry.group, entry.role));
}

TColor32 Color32(TColor color)
{
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

QColor ColorToQColor(TColor color)
{
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return QColor(rgb & 0xFF, rgb >> 8 & 0xFF, rgb >> 16 & 0xFF);
}
